#include "exchange/txt_key_index.h"

#include <algorithm>
#include <numeric>

#include "core/collation.h"

std::string TextIndexKey(std::string_view field_name, std::string_view value) {
  if (SameText(field_name, "ID")) {
    if (value.size() >= 9) return std::string(value.substr(value.size() - 9));
    return std::string(9 - value.size(), '0') + std::string(value);
  }
  return AnsiUpperCase(value);
}

std::vector<int> SortKeyEntries(const std::vector<std::string>& keys, const std::vector<int>& lines) {
  // Each entry "<key>=<line>" as its collation key, so the sort compares plain bytes.
  std::vector<std::string> entries(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) entries[i] = CollationKey(keys[i] + "=" + std::to_string(lines[i]));
  std::vector<int> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return entries[a] < entries[b]; });
  std::vector<int> sorted(order.size());
  for (size_t i = 0; i < order.size(); ++i) sorted[i] = lines[order[i]];
  return sorted;
}
