// TDbaseCursor: a dBase reference file walked record by record, in file order or in the key order
// of the text files (zero-padded "ID", upper-cased text otherwise), and TDbaseColumn, one of its
// columns read at the current record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "export/dbase_file.h"

class TDbaseCursor {
 public:
  // Reads the file (TDbaseFile::Read's errors) and goes to its first record in file order.
  void Open(const std::string& path);
  // Drops the records read.
  void Close();
  // Orders the records by the column as the text table orders its lines, then goes to the first.
  void SortBy(int column);

  const TDbaseFile& File() const { return *file_; }
  int RecordCount() const { return file_ ? file_->RecordCount() : 0; }
  bool Eof() const { return position_ >= order_.size(); }
  void Next();
  // The stored bytes of a column at the current record.
  std::string_view Value(int column) const;

 private:
  std::optional<TDbaseFile> file_;
  std::vector<int> order_;  // record numbers in reading order
  size_t position_ = 0;
};

class TDbaseColumn {
 public:
  TDbaseColumn(const TDbaseCursor& cursor, int column) : cursor_(&cursor), column_(column) {}

  int32_t AsInteger() const;
  double AsFloat() const;
  double AsCurrency() const;
  TDateTime AsDateTime() const;
  std::string AsString() const;

 private:
  const TDbaseField& Field() const;

  const TDbaseCursor* cursor_;
  int column_;
};
