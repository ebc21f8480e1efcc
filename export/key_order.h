// The order of rows ascending by integer keys, rows of equal keys in the order they came: the
// order in which an export step writes the records it read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// keys holds `width` keys per row, row after row. Returns the rows' numbers in key order, or
// nothing when the rows are in that order already.
std::vector<uint32_t> KeyOrder(const std::vector<int32_t>& keys, size_t width);
