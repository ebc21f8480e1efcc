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
  // Values are mostly a few bytes long: a plain scan beats a library search per value.
  const char* at = line.data();
  const char* const end = at + line.size();
  for (int i = 0; i < count; ++i) {
    const char* const start = at;
    while (at != end && *at != delimiter) ++at;
    store(i, std::string_view(start, static_cast<size_t>(at - start)));
    if (at != end) ++at;
  }
}
