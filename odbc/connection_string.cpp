#include "odbc/connection_string.h"

#include <cctype>

#include "odbc/driver_error.h"

namespace {

std::string Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return std::string(text);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

ConnectionAttributes ParseConnectionString(std::string_view text) {
  ConnectionAttributes attributes;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t equals = text.find('=', pos);
    const size_t semicolon = text.find(';', pos);
    if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
      const std::string rest =
          Trimmed(text.substr(pos, semicolon == std::string_view::npos ? text.npos : semicolon - pos));
      if (!rest.empty()) throw DriverError("08001", "Invalid connection string attribute: \"" + rest + "\"");
      if (semicolon == std::string_view::npos) break;
      pos = semicolon + 1;
      continue;
    }
    const std::string key = Upper(Trimmed(text.substr(pos, equals - pos)));
    size_t value_start = equals + 1;
    while (value_start < text.size() && text[value_start] == ' ') ++value_start;
    std::string value;
    if (value_start < text.size() && text[value_start] == '{') {
      const size_t close = text.find('}', value_start + 1);
      if (close == std::string_view::npos)
        throw DriverError("08001", "Unclosed brace in the connection string after " + key);
      value = std::string(text.substr(value_start + 1, close - value_start - 1));
      const size_t next = text.find(';', close);
      pos = next == std::string_view::npos ? text.size() : next + 1;
    } else {
      const size_t end = text.find(';', value_start);
      value = Trimmed(text.substr(value_start, end == std::string_view::npos ? text.npos : end - value_start));
      pos = end == std::string_view::npos ? text.size() : end + 1;
    }
    if (!key.empty()) attributes[key] = value;
  }
  return attributes;
}
