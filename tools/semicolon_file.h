// Semicolon files of handheld records (what `handheld dump` writes and `handheld load` reads):
// a header line of field names, then one line per record, each value followed by ';'.
// Windows-1251 text, lines ended by CR LF, LF or CR; values are neither quoted nor escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exceptions.h"

class ESemicolonFileError : public Exception {
 public:
  using Exception::Exception;
};

struct TSemicolonRow {
  size_t line = 0;  // 1-based line number in the file
  std::vector<std::string> values;
};

struct TSemicolonFile {
  std::vector<std::string> header;
  std::vector<TSemicolonRow> rows;
};

// Parses the bytes of a file. Double quotes are removed from the header; a ';' ending a line
// does not start another value; empty lines are skipped; a line with fewer values than the header
// leaves the rest empty. Throws ESemicolonFileError "<file>:<line>: ..." for an empty file or
// a line with more values than the header has names.
TSemicolonFile ParseSemicolonFile(std::string_view bytes, const std::string& file_name);

// One line of values, each followed by ';' (the header line has no ';' after its last name).
std::string SemicolonLine(const std::vector<std::string>& values, bool is_header);
