// The order of rows ascending by integer keys, rows of equal keys in the order they came: the
// order in which an export step writes the records it read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// A value as a key: its integer, 0 for a value of any other kind.
template <class Value>
int32_t IntegerKey(const Value& value) {
  const auto* number = std::get_if<int32_t>(&value);
  return number != nullptr ? *number : 0;
}

// keys holds `width` keys per row, row after row. Returns the rows' numbers in key order, or
// nothing when the rows are in that order already.
std::vector<uint32_t> KeyOrder(const std::vector<int32_t>& keys, size_t width);
