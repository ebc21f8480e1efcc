#include "exchange/dataset_index.h"

#include <algorithm>
#include <iterator>
#include <numeric>

#include "core/collation.h"
#include "exchange/table_data.h"

namespace {

// A total order on doubles: NaN before every number, equal to itself.
int CompareDoubles(double a, double b) {
  const bool a_nan = a != a;
  const bool b_nan = b != b;
  if (a_nan || b_nan) return static_cast<int>(b_nan) - static_cast<int>(a_nan);
  return (a > b) - (a < b);
}

int CompareTexts(std::string_view a, std::string_view b, bool case_insensitive) {
  const int result = CompareText(a, b);
  if (result != 0 || case_insensitive) return result;
  return a.compare(b);
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

TDataSetIndex::TDataSetIndex(const TTableData& data, std::string name, std::vector<int> columns, bool case_insensitive)
    : data_(data),
      name_(std::move(name)),
      columns_(std::move(columns)),
      case_insensitive_(case_insensitive),
      rows_(RowLess{this}) {}

bool TDataSetIndex::UsesColumn(int column) const {
  return std::find(columns_.begin(), columns_.end(), column) != columns_.end();
}

void TDataSetIndex::Insert(int row) {
  if (Contains(row)) return;
  if (row >= static_cast<int>(where_.size())) where_.resize(row + 1, rows_.end());
  where_[row] = rows_.insert(row).first;
}

void TDataSetIndex::InsertFirstRows(int count) {
  std::vector<int> sorted(static_cast<size_t>(std::max(count, 0)));
  std::iota(sorted.begin(), sorted.end(), 0);
  std::sort(sorted.begin(), sorted.end(), rows_.key_comp());
  where_.assign(sorted.size(), rows_.end());
  for (int row : sorted) where_[row] = rows_.emplace_hint(rows_.end(), row);
}

void TDataSetIndex::Erase(int row) {
  if (!Contains(row)) return;
  rows_.erase(where_[row]);
  where_[row] = rows_.end();
}

void TDataSetIndex::Clear() {
  rows_.clear();
  where_.clear();
}

int TDataSetIndex::First() const { return rows_.empty() ? -1 : *rows_.begin(); }

int TDataSetIndex::After(int row) const {
  const auto next = Contains(row) ? std::next(where_[row]) : rows_.upper_bound(row);
  return next == rows_.end() ? -1 : *next;
}

int TDataSetIndex::LowerBound(const std::vector<TKeyValue>& key) const {
  const auto found = rows_.lower_bound(key);
  return found == rows_.end() ? -1 : *found;
}

int TDataSetIndex::CompareRows(int a, int b) const {
  for (int column : columns_) {
    const bool a_null = data_.IsNull(a, column);
    const bool b_null = data_.IsNull(b, column);
    if (a_null || b_null) {
      if (a_null != b_null) return a_null ? -1 : 1;
      continue;
    }
    int result = 0;
    switch (data_.Column(column).Def.DataType) {
      case TFieldType::ftInteger: {
        const int32_t x = data_.Int(a, column), y = data_.Int(b, column);
        result = (x > y) - (x < y);
        break;
      }
      case TFieldType::ftFloat:
      case TFieldType::ftDateTime:
        result = CompareDoubles(data_.Float(a, column), data_.Float(b, column));
        break;
      case TFieldType::ftString:
        result = Sign(CompareTexts(data_.Text(a, column), data_.Text(b, column), case_insensitive_));
        break;
    }
    if (result != 0) return result;
  }
  return 0;
}

int TDataSetIndex::CompareRowToKey(int row, const std::vector<TKeyValue>& key) const {
  const size_t count = std::min(key.size(), columns_.size());
  for (size_t i = 0; i < count; ++i) {
    const int column = columns_[i];
    const bool row_null = data_.IsNull(row, column);
    const bool key_null = std::holds_alternative<std::monostate>(key[i]);
    if (row_null || key_null) {
      if (row_null != key_null) return row_null ? -1 : 1;
      continue;
    }
    int result = 0;
    if (const auto* value = std::get_if<int32_t>(&key[i])) {
      const int32_t x = data_.Int(row, column);
      result = (x > *value) - (x < *value);
    } else if (const auto* value = std::get_if<double>(&key[i])) {
      result = CompareDoubles(data_.Float(row, column), *value);
    } else {
      result = Sign(CompareTexts(data_.Text(row, column), std::get<std::string>(key[i]), case_insensitive_));
    }
    if (result != 0) return result;
  }
  return 0;
}

bool TDataSetIndex::RowLess::operator()(int a, int b) const {
  const int result = index->CompareRows(a, b);
  return result != 0 ? result < 0 : a < b;
}

bool TDataSetIndex::RowLess::operator()(int row, const std::vector<TKeyValue>& key) const {
  return index->CompareRowToKey(row, key) < 0;
}

bool TDataSetIndex::RowLess::operator()(const std::vector<TKeyValue>& key, int row) const {
  return index->CompareRowToKey(row, key) > 0;
}
