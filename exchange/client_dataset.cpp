#include "exchange/client_dataset.h"

#include "core/atomic_file.h"
#include "core/collation.h"
#include "exchange/exchange_errors.h"
#include "exchange/table_data.h"
#include "exchange/xml_packet_reader.h"
#include "exchange/xml_packet_writer.h"

TClientDataSet::TClientDataSet() = default;
TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TClientDataSet::UseData(std::shared_ptr<TTableData> data, TDataSetState state) {
  data_ = std::move(data);
  fields_.clear();
  for (int column = 0; column < data_->ColumnCount(); ++column) {
    fields_.push_back(std::make_unique<TField>(*this, column));
  }
  state_ = state;
  index_name_.clear();
  First();
}

void TClientDataSet::CreateDataSet() {
  if (field_defs_.Count() == 0) throw EDatabaseError("Cannot create a dataset without field definitions");
  UseData(std::make_shared<TTableData>(field_defs_.Items()), TDataSetState::dsBrowse);
}

void TClientDataSet::Open() {
  if (Active()) return;
  if (!data_) throw EDatabaseError("Missing data provider or data packet");
  state_ = TDataSetState::dsBrowse;
  First();
}

void TClientDataSet::Close() {
  state_ = TDataSetState::dsInactive;
  row_ = -1;
  eof_ = true;
}

void TClientDataSet::LoadFromFile(const std::string& path) {
  TFileBytes bytes = ReadFileBytes(path);
  std::shared_ptr<TTableData> data = ReadDataPacket(std::span<char>(bytes.Data(), bytes.Size()), path);
  std::vector<TFieldDef> defs;
  for (int column = 0; column < data->ColumnCount(); ++column) defs.push_back(data->Column(column).Def);
  field_defs_.Assign(std::move(defs));
  UseData(std::move(data), TDataSetState::dsBrowse);
}

void TClientDataSet::SaveToFile(const std::string& path) {
  const size_t size = path.size();
  if (size < 4 || !SameText(std::string_view(path).substr(size - 4), ".xml")) {
    throw EDatabaseError("Cannot save '" + path + "': only XML data packets (\".xml\") are written");
  }
  CheckActive();
  PostIfEditing();
  TAtomicFileWriter file(path);
  WriteDataPacket(*data_, [&file](std::string_view piece) { file.Write(piece); });
  file.Commit();
}

std::string TClientDataSet::XmlPacket() {
  CheckActive();
  PostIfEditing();
  return DataPacketBytes(*data_);
}

void TClientDataSet::EmptyDataSet() {
  CheckActive();
  data_->RemoveAllRows();
  state_ = TDataSetState::dsBrowse;
  row_ = -1;
  eof_ = true;
}

void TClientDataSet::CloneCursor(TClientDataSet& source) {
  source.CheckActive();
  source.PostIfEditing();
  field_defs_ = source.field_defs_;
  const std::string index_name = source.index_name_;
  UseData(source.data_, TDataSetState::dsBrowse);
  index_name_ = index_name;
  First();
}

int TClientDataSet::RecordCount() const {
  CheckActive();
  return data_->RowCount();
}

TDataSetIndex* TClientDataSet::ActiveIndex() const {
  return index_name_.empty() ? nullptr : data_->FindIndex(index_name_);
}

TDataSetIndex& TClientDataSet::RequireIndex() const {
  TDataSetIndex* index = ActiveIndex();
  if (index == nullptr) throw EDatabaseError("No index currently active");
  return *index;
}

void TClientDataSet::PostIfEditing() {
  if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsEdit) Post();
}

void TClientDataSet::First() {
  CheckActive();
  PostIfEditing();
  if (const TDataSetIndex* index = ActiveIndex()) {
    row_ = index->First();
  } else {
    row_ = data_->RowCount() > 0 ? 0 : -1;
  }
  eof_ = row_ < 0;
}

void TClientDataSet::Next() {
  CheckActive();
  PostIfEditing();
  if (row_ < 0 || row_ >= data_->RowCount()) {
    eof_ = true;
    return;
  }
  int next = -1;
  if (const TDataSetIndex* index = ActiveIndex()) {
    next = index->After(row_);
  } else if (row_ + 1 < data_->RowCount()) {
    next = row_ + 1;
  }
  if (next < 0) {
    eof_ = true;
  } else {
    row_ = next;
    eof_ = false;
  }
}

void TClientDataSet::Reserve(int rows) {
  CheckActive();
  if (rows > 0) data_->ReserveRows(data_->RowCount() + rows);
}

void TClientDataSet::Append() {
  CheckActive();
  PostIfEditing();
  row_ = data_->AddRow(true);
  eof_ = false;
  state_ = TDataSetState::dsInsert;
}

