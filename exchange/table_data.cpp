#include "exchange/table_data.h"

#include <cstring>

#include "core/collation.h"
#include "core/release_room.h"
#include "exchange/dataset_index.h"
#include "exchange/exchange_errors.h"

TTableData::TTableData(const std::vector<TFieldDef>& defs) {
  columns_.reserve(defs.size());
  for (const TFieldDef& def : defs) {
    column_index_.emplace(AnsiUpperCase(def.Name), static_cast<int>(columns_.size()));
    columns_.push_back(TColumn{def, {}, {}, {}, {}, {}});
  }
}

TTableData::~TTableData() = default;

int TTableData::FindColumn(std::string_view name) const {
  const auto found = column_index_.find(AnsiUpperCase(name));
  return found == column_index_.end() ? -1 : found->second;
}

int TTableData::AddRow(bool inserted) {
  for (TColumn& column : columns_) {
    column.Null.push_back(1);
    switch (column.Def.DataType) {
      case TFieldType::ftInteger:
        column.Ints.push_back(0);
        break;
      case TFieldType::ftFloat:
      case TFieldType::ftDateTime:
        column.Floats.push_back(0.0);
        break;
      case TFieldType::ftString:
        column.Texts.emplace_back();
        break;
    }
  }
  inserted_.push_back(inserted ? 1 : 0);
  return row_count_++;
}

void TTableData::ReserveRows(int count) {
  const auto rows = static_cast<size_t>(count > 0 ? count : 0);
  for (TColumn& column : columns_) {
    column.Null.reserve(rows);
    switch (column.Def.DataType) {
      case TFieldType::ftInteger:
        column.Ints.reserve(rows);
        break;
      case TFieldType::ftFloat:
      case TFieldType::ftDateTime:
        column.Floats.reserve(rows);
        break;
      case TFieldType::ftString:
        column.Texts.reserve(rows);
        break;
    }
  }
  inserted_.reserve(rows);
}

void TTableData::RemoveAllRows() {
  // The room goes too: a table emptied after a large file holds nothing of it.
  for (TColumn& column : columns_) {
    ReleaseRoom(column.Null);
    ReleaseRoom(column.Ints);
    ReleaseRoom(column.Floats);
    ReleaseRoom(column.Texts);
    ReleaseRoom(column.TextStore);
  }
  ReleaseRoom(inserted_);
  row_count_ = 0;
  for (auto& index : indexes_) index->Clear();
}

void TTableData::LeaveIndexesOn(int row, int column) {
  for (auto& index : indexes_) {
    if (index->UsesColumn(column)) index->Erase(row);
  }
}

void TTableData::SetNull(int row, int column) {
  BeforeChange(row, column);
  TColumn& target = columns_[column];
  target.Null[row] = 1;
  if (target.Def.DataType == TFieldType::ftString) target.Texts[row].Size = 0;
}

void TTableData::SetText(int row, int column, std::string_view value) {
  BeforeChange(row, column);
  TColumn& target = columns_[column];
  const size_t width = static_cast<size_t>(target.Def.Size);
  if (width > 0 && value.size() > width) value = value.substr(0, width);
  TTextSpan& span = target.Texts[row];
  if (value.size() <= span.Size) {
    // memmove: the value may be a view of the store itself.
    if (!value.empty()) std::memmove(target.TextStore.data() + span.Offset, value.data(), value.size());
  } else {
    if (value.size() > UINT32_MAX - target.TextStore.size()) {
      throw EDatabaseError("Field '" + target.Def.Name + "' holds more than 4 GiB of texts");
    }
    // append copies its range before letting go of the old bytes, so the value may lie there.
    span.Offset = static_cast<uint32_t>(target.TextStore.size());
    target.TextStore.append(value);
  }
  span.Size = static_cast<uint32_t>(value.size());
  target.Null[row] = 0;
}

void TTableData::IndexRow(int row) {
  for (auto& index : indexes_) index->Insert(row);
}

TDataSetIndex& TTableData::AddIndex(const std::string& name, const std::vector<int>& columns, bool case_insensitive) {
  auto index = std::make_unique<TDataSetIndex>(*this, name, columns, case_insensitive);
  index->InsertFirstRows(row_count_);
  for (auto& existing : indexes_) {
    if (existing->Name() == name) {
      existing = std::move(index);
      return *existing;
    }
  }
  indexes_.push_back(std::move(index));
  return *indexes_.back();
}

TDataSetIndex* TTableData::FindIndex(std::string_view name) {
  for (auto& index : indexes_) {
    if (SameText(index->Name(), name)) return index.get();
  }
  return nullptr;
}
