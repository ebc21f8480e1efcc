#include "core/text_pieces.h"

#include <cstring>

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t first = 0, end = text.size();
  while (first < end && blank(text[first])) ++first;
  if (first == end) return {};
  while (blank(text[end - 1])) --end;
  return text.substr(first, end - first);
}

std::string_view NextLine(std::string_view bytes, size_t& position) {
  const char* begin = bytes.data() + position;
  const size_t rest = bytes.size() - position;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', rest));
  const size_t before_lf = lf != nullptr ? static_cast<size_t>(lf - begin) : rest;
  const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', before_lf));
  const size_t length = cr != nullptr ? static_cast<size_t>(cr - begin) : before_lf;
  if (length == rest) {
    position = bytes.size();
    return {begin, rest};
  }
  position += length + 1;
  if (cr != nullptr && position < bytes.size() && bytes[position] == '\n') ++position;
  return {begin, length};
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