void TClientDataSet::Edit() {
  CheckActive();
  if (state_ != TDataSetState::dsBrowse) return;
  if (row_ < 0 || row_ >= data_->RowCount()) throw EDatabaseError("Cannot edit: the dataset has no current record");
  state_ = TDataSetState::dsEdit;
}

void TClientDataSet::Post() {
  CheckActive();
  if (state_ != TDataSetState::dsInsert && state_ != TDataSetState::dsEdit) {
    throw EDatabaseError("Dataset not in edit or insert mode");
  }
  state_ = TDataSetState::dsBrowse;
  if (row_ < 0 || row_ >= data_->RowCount()) throw EDatabaseError("The dataset has no current record");
  data_->IndexRow(row_);
}

TField* TClientDataSet::FindField(std::string_view name) {
  if (!data_) return nullptr;
  const int column = data_->FindColumn(name);
  return column < 0 ? nullptr : fields_[column].get();
}

TField& TClientDataSet::FieldByName(std::string_view name) {
  if (TField* field = FindField(name)) return *field;
  throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

std::vector<int> TClientDataSet::ColumnsOf(const std::string& fields) const {
  std::vector<int> columns;
  size_t start = 0;
  while (start <= fields.size()) {
    size_t end = fields.find(';', start);
    if (end == std::string::npos) end = fields.size();
    const std::string name = fields.substr(start, end - start);
    const int column = data_->FindColumn(name);
    if (column < 0) throw EDatabaseError("Field '" + name + "' not found");
    columns.push_back(column);
    start = end + 1;
  }
  return columns;
}

void TClientDataSet::AddIndex(const std::string& name, const std::string& fields, bool case_insensitive) {
  CheckActive();
  PostIfEditing();
  const bool active = SameText(name, index_name_);
  data_->AddIndex(name, ColumnsOf(fields), case_insensitive);
  if (active) First();
}

void TClientDataSet::SetIndexName(const std::string& name) {
  CheckActive();
  PostIfEditing();
  if (!name.empty() && data_->FindIndex(name) == nullptr) {
    throw EDatabaseError("Index '" + name + "' not found");
  }
  index_name_ = name;
  First();
}

void TClientDataSet::SetIndexFieldNames(const std::string& fields) {
  CheckActive();
  if (fields.empty()) {
    SetIndexName("");
    return;
  }
  std::string name = AnsiUpperCase(fields);
  name.insert(name.begin(), '@');
  if (data_->FindIndex(name) == nullptr) data_->AddIndex(name, ColumnsOf(fields), false);
  SetIndexName(name);
}

std::vector<TKeyValue> TClientDataSet::ConvertKey(const std::vector<TFieldValue>& key) const {
  const TDataSetIndex& index = RequireIndex();
  if (key.size() > index.Columns().size()) throw EDatabaseError("Too many key values for the index");
  std::vector<TKeyValue> converted;
  for (size_t i = 0; i < key.size(); ++i) {
    const TFieldDef& def = data_->Column(index.Columns()[i]).Def;
    const TFieldValue& value = key[i];
    if (std::holds_alternative<std::monostate>(value)) {
      converted.emplace_back(std::monostate{});
      continue;
    }
    const int32_t* as_int = std::get_if<int32_t>(&value);
    const double* as_double = std::get_if<double>(&value);
    const TDateTime* as_date = std::get_if<TDateTime>(&value);
    const std::string* as_text = std::get_if<std::string>(&value);
    switch (def.DataType) {
      case TFieldType::ftInteger:
        if (as_int != nullptr) {
          converted.emplace_back(*as_int);
          continue;
        }
        break;
      case TFieldType::ftFloat:
      case TFieldType::ftDateTime:
        if (as_int != nullptr) converted.emplace_back(static_cast<double>(*as_int));
        if (as_double != nullptr) converted.emplace_back(*as_double);
        if (as_date != nullptr) converted.emplace_back(as_date->Value);
        if (as_text == nullptr) continue;
        break;
      case TFieldType::ftString:
        if (as_text != nullptr) {
          converted.emplace_back(*as_text);
          continue;
        }
        break;
    }
    throw EDatabaseError("Key value of the wrong type for field '" + def.Name + "'");
  }
  return converted;
}

bool TClientDataSet::FindKey(const std::vector<TFieldValue>& key) {
  CheckActive();
  PostIfEditing();
  const std::vector<TKeyValue> converted = ConvertKey(key);
  const TDataSetIndex& index = RequireIndex();
  const int row = index.LowerBound(converted);
  if (row < 0 || index.CompareRowToKey(row, converted) != 0) return false;
  row_ = row;
  eof_ = false;
  return true;
}

void TClientDataSet::FindNearest(const std::vector<TFieldValue>& key) {
  CheckActive();
  PostIfEditing();
  const std::vector<TKeyValue> converted = ConvertKey(key);
  row_ = RequireIndex().LowerBound(converted);
  eof_ = row_ < 0;
}
