// An ascending index of the in-memory table on one or more columns: rows ordered by their key
// (nulls first, texts by the desktop collation, optionally ignoring case), equal keys in row order.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <variant>
#include <vector>

class TTableData;

// One key value in the column's own representation (date-times as their double).
using TKeyValue = std::variant<std::monostate, int32_t, double, std::string>;

class TDataSetIndex {
 public:
  TDataSetIndex(const TTableData& data, std::string name, std::vector<int> columns, bool case_insensitive);

  const std::string& Name() const { return name_; }
  const std::vector<int>& Columns() const { return columns_; }
  bool CaseInsensitive() const { return case_insensitive_; }
  bool UsesColumn(int column) const;

  bool Contains(int row) const { return row < static_cast<int>(where_.size()) && where_[row] != rows_.end(); }
  void Insert(int row);
  // Files rows 0..count-1 into the new, empty index: sorted once, not searched for one by one.
  void InsertFirstRows(int count);
  // Takes the row out while its key is still the one it was filed under.
  void Erase(int row);
  void Clear();

  // Row numbers in index order; -1 when there is none.
  int First() const;
  int After(int row) const;
  // The first row whose key is not below key (key may name fewer values than the index has columns).
  int LowerBound(const std::vector<TKeyValue>& key) const;
  // <0, 0, >0 as the row's leading key values sort before, equal to, after key.
  int CompareRowToKey(int row, const std::vector<TKeyValue>& key) const;

 private:
  struct RowLess {
    using is_transparent = void;
    const TDataSetIndex* index;
    bool operator()(int a, int b) const;
    bool operator()(int row, const std::vector<TKeyValue>& key) const;
    bool operator()(const std::vector<TKeyValue>& key, int row) const;
  };
  int CompareRows(int a, int b) const;

  const TTableData& data_;
  std::string name_;
  std::vector<int> columns_;
  bool case_insensitive_;
  using TRows = std::set<int, RowLess>;
  TRows rows_;
  // Where each row is filed (rows_.end() when it is not), so the walk steps without a search.
  std::vector<TRows::const_iterator> where_;
};
