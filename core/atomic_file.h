// Whole-file reads and writes. A write goes to a temporary file beside the target, is flushed
// to disk and renamed over it: a reader sees the old file or the new one, never half of one.
#pragma once

#include <string>
#include <string_view>

// Throws Exception naming the path and the system's reason.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// The same for a file written in pieces: they go to the temporary file, which Commit flushes and
// renames over the target. Without Commit (an error on the way) the temporary file is removed
// and the target stays as it was.
class TAtomicFileWriter {
 public:
  explicit TAtomicFileWriter(std::string path);
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
  ~TAtomicFileWriter();

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Throws Exception naming the path and the system's reason, ENotRegularFile (core/regular_file.h)
// for a FIFO, directory or device, which it never waits on.
std::string ReadWholeFile(const std::string& path);
