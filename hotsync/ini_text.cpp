#include "hotsync/ini_text.h"

#include "hotsync/host_errors.h"

namespace {

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

[[noreturn]] void FailAt(const std::string& file_name, int line, const std::string& reason) {
  throw EHotSyncFileError(file_name + ", line " + std::to_string(line) + ": " + reason);
}

void CheckStorable(std::string_view text, std::string_view what) {
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    throw EHotSyncRequestError(std::string(what) + " may not hold a line break: " + std::string(text));
  }
}

}  // namespace

std::optional<std::string> TIniSection::Find(std::string_view key) const {
  for (const auto& [name, value] : Values) {
    if (name == key) return value;
  }
  return std::nullopt;
}

std::vector<TIniSection> ParseIniText(std::string_view text, const std::string& file_name) {
  std::vector<TIniSection> sections;
  int line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = WithoutLineEnd(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.size() < 2 || line.back() != ']') FailAt(file_name, line_number, "section header without ']'");
      sections.push_back({std::string(line.substr(1, line.size() - 2)), {}, line_number});
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) FailAt(file_name, line_number, "expected \"key=value\" or \"[section]\"");
    if (equals == 0) FailAt(file_name, line_number, "empty key");
    if (sections.empty()) FailAt(file_name, line_number, "value before the first section");
    sections.back().Values.emplace_back(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
  }
  return sections;
}

std::string FormatIniText(const std::vector<TIniSection>& sections) {
  std::string text;
  for (const auto& section : sections) {
    CheckStorable(section.Name, "A section name");
    text += '[' + section.Name + "]\n";
    for (const auto& [key, value] : section.Values) {
      CheckStorable(key, "A key");
      CheckStorable(value, "A value");
      if (key.empty() || key.find('=') != std::string::npos || key.front() == '[' || key.front() == ';') {
        throw EHotSyncRequestError("Not a storable key: " + key);
      }
      text += key + '=' + value + '\n';
    }
  }
  return text;
}
