#include "session/ini_file.h"

#include <filesystem>
#include <system_error>

#include "core/atomic_file.h"
#include "core/collation.h"
#include "core/text_conversions.h"
#include "core/text_pieces.h"

namespace {

// One line of the text: [begin, content_end) is its content without the line break,
// next is where the following line begins.
struct TLine {
  size_t begin;
  size_t content_end;
  size_t next;
};

TLine LineAt(std::string_view text, size_t begin) {
  const size_t feed = text.find('\n', begin);
  const size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
  size_t content_end = feed == std::string_view::npos ? text.size() : feed;
  if (content_end > begin && text[content_end - 1] == '\r') --content_end;
  return {begin, content_end, next};
}

// The section name of a "[name]" line, or none for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
  const std::string_view line = Trim(content);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// Where a key lies in the text: its line, and the place to add it when it is missing.
struct TKeyPlace {
  std::optional<TLine> key_line;       // the first line of key in a matching section
  std::optional<size_t> section_tail;  // after the last non-blank line of the first matching section
};

TKeyPlace FindKey(std::string_view text, std::string_view section, std::string_view key) {
  TKeyPlace place;
  bool in_section = false;
  bool in_first_section = false;
  for (size_t begin = 0; begin < text.size();) {
    const TLine line = LineAt(text, begin);
    const std::string_view content = text.substr(line.begin, line.content_end - line.begin);
    if (const auto name = SectionName(content)) {
      in_section = SameText(*name, section);
      in_first_section = in_section && !place.section_tail;
      if (in_first_section) place.section_tail = line.next;
    } else if (in_section) {
      const std::string_view trimmed = Trim(content);
      if (in_first_section && !trimmed.empty()) place.section_tail = line.next;
      const size_t equals = content.find('=');
      if (!trimmed.empty() && trimmed.front() != ';' && equals != std::string_view::npos &&
          SameText(Trim(content.substr(0, equals)), key)) {
        place.key_line = line;
        return place;
      }
    }
    begin = line.next;
  }
  return place;
}

std::string_view LineBreakOf(std::string_view text) {
  return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

// Ends the text's last line, if it is open, so that the next line starts a line of its own.
// A carriage return already there becomes part of the line break.
void EndLastLine(std::string& text, std::string_view line_break) {
  if (text.empty() || text.back() == '\n') return;
  text += text.back() == '\r' ? std::string_view("\n") : line_break;
}

void RequireOneLine(std::string_view text, std::string_view what) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    throw EIniError("The settings " + std::string(what) + " \"" + std::string(text) +
                    "\" cannot be stored: it holds a line break or a zero byte");
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
  const TKeyPlace place = FindKey(text, section, key);
  if (!place.key_line) return std::nullopt;
  const TLine& line = *place.key_line;
  const std::string_view content = text.substr(line.begin, line.content_end - line.begin);
  std::string_view value = Trim(content.substr(content.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
  RequireOneLine(section, "section");
  RequireOneLine(key, "key");
  RequireOneLine(value, "value");
  const std::string_view line_break = LineBreakOf(text);
  const TKeyPlace place = FindKey(text, section, key);
  std::string result;
  result.reserve(text.size() + key.size() + value.size() + section.size() + 8);
  if (place.key_line) {
    const TLine& line = *place.key_line;
    const size_t equals = text.find('=', line.begin);
    result.append(text.substr(0, equals + 1));
    result.append(value);
    result.append(text.substr(line.content_end));
    return result;
  }
  const std::string key_line = std::string(key) + "=" + std::string(value) + std::string(line_break);
  if (place.section_tail) {
    const size_t tail = *place.section_tail;
    result.append(text.substr(0, tail));
    EndLastLine(result, line_break);
    result.append(key_line);
    result.append(text.substr(tail));
    return result;
  }
  result.append(text);
  EndLastLine(result, line_break);
  result.append("[").append(section).append("]").append(line_break);
  result.append(key_line);
  return result;
}

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  std::error_code error;
  if (std::filesystem::exists(path_, error)) text_ = ReadWholeFile(path_);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view default_value) const {
  return FindProfileValue(text_, section, key).value_or(std::string(default_value));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int default_value) const {
  const auto value = FindProfileValue(text_, section, key);
  if (!value) return default_value;
  return TryStrToInt(*value).value_or(default_value);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = SetProfileValue(text_, section, key, value);
  const std::filesystem::path directory = std::filesystem::path(path_).parent_path();
  std::error_code error;
  if (!directory.empty()) std::filesystem::create_directories(directory, error);
  WriteFileAtomic(path_, text);
  text_ = std::move(text);
}
