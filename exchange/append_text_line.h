// AppendTextLine: writes the header line of an outgoing text file before the text table loads it.
// The line goes at the end of an existing file, or makes a new file; errors are ignored.
#pragma once

#include <string>
#include <string_view>

// Appends line and CR LF to the file at path (created when missing); an existing file whose name
// differs only in case is the one appended to. An empty path does nothing;
// a file that cannot be opened or written is left as it is, without an error.
void AppendTextLine(const std::string& path, std::string_view line);
