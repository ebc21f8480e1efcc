#include "exchange/txt_key_index.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>

#include "core/collation.h"

std::string TextIndexKey(std::string_view field_name, std::string_view value) {
  if (SameText(field_name, "ID")) {
    if (value.size() >= 9) return std::string(value.substr(value.size() - 9));
    return std::string(9 - value.size(), '0') + std::string(value);
  }
  return AnsiUpperCase(value);
}

namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Keys of digits alone and of one length (the IDs) sort as their numbers would, and the entries
// of one key as the texts of their line numbers do: the order the collation gives the entries.
std::optional<std::vector<int>> SortDigitKeyEntries(const std::vector<std::string>& keys, const std::vector<int>& lines) {
  if (keys.empty() || keys[0].size() > 18) return std::nullopt;
  std::vector<std::pair<uint64_t, int>> entries;
  entries.reserve(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].size() != keys[0].size() || !AllDigits(keys[i])) return std::nullopt;
    uint64_t number = 0;
    for (const char c : keys[i]) number = number * 10 + static_cast<uint64_t>(c - '0');
    entries.emplace_back(number, lines[i]);
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return std::to_string(a.second) < std::to_string(b.second);
  });
  std::vector<int> sorted(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) sorted[i] = entries[i].second;
  return sorted;
}

}  // namespace

std::vector<int> SortKeyEntries(const std::vector<std::string>& keys, const std::vector<int>& lines) {
  if (std::optional<std::vector<int>> sorted = SortDigitKeyEntries(keys, lines)) return std::move(*sorted);
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
