#include "tools/semicolon_file.h"

#include <algorithm>

namespace {

// The next line from `position` on, without its end; `position` moves past the end.
std::string_view NextLine(std::string_view bytes, size_t& position) {
  const size_t start = position;
  const size_t end = bytes.find_first_of("\r\n", start);
  if (end == std::string_view::npos) {
    position = bytes.size();
    return bytes.substr(start);
  }
  position = end + 1;
  if (bytes[end] == '\r' && position < bytes.size() && bytes[position] == '\n') ++position;
  return bytes.substr(start, end - start);
}

std::vector<std::string> SplitValues(std::string_view line) {
  std::vector<std::string> values;
  size_t start = 0;
  while (start <= line.size()) {
    const size_t end = line.find(';', start);
    if (end == std::string_view::npos) {
      if (start < line.size()) values.emplace_back(line.substr(start));
      break;
    }
    values.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return values;
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
