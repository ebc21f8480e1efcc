#include "export/dbase_cursor.h"

#include <numeric>

#include "exchange/txt_key_index.h"
#include "export/dbase_values.h"

void TDbaseCursor::Open(const std::string& path) {
  Close();
  file_ = TDbaseFile::Read(path);
  order_.resize(static_cast<size_t>(file_->RecordCount()));
  std::iota(order_.begin(), order_.end(), 0);
}

void TDbaseCursor::Close() {
  file_.reset();
  order_.clear();
  position_ = 0;
}

void TDbaseCursor::SortBy(int column) {
  const TDbaseField& field = file_->Fields().at(static_cast<size_t>(column));
  std::vector<std::string> keys;
  std::vector<int> line_numbers;
  keys.reserve(order_.size());
  line_numbers.reserve(order_.size());
  for (int record = 0; record < file_->RecordCount(); ++record) {
    keys.push_back(TextIndexKey(field.Name, DbaseAsString(field, file_->Value(record, column))));
    line_numbers.push_back(record + 1);
  }
  order_ = SortKeyEntries(keys, line_numbers);
  for (int& record : order_) --record;
  position_ = 0;
}

void TDbaseCursor::Next() {
  if (!Eof()) ++position_;
}

std::string_view TDbaseCursor::Value(int column) const { return file_->Value(order_.at(position_), column); }

const TDbaseField& TDbaseColumn::Field() const { return cursor_->File().Fields().at(static_cast<size_t>(column_)); }

int32_t TDbaseColumn::AsInteger() const { return DbaseAsInteger(Field(), cursor_->Value(column_)); }

double TDbaseColumn::AsFloat() const { return DbaseAsFloat(Field(), cursor_->Value(column_)); }

double TDbaseColumn::AsCurrency() const { return DbaseAsCurrency(Field(), cursor_->Value(column_)); }

TDateTime TDbaseColumn::AsDateTime() const { return DbaseAsDateTime(Field(), cursor_->Value(column_)); }

std::string TDbaseColumn::AsString() const { return DbaseAsString(Field(), cursor_->Value(column_)); }
