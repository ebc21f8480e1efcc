#include "export/key_order.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Sorts entries (a 32-bit key above a row number) by their keys a byte at a time, the lowest
// first. Each pass keeps the order it found, so rows of equal keys stay in their order; a byte
// that every key shares moves nothing and is skipped.
void SortByKeyBytes(std::vector<uint64_t>& entries) {
  constexpr int kFirstKeyBit = 32;
  std::array<std::array<size_t, 256>, 4> counts{};
  for (const uint64_t entry : entries) {
    for (size_t byte = 0; byte < 4; ++byte) ++counts[byte][(entry >> (kFirstKeyBit + 8 * byte)) & 0xFF];
  }
  std::vector<uint64_t> sorted(entries.size());
  for (size_t byte = 0; byte < 4; ++byte) {
    const int shift = kFirstKeyBit + 8 * static_cast<int>(byte);
    std::array<size_t, 256>& starts = counts[byte];
    if (starts[(entries.front() >> shift) & 0xFF] == entries.size()) continue;
    size_t start = 0;
    for (size_t& count : starts) start += std::exchange(count, start);
    for (const uint64_t entry : entries) sorted[starts[(entry >> shift) & 0xFF]++] = entry;
    entries.swap(sorted);
  }
}

}  // namespace

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
    // One key: the key, its sign bit flipped so that unsigned order is signed order, above the
    // row number.
    std::vector<uint64_t> entries(count);
    for (size_t row = 0; row < count; ++row) {
      entries[row] = static_cast<uint64_t>(static_cast<uint32_t>(keys[row]) ^ 0x80000000u) << 32 | row;
    }
    SortByKeyBytes(entries);
    for (size_t row = 0; row < count; ++row) order[row] = static_cast<uint32_t>(entries[row]);
  } else {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}
