#include "exchange/txt_key_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/collation.h"

namespace {

// The order the index is defined by: the entries "key=line" in collation order.
std::vector<int> ByEntryCollation(const std::vector<std::string>& keys, const std::vector<int>& lines) {
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return CollationKey(keys[a] + "=" + std::to_string(lines[a])) <
           CollationKey(keys[b] + "=" + std::to_string(lines[b]));
  });
  std::vector<int> sorted;
  for (const int i : order) sorted.push_back(lines[i]);
  return sorted;
}

// ID keys (nine digits) with many repeats, where the line numbers' texts decide ("10" before
// "9"), and keys of other kinds, sort as the entries' collation says.
TEST(TextKeyIndex, SortsEntriesInCollationOrder) {
  std::mt19937 random(5);
  for (const bool ids : {true, false}) {
    std::vector<std::string> keys;
    std::vector<int> lines;
    for (int line = 1; line <= 3000; ++line) {
      const std::string value = std::to_string(random() % (ids ? 200 : 100000));
      keys.push_back(ids ? TextIndexKey("Id", value) : TextIndexKey("Name", value + (line % 7 ? "" : "x")));
      lines.push_back(line);
    }
    EXPECT_EQ(SortKeyEntries(keys, lines), ByEntryCollation(keys, lines)) << ids;
  }
  EXPECT_EQ(SortKeyEntries({"000000005", "000000005", "000000001"}, {9, 10, 11}), (std::vector<int>{11, 10, 9}));
  EXPECT_EQ(SortKeyEntries({"0000000-5", "000000001"}, {1, 2}), ByEntryCollation({"0000000-5", "000000001"}, {1, 2}));
}

}  // namespace
