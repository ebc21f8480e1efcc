// The line-based text form of the home's files: "[section]" lines, each followed by its
// "key=value" lines; blank lines and lines starting with ';' are skipped. Values are raw bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TIniSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Values;  // in file order
  int Line = 0;                                             // line of the "[section]" header

  // The value of key (exact match), or none.
  std::optional<std::string> Find(std::string_view key) const;
};

// Parses text; a line that is neither a header, a pair, a comment nor blank, a pair before the
// first header, or an empty key throws EHotSyncFileError "<file>, line <n>: <reason>".
std::vector<TIniSection> ParseIniText(std::string_view text, const std::string& file_name);

// The canonical text: each section's header and pairs, one line each, ending with '\n'.
// A name, key or value holding a line break (or a key holding '=') throws EHotSyncRequestError.
std::string FormatIniText(const std::vector<TIniSection>& sections);
