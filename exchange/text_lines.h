// The line structure of delimited text files: the header into field names, and a record line
// into its values (the file's lines are core's SplitLines).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The field names of a header line: every '"' removed, one delimiter at the end dropped, then
// split at each delimiter (an empty piece is an empty name; an empty header gives no names).
std::vector<std::string> ParseHeaderNames(std::string_view header, char delimiter);

// Calls store(i, value) for i = 0..count-1: the text up to the next delimiter, or the rest of the
// line when there is none (empty once the line is used up). Surplus values are ignored.
template <typename Store>
void SplitRecordLine(std::string_view line, char delimiter, int count, Store&& store) {
  for (int i = 0; i < count; ++i) {
    const size_t at = line.find(delimiter);
    if (at == std::string_view::npos) {
      store(i, line);
      line = {};
    } else {
      store(i, line.substr(0, at));
      line.remove_prefix(at + 1);
    }
  }
}
