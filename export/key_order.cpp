#include "export/key_order.h"

#include <algorithm>

std::vector<uint32_t> KeyOrder(const std::vector<int32_t>& keys, size_t width) {
  const size_t count = width == 0 ? 0 : keys.size() / width;
  const auto before = [&](size_t a, size_t b) {
    return std::lexicographical_compare(keys.begin() + a * width, keys.begin() + (a + 1) * width,
                                        keys.begin() + b * width, keys.begin() + (b + 1) * width);
  };
  std::vector<uint32_t> order(count);
  for (size_t row = 0; row < count; ++row) order[row] = static_cast<uint32_t>(row);
  if (std::is_sorted(order.begin(), order.end(), before)) return {};
  if (width == 1) {
    // One key: the key (its sign bit flipped, so unsigned order is signed order) above the row
    // number sorts as one number, equal keys in their order.
    std::vector<uint64_t> entries(count);
    for (size_t row = 0; row < count; ++row) {
      entries[row] = static_cast<uint64_t>(static_cast<uint32_t>(keys[row]) ^ 0x80000000u) << 32 | row;
    }
    std::sort(entries.begin(), entries.end());
    for (size_t row = 0; row < count; ++row) order[row] = static_cast<uint32_t>(entries[row]);
  } else {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}
