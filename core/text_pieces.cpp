#include "core/text_pieces.h"

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string_view NextLine(std::string_view bytes, size_t& position) {
  const size_t start = position;
  size_t end = start;
  while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
  if (end == bytes.size()) {
    position = bytes.size();
    return bytes.substr(start);
  }
  position = end + 1;
  if (bytes[end] == '\r' && position < bytes.size() && bytes[position] == '\n') ++position;
  return bytes.substr(start, end - start);
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t position = 0;
  while (position < bytes.size()) lines.push_back(NextLine(bytes, position));
  return lines;
}

std::vector<std::string_view> SplitAt(std::string_view text, char delimiter) {
  std::vector<std::string_view> pieces;
  while (true) {
    const size_t at = text.find(delimiter);
    if (at == std::string_view::npos) {
      pieces.push_back(text);
      return pieces;
    }
    pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
}
