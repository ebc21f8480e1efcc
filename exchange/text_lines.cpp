#include "exchange/text_lines.h"

#include "core/text_pieces.h"

std::vector<std::string> ParseHeaderNames(std::string_view header, char delimiter) {
  std::string text;
  text.reserve(header.size());
  for (char c : header) {
    if (c != '"') text.push_back(c);
  }
  if (!text.empty() && text.back() == delimiter) text.pop_back();
  if (text.empty()) return {};
  const std::vector<std::string_view> names = SplitAt(text, delimiter);
  return {names.begin(), names.end()};
}
