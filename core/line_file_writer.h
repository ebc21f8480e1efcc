// A text file written line by line through a buffer of a megabyte: each line goes out followed
// by CR LF, and the file replaces its target atomically on Commit (TAtomicFileWriter's rules).
#pragma once

#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "core/text_buffer.h"

class TLineFileWriter {
 public:
  explicit TLineFileWriter(std::string path);

  void WriteLine(std::string_view line);
  // Room for a line of up to `size` bytes, to be written in place and ended by EndLine.
  char* LineRoom(size_t size);
  // Ends the line written into LineRoom at `end`.
  void EndLine(char* end);
  void Commit();

 private:
  static constexpr size_t kPieceSize = size_t{1} << 20;
  void Flush();

  TAtomicFileWriter file_;
  TTextBuffer piece_;
};
