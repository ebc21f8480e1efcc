#include "exchange/text_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The values as a plain reading of the rule gives them.
std::vector<std::string> PlainSplit(std::string_view line, char delimiter, int count) {
  std::vector<std::string> values;
  size_t at = 0;
  for (int i = 0; i < count; ++i) {
    const size_t stop = std::min(line.find(delimiter, at), line.size());
    values.emplace_back(line.substr(std::min(at, line.size()), stop - std::min(at, line.size())));
    at = stop < line.size() ? stop + 1 : line.size();
  }
  return values;
}

std::vector<std::string> Split(std::string_view line, char delimiter, int count) {
  std::vector<std::string> values(static_cast<size_t>(count));
  SplitRecordLine(line, delimiter, count,
                  [&](int i, std::string_view value) { values[static_cast<size_t>(i)] = value; });
  return values;
}

}  // namespace

// Lines of every length up to several times sixteen bytes, delimiters anywhere (first, last,
// side by side, none), asked for fewer, as many and more values than they hold: each value is
// the text up to its delimiter, and the values past the line's end are empty.
TEST(SplitRecordLine, GivesThePlainReadingOfEveryLine) {
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    const size_t length = random() % 70;
    std::string line;
    for (size_t i = 0; i < length; ++i) line += random() % 4 == 0 ? ';' : static_cast<char>('a' + random() % 26);
    const int count = static_cast<int>(random() % 30);
    ASSERT_EQ(Split(line, ';', count), PlainSplit(line, ';', count)) << '"' << line << "\" " << count;
  }
  EXPECT_EQ(Split("0123456789abcdef;x", ';', 3), (std::vector<std::string>{"0123456789abcdef", "x", ""}));
  EXPECT_EQ(Split(std::string(40, ';'), ';', 2), (std::vector<std::string>{"", ""}));
}
