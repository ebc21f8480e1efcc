#include "exchange/odbc_parameter_parser.h"

namespace {

bool EndsName(char character) {
  return character == '\n' || character == '\r' || character == ' ' || character == ')' || character == ',' ||
         character == ';';
}

bool IsQuote(char character) { return character == '\'' || character == '"'; }

}  // namespace

TParsedStatement ParseStatementParameters(std::string_view text) {
  TParsedStatement parsed;
  parsed.DriverText.reserve(text.size());
  char open_quote = 0;
  size_t position = 0;
  while (position < text.size()) {
    const char character = text[position];
    if (open_quote != 0) {
      if (character == open_quote) open_quote = 0;
      parsed.DriverText += character;
      ++position;
      continue;
    }
    if (IsQuote(character)) {
      open_quote = character;
      parsed.DriverText += character;
      ++position;
      continue;
    }
    if (character != ':') {
      parsed.DriverText += character;
      ++position;
      continue;
    }
    if (position + 1 < text.size() && text[position + 1] == ':') {
      parsed.DriverText += ':';
      position += 2;
      continue;
    }
    size_t name_start = position + 1;
    size_t name_end = name_start;
    size_t next = name_start;
    if (name_start < text.size() && IsQuote(text[name_start])) {
      const char name_quote = text[name_start];
      ++name_start;
      name_end = text.find(name_quote, name_start);
      if (name_end == std::string_view::npos) name_end = text.size();
      next = name_end < text.size() ? name_end + 1 : name_end;
    } else {
      while (name_end < text.size() && !EndsName(text[name_end])) ++name_end;
      next = name_end;
    }
    if (name_end == name_start && next == name_start) {
      parsed.DriverText += ':';
      ++position;
      continue;
    }
    parsed.Names.emplace_back(text.substr(name_start, name_end - name_start));
    parsed.DriverText += '?';
    position = next;
  }
  return parsed;
}
