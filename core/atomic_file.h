// Whole-file reads and writes. A write goes to a temporary file beside the target, is flushed
// to disk and renamed over it: a reader sees the old file or the new one, never half of one.
#pragma once

#include <string>
#include <string_view>

// Throws Exception naming the path and the system's reason.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// Throws Exception naming the path and the system's reason, ENotRegularFile (core/regular_file.h)
// for a FIFO, directory or device, which it never waits on.
std::string ReadWholeFile(const std::string& path);
