// The rows of the in-memory table, stored column by column, shared by a table and the cursors
// cloned from it. Each cell is null or holds a value of its column's type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/field_defs.h"

// Where a text cell's bytes lie in its column's text store (at most 4 GiB of texts a column).
struct TTextSpan {
  uint32_t Offset = 0;
  uint32_t Size = 0;
};

struct TColumn {
  TFieldDef Def;
  std::vector<unsigned char> Null;  // 1 for a null cell
  std::vector<int32_t> Ints;        // ftInteger
  std::vector<double> Floats;       // ftFloat and ftDateTime
  std::vector<TTextSpan> Texts;     // ftString
  // The texts' bytes: a text that grows is written anew at the end, a shorter one in place.
  std::string TextStore;

  std::string_view Text(int row) const { return {TextStore.data() + Texts[row].Offset, Texts[row].Size}; }
};

class TDataSetIndex;

class TTableData {
 public:
  explicit TTableData(const std::vector<TFieldDef>& defs);
  ~TTableData();
  TTableData(const TTableData&) = delete;
  TTableData& operator=(const TTableData&) = delete;

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const TColumn& Column(int index) const { return columns_[index]; }
  // Index of the column named so ignoring case, or -1.
  int FindColumn(std::string_view name) const;
  int RowCount() const { return row_count_; }
  bool Inserted(int row) const { return inserted_[row] != 0; }

  // A new row of null cells at the end; inserted marks it for the change log. Returns its number.
  int AddRow(bool inserted);
  // Room for that many rows in all, so adding them moves no cell.
  void ReserveRows(int count);
  void RemoveAllRows();

  bool IsNull(int row, int column) const { return columns_[column].Null[row] != 0; }
  int32_t Int(int row, int column) const { return columns_[column].Ints[row]; }
  double Float(int row, int column) const { return columns_[column].Floats[row]; }
  // Valid until the column's next text change.
  std::string_view Text(int row, int column) const { return columns_[column].Text(row); }

  // Setters keep the indexes right: a row whose key changes leaves them until IndexRow.
  void SetNull(int row, int column);
  void SetInt(int row, int column, int32_t value) {
    BeforeChange(row, column);
    columns_[column].Ints[row] = value;
    columns_[column].Null[row] = 0;
  }
  void SetFloat(int row, int column, double value) {
    BeforeChange(row, column);
    columns_[column].Floats[row] = value;
    columns_[column].Null[row] = 0;
  }
  // Cut to the column's width. Throws EDatabaseError when the column's texts would pass 4 GiB.
  void SetText(int row, int column, std::string_view value);

  // Puts a row (new, or one whose key changed) into every index that lacks it.
  void IndexRow(int row);

  // Defines an index (replacing one of the same name) and fills it; returns it.
  TDataSetIndex& AddIndex(const std::string& name, const std::vector<int>& columns, bool case_insensitive);
  TDataSetIndex* FindIndex(std::string_view name);

 private:
  // Takes the row out of the indexes on the column, before its value changes.
  void BeforeChange(int row, int column) {
    if (!indexes_.empty()) LeaveIndexesOn(row, column);
  }
  void LeaveIndexesOn(int row, int column);

  std::vector<TColumn> columns_;
  std::unordered_map<std::string, int> column_index_;  // upper-cased name -> column
  std::vector<unsigned char> inserted_;
  int row_count_ = 0;
  std::vector<std::unique_ptr<TDataSetIndex>> indexes_;
};
