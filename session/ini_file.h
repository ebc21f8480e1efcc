// TIniFile: a settings file with the semantics of the desktop's profile functions: sections and
// keys matched without regard to case, a missing key gives the default, writing keeps the rest.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/exceptions.h"

// A value that cannot be stored in a line of the file (it holds a line break or a zero byte).
class EIniError : public Exception {
 public:
  using Exception::Exception;
};

// The value of key in section of an INI text: blanks around it removed, one pair of enclosing
// quotes dropped. None when the section or the key is absent. Never throws: any bytes parse.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// The INI text with key set to value. The key's line is replaced when present; otherwise the key
// is added at the end of its section, or a new section is appended. Every other byte stays.
// Throws EIniError when value, key or section holds a line break or a zero byte.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

class TIniFile {
 public:
  // Reads the file; a missing file reads as empty.
  explicit TIniFile(std::string path);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view default_value) const;
  // Decimal or "0x" hexadecimal; an absent key or unreadable text gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  // ReadInteger, true when not 0.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  // Sets the key and writes the whole file at once, atomically (creating its directory).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string text_;
};
