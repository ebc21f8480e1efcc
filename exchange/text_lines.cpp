#include "exchange/text_lines.h"

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::vector<std::string> ParseHeaderNames(std::string_view header, char delimiter) {
  std::string text;
  text.reserve(header.size());
  for (char c : header) {
    if (c != '"') text.push_back(c);
  }
  if (!text.empty() && text.back() == delimiter) text.pop_back();
  std::vector<std::string> names;
  if (text.empty()) return names;
  size_t start = 0;
  while (true) {
    const size_t at = text.find(delimiter, start);
    if (at == std::string::npos) {
      names.push_back(text.substr(start));
      return names;
    }
    names.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}
