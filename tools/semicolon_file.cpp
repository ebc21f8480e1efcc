#include "tools/semicolon_file.h"

#include <algorithm>

#include "core/text_pieces.h"

namespace {

// The values of a line: a ';' at its end closes the last value rather than opening another.
std::vector<std::string> SplitValues(std::string_view line) {
  if (line.empty()) return {};
  if (line.back() == ';') line.remove_suffix(1);
  const std::vector<std::string_view> values = SplitAt(line, ';');
  return {values.begin(), values.end()};
}

}  // namespace

TSemicolonFile ParseSemicolonFile(std::string_view bytes, const std::string& file_name) {
  TSemicolonFile file;
  size_t position = 0;
  std::string header(NextLine(bytes, position));
  header.erase(std::remove(header.begin(), header.end(), '"'), header.end());
  if (header.empty()) throw ESemicolonFileError(file_name + ":1: the header line of field names is empty");
  file.header = SplitValues(header);

  for (size_t line_number = 2; position < bytes.size(); ++line_number) {
    const std::string_view line = NextLine(bytes, position);
    if (line.empty()) continue;
    TSemicolonRow row{line_number, SplitValues(line)};
    if (row.values.size() > file.header.size()) {
      throw ESemicolonFileError(file_name + ":" + std::to_string(line_number) + ": " +
                                std::to_string(row.values.size()) + " values for " +
                                std::to_string(file.header.size()) + " field names");
    }
    row.values.resize(file.header.size());
    file.rows.push_back(std::move(row));
  }
  return file;
}

std::string SemicolonLine(const std::vector<std::string>& values, bool is_header) {
  std::string line;
  for (size_t i = 0; i < values.size(); ++i) {
    if (is_header && i > 0) line += ';';
    line += values[i];
    if (!is_header) line += ';';
  }
  return line;
}
