#include "export/key_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace {

std::vector<uint32_t> StableOrder(const std::vector<int32_t>& keys) {
  std::vector<uint32_t> order(keys.size());
  for (size_t row = 0; row < keys.size(); ++row) order[row] = static_cast<uint32_t>(row);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  return order;
}

}  // namespace

// One key: keys that differ only in their low byte, in their two low bytes, across the sign and
// over the whole range all come out as a stable sort orders them, equal keys in their rows' order.
TEST(KeyOrder, OneKeyOrdersAsAStableSortWhateverBytesTheKeysDifferIn) {
  std::mt19937 random(7);
  const std::vector<std::pair<int32_t, uint32_t>> spreads = {
      {1024, 200}, {1000, 60000}, {-30000, 60000}, {INT32_MIN, UINT32_MAX}};
  for (const auto& [lowest, spread] : spreads) {
    std::vector<int32_t> keys;
    for (int row = 0; row < 5000; ++row) {
      keys.push_back(static_cast<int32_t>(static_cast<uint32_t>(lowest) + random() % spread));
    }
    keys[17] = keys[4000];  // a repeated key in any spread
    EXPECT_EQ(KeyOrder(keys, 1), StableOrder(keys)) << lowest << " + " << spread;
  }
  std::vector<int32_t> sorted = {INT32_MIN, -5, -5, 0, 3, INT32_MAX};
  EXPECT_TRUE(KeyOrder(sorted, 1).empty());
  std::swap(sorted[0], sorted[5]);
  EXPECT_EQ(KeyOrder(sorted, 1), (std::vector<uint32_t>{5, 1, 2, 3, 4, 0}));
}
