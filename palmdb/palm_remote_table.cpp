#include "palmdb/palm_remote_table.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

#include "conduit/desktop_libraries.h"
#include "conduit/palm_component.h"
#include "conduit/sync_error.h"
#include "core/text_conversions.h"
#include "palmdb/handheld_encodings.h"
#include "palmdb/palm_errors.h"

namespace {

constexpr size_t kMaxTableNameLength = 31;

const TSyncManagerCalls& SyncCalls() {
  const TSyncManagerCalls& calls = Desktop().Sync;
  if (calls.OpenDB == nullptr) throw Exception("The Sync Manager library is not bound");
  return calls;
}

bool IsFourCharCode(const std::string& code) {
  if (code.size() != 4) return false;
  for (const char c : code) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 127) return false;
  }
  return true;
}

// The first character in the most significant byte.
uint32_t FourCharCodeValue(const std::string& code) {
  uint32_t value = 0;
  for (const char c : code) value = (value << 8) | static_cast<unsigned char>(c);
  return value;
}

}  // namespace

TpfgPalmRemoteTable::TpfgPalmRemoteTable(std::string name) : TpfgPalmTable(std::move(name)) {}

TpfgPalmRemoteTable::~TpfgPalmRemoteTable() {
  try {
    Close();
  } catch (...) {
    // A destructor never throws; the handle is cleared before the close is checked.
  }
}

void TpfgPalmRemoteTable::SetTableName(std::string name) {
  Close();
  TpfgPalmTable::SetTableName(std::move(name));
}

void TpfgPalmRemoteTable::SetCreatorID(const std::string& id) {
  Close();
  if (!IsFourCharCode(id)) throw ECreatorIDError("The Creator ID \"" + id + "\" is invalid");
  creator_id_ = id;
}

void TpfgPalmRemoteTable::SetTableType(const std::string& type) {
  Close();
  if (!IsFourCharCode(type)) throw EPalmDBError("The TableType \"" + type + "\" is invalid");
  table_type_ = type;
}

void TpfgPalmRemoteTable::SetVersion(uint16_t version) {
  Close();
  version_ = version;
}

void TpfgPalmRemoteTable::SetOptions(TpfgPalmRemoteTableOptions options) {
  Close();
  options_ = options;
}

void TpfgPalmRemoteTable::SetCategoryFilter(int8_t category) {
  if (category == category_filter_) return;
  if (category < -1 || category > 14) {
    throw EPalmDBError("The category number \"" + std::to_string(category) + "\" is invalid");
  }
  RequireOpen();
  RequireBrowse();
  category_filter_ = category;
  ReadCurrentRecord(TReadKind::Navigation);
}

void TpfgPalmRemoteTable::SetDbSaving(bool saving) {
  if (saving && !db_saving_) ClearRecord();
  db_saving_ = saving;
}

void TpfgPalmRemoteTable::Loaded() {
  if (creator_id_.empty()) creator_id_ = TpfgPalmComponent::Find().CreatorID();
}

TPalmValue TpfgPalmRemoteTable::GetFieldValue(int index) {
  RequireOpen();
  const TPalmCell& cell = RecordCells().at(index);
  const TPalmCell::TKind kind = cell.Kind();
  switch (FieldDefs()[index].DataType()) {
    case ptDate:
    case ptTime:
    case ptDateTime:
      if (kind == TPalmCell::TKind::Date) return cell.Date();
      if (cell.Empty()) return std::string();
      return ParsePalmDateTime(cell.Text(CurrentFormats()));
    case ptString:
    case ptInt64:
      return cell.Text(CurrentFormats());
    case ptSingle:
    case ptDouble:
      if (kind == TPalmCell::TKind::Float) {
        if (const std::optional<double> rounded = cell.RoundedFloat()) return *rounded;
      }
      if (cell.HoldsInt32()) return static_cast<double>(cell.Integer());
      return cell.Empty() ? 0.0 : StrToFloat(cell.Text(CurrentFormats()));
    case ptByte:
    case ptWord:
    case ptLong:
      if (cell.HoldsInt32()) return static_cast<int32_t>(cell.Integer());
      return cell.Empty() ? 0 : StrToInt(cell.Text(CurrentFormats()));
    case ptCustom: {
      const std::string text = cell.Text(CurrentFormats());
      return TPalmBytes(text.begin(), text.end());
    }
  }
  return cell.Text(CurrentFormats());
}

namespace {

bool IsIntegerType(TpfgPalmFieldType type) { return type == ptByte || type == ptWord || type == ptLong; }

bool IsFloatType(TpfgPalmFieldType type) { return type == ptSingle || type == ptDouble; }

}  // namespace

// The numbers a cell holds as they are read back through the typed value; every other case
// takes that way.
int32_t TpfgPalmRemoteTable::GetFieldInteger(int index) {
  RequireOpen();
  const TPalmCell& cell = RecordCells().at(index);
  if (cell.HoldsInt32() && IsIntegerType(FieldDefs().Shapes()[index].Type)) return static_cast<int32_t>(cell.Integer());
  return TpfgPalmTable::GetFieldInteger(index);
}

double TpfgPalmRemoteTable::GetFieldFloat(int index) {
  RequireOpen();
  const TPalmCell& cell = RecordCells().at(index);
  const TpfgPalmFieldType type = FieldDefs().Shapes()[index].Type;
  if (cell.Kind() == TPalmCell::TKind::Float && IsFloatType(type)) {
    if (const std::optional<double> rounded = cell.RoundedFloat()) return *rounded;
  }
  if (cell.HoldsInt32() && (IsFloatType(type) || IsIntegerType(type))) return static_cast<double>(cell.Integer());
  return TpfgPalmTable::GetFieldFloat(index);
}

void TpfgPalmRemoteTable::SetFieldFloat(int index, double value) {
  CellToWrite(index).SetFloat(value, CurrentFormats());
}

void TpfgPalmRemoteTable::RefuseWrite() const {
  if (!Active() && !db_saving_) throw EPalmDBError("The operation requires the table to be open");
  throw EPalmDBError("The database is read only");
}

void TpfgPalmRemoteTable::SetFieldText(int index, std::string_view text) { CellToWrite(index).SetText(text); }

void TpfgPalmRemoteTable::SetFieldValue(int index, const TPalmValue& value) {
  TPalmCell& cell = CellToWrite(index);
  if (const auto* text = std::get_if<std::string>(&value)) {
    cell.SetText(std::string_view(*text));
  } else if (const auto* integer = std::get_if<int32_t>(&value)) {
    cell.SetInteger(*integer);
  } else if (const auto* number = std::get_if<double>(&value)) {
    cell.SetFloat(*number, CurrentFormats());
  } else if (const auto* date = std::get_if<TDateTime>(&value)) {
    // Kept as a date: its text, where one is asked for, is the date-time text it always had.
    cell.SetDate(*date);
  } else {
    cell.SetText(PalmValueText(value));
  }
}

void TpfgPalmRemoteTable::SetActive(bool active) {
  if (active) {
    Open();
  } else {
    Close();
  }
}

int TpfgPalmRemoteTable::RecordCount() {
  RequireOpen();
  if (known_record_count_) return *known_record_count_;
  uint32_t count = 0;
  CheckSyncResult(SyncCalls().GetDBRecordCount(handle_, &count));
  known_record_count_ = count > INT_MAX ? INT_MAX : static_cast<int>(count);
  return *known_record_count_;
}

void TpfgPalmRemoteTable::SetRecNo(int index) {
  RequireOpen();
  RequireBrowse();
  if (index < 0 || index > RecordCount()) {
    throw EPalmDBError("The Record Number \"" + std::to_string(index) + "\" could not be found");
  }
  rec_no_ = index;
  ReadCurrentRecord(TReadKind::ByIndex);
}

bool TpfgPalmRemoteTable::Eof() {
  RequireOpen();
  return rec_no_ >= RecordCount();
}

void TpfgPalmRemoteTable::Open() {
  if (Active()) return;
  Notify(OnBeforeOpen);
  uint8_t mode = SYNC_MODE_READ;
  if (!ReadOnly()) mode |= SYNC_MODE_WRITE;
  if (options_.Contains(opShowSecret)) mode |= SYNC_MODE_SECRET;
  uint8_t handle = 0;
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().OpenDB(TableName().c_str(), card_num_, &handle, mode), Detail());
  handle_ = handle;
  state_ = TpfgPalmTableState::dsBrowse;
  try {
    ReadAppInfo();
    ClearRecord();
    rec_no_ = 0;
    ReadCurrentRecord(TReadKind::Navigation);
  } catch (...) {
    // A first record that cannot be read leaves the table closed, as if Open had not happened.
    try {
      Close();
    } catch (...) {
    }
    throw;
  }
  Notify(OnAfterOpen);
}

void TpfgPalmRemoteTable::Close() {
  if (!Active()) return;
  Notify(OnBeforeClose);
  const TSyncManagerCalls& sync = SyncCalls();
  // A block the database never had and nobody filled is not created on the way out.
  if (app_info_.Modified() && (app_info_present_ || app_info_.Size() > 0)) {
    SyncAppInfo block{};
    block.buffer_size = static_cast<uint32_t>(app_info_.Size());
    block.size = static_cast<uint32_t>(app_info_.Size());
    block.data = const_cast<uint8_t*>(app_info_.Bytes().data());
    sync.WriteDBAppInfoBlock(handle_, &block);
  }
  const uint8_t handle = handle_;
  handle_ = 0;
  state_ = TpfgPalmTableState::dsInactive;
  app_info_.Reset();
  app_info_present_ = false;
  known_record_count_.reset();
  CheckSyncResult(sync.CloseDB(handle), Detail());
  Notify(OnAfterClose);
}

bool TpfgPalmRemoteTable::Exists() {
  if (Active()) return true;
  const TSyncManagerCalls& sync = SyncCalls();
  uint8_t handle = 0;
  const int32_t result = sync.OpenDB(TableName().c_str(), card_num_, &handle, SYNC_MODE_READ);
  if (result == SYNCERR_NOT_FOUND) return false;
  CheckSyncResult(result, Detail());
  CheckSyncResult(sync.CloseDB(handle), Detail());
  return true;
}

void TpfgPalmRemoteTable::EmptyTable() {
  const TSyncManagerCalls& sync = SyncCalls();
  if (Active()) {
    RequireBrowse();
    known_record_count_.reset();
    CheckSyncResult(sync.PurgeAllRecs(handle_), Detail());
    rec_no_ = 0;
    record_attributes_ = 0;
    record_id_ = 0;
    ClearRecord();
    return;
  }
  uint8_t handle = 0;
  CheckSyncResult(sync.OpenDB(TableName().c_str(), card_num_, &handle, SYNC_MODE_READ | SYNC_MODE_WRITE), Detail());
  const int32_t purged = sync.PurgeAllRecs(handle);
  const int32_t closed = sync.CloseDB(handle);
  CheckSyncResult(purged, Detail());
  CheckSyncResult(closed, Detail());
}

void TpfgPalmRemoteTable::CreateTable() {
  RequireClosed();
  if (TableName().size() > kMaxTableNameLength) {
    throw EPalmDBError("The TableName \"" + TableName() + "\" is longer than 31 characters");
  }
  if (creator_id_.empty()) Loaded();
  Notify(OnBeforeTableCreate);
  SyncCreateDb params{};
  params.creator = FourCharCodeValue(creator_id_);
  params.flags = db_attributes_;
  params.card_number = card_num_;
  std::memcpy(params.name, TableName().c_str(), TableName().size() + 1);
  params.type = FourCharCodeValue(table_type_);
  params.version = version_;
  uint8_t handle = 0;
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().CreateDB(&params, &handle));
  handle_ = handle;
  state_ = TpfgPalmTableState::dsBrowse;
  rec_no_ = 0;
  record_attributes_ = 0;
  record_id_ = 0;
  ClearRecord();
  Notify(OnAfterTableCreate);
}

void TpfgPalmRemoteTable::DeleteTable() {
  RequireClosed();
  CheckSyncResult(SyncCalls().DeleteDB(TableName().c_str(), card_num_));
}

void TpfgPalmRemoteTable::First() {
  RequireOpen();
  RequireBrowse();
  CheckSyncResult(SyncCalls().ResetRecordIndex(handle_));
  rec_no_ = 0;
  ReadCurrentRecord(TReadKind::Navigation);
}

void TpfgPalmRemoteTable::Last() {
  RequireOpen();
  RequireBrowse();
  rec_no_ = RecordCount();
  ClearRecord();
}

void TpfgPalmRemoteTable::Next() {
  RequireOpen();
  ++rec_no_;
  ReadCurrentRecord(TReadKind::Navigation);
}

void TpfgPalmRemoteTable::Prior() { throw ENotImplError("Prior"); }

void TpfgPalmRemoteTable::Edit() {
  RequireOpen();
  RequireBrowse();
  Notify(OnBeforeEdit);
  state_ = TpfgPalmTableState::dsEdit;
  Notify(OnAfterEdit);
}

void TpfgPalmRemoteTable::Insert() {
  RequireOpen();
  RequireBrowse();
  Notify(OnBeforeInsert);
  state_ = TpfgPalmTableState::dsInsert;
  record_attributes_ = 0;
  ClearRecord();
  Notify(OnAfterInsert);
}

void TpfgPalmRemoteTable::Append() { Insert(); }

void TpfgPalmRemoteTable::Post() {
  RequireEditing();
  Notify(OnBeforePost);
  WriteCurrentRecord(LocalToRemoteRecord());
  Notify(OnAfterPost);
}

bool TpfgPalmRemoteTable::PacksRecordsAlone() const {
  return !ReadOnly() && !OnBeforeInsert && !OnAfterInsert && !OnBeforePost && !OnAfterPost && !OnWriteField;
}

void TpfgPalmRemoteTable::PackRecord(const std::vector<TPalmCell>& cells, std::vector<uint8_t>& bytes) {
  ::LocalToRemoteRecord(FieldDefs(), Layout(), cells, bytes, CurrentFormats(), Hooks());
}

void TpfgPalmRemoteTable::AppendPackedRecord(std::span<const uint8_t> bytes) {
  RequireOpen();
  RequireBrowse();
  if (!PacksRecordsAlone()) throw EPalmDBError("A packed record needs a table without record events");
  state_ = TpfgPalmTableState::dsInsert;
  record_attributes_ = 0;
  WriteCurrentRecord(bytes);
}

void TpfgPalmRemoteTable::WriteCurrentRecord(std::span<const uint8_t> bytes) {
  const bool inserting = state_ == TpfgPalmTableState::dsInsert;
  SyncRecord record{};
  record.db_handle = handle_;
  record.record_id = inserting ? 0 : record_id_;
  record.attributes = record_attributes_;
  record.category = record_category_ == -1 ? 0 : record_category_;
  record.record_size = static_cast<uint32_t>(bytes.size());
  record.buffer_size = static_cast<uint32_t>(bytes.size());
  record.buffer = const_cast<uint8_t*>(bytes.data());
  const std::optional<int> count_before = known_record_count_;
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().WriteRec(&record));
  // A new record adds one to the count, which need not be asked again.
  if (inserting && count_before && *count_before < INT_MAX) known_record_count_ = *count_before + 1;
  record_id_ = record.record_id;
  if (inserting) rec_no_ = RecordCount();
  state_ = TpfgPalmTableState::dsBrowse;
}

void TpfgPalmRemoteTable::Cancel() {
  RequireEditing();
  Notify(OnBeforeCancel);
  state_ = TpfgPalmTableState::dsBrowse;
  Notify(OnAfterCancel);
}

void TpfgPalmRemoteTable::Delete() {
  RequireOpen();
  RequireBrowse();
  if (record_id_ == 0 || record_id_ == UINT32_MAX) throw EPalmDBError("The operation requires an active record");
  Notify(OnBeforeDelete);
  SyncRecord record{};
  record.db_handle = handle_;
  record.record_id = record_id_;
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().DeleteRec(&record));
  ReadCurrentRecord(TReadKind::Navigation);
  Notify(OnAfterDelete);
}

void TpfgPalmRemoteTable::DeleteRecordById(uint32_t id) {
  if (id == record_id_) {
    Delete();
    return;
  }
  RequireOpen();
  SyncRecord record{};
  record.db_handle = handle_;
  record.record_id = id;
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().DeleteRec(&record));
}

bool TpfgPalmRemoteTable::LocateRecordById(uint32_t id) {
  if (id == record_id_) return true;
  RequireOpen();
  RequireBrowse();
  SyncRecord record{};
  record.db_handle = handle_;
  record.record_id = id;
  record.buffer_size = kReadBufferSize;
  record.buffer = ReadBuffer();
  const int32_t result = SyncCalls().ReadRecordById(&record);
  if (result == SYNCERR_NOT_FOUND) {
    rec_no_ = 0;
    record_attributes_ = 0;
    record_id_ = 0;
    ClearRecord();
    return false;
  }
  CheckSyncResult(result);
  if (record.record_size > kReadBufferSize) throw EPalmDBError("The record is larger than 65000 bytes");
  RemoteToLocalRecord(ReadBuffer(), record.record_size);
  rec_no_ = static_cast<int>(record.record_index);
  AdoptDescriptor(record);
  return true;
}

void TpfgPalmRemoteTable::PurgeDeletedRecords() {
  RequireOpen();
  known_record_count_.reset();
  CheckSyncResult(SyncCalls().PurgeDeletedRecs(handle_));
}

void TpfgPalmRemoteTable::LoadAppInfoFromStream(std::istream& stream) {
  RequireOpen();
  if (ReadOnly()) throw EPalmDBError("The database is read only");
  app_info_.LoadFromStream(stream);
}

void TpfgPalmRemoteTable::RemoteToLocalRecord(const uint8_t* data, size_t size) {
  // The layout sets or empties every cell; a read hook still sees the fields after its own empty.
  if (OnReadField) ClearRecord();
  const bool has_data =
      ::RemoteToLocalRecord(FieldDefs(), Layout(), data, size, RecordCells(), CurrentFormats(), Hooks());
  SetNoData(!has_data);
}

const std::vector<uint8_t>& TpfgPalmRemoteTable::LocalToRemoteRecord() {
  ::LocalToRemoteRecord(FieldDefs(), Layout(), RecordCells(), write_buffer_, CurrentFormats(), Hooks());
  return write_buffer_;
}

void TpfgPalmRemoteTable::CheckFieldPacks(int index) {
  if (OnWriteField) {
    LocalToRemoteRecord();
    return;
  }
  const TpfgPalmFieldDef& def = FieldDefs()[index];
  const int32_t width = def.Width();
  // A string packs any text; a field of no fixed width holds nothing to check.
  if (def.DataType() == ptString || width <= 0) return;
  write_buffer_.assign(static_cast<size_t>(width), 0);
  EncodePalmCell(def.DataType(), RecordCells().at(index), write_buffer_.data(), write_buffer_.size(), CurrentFormats());
}

void TpfgPalmRemoteTable::RefuseClosed() { throw EPalmDBError("The operation requires the table to be open"); }

void TpfgPalmRemoteTable::RequireClosed() const {
  if (Active()) throw EPalmDBError("The operation requires the table to be closed");
}

void TpfgPalmRemoteTable::RequireBrowse() const {
  if (state_ == TpfgPalmTableState::dsEdit || state_ == TpfgPalmTableState::dsInsert) {
    throw EPalmDBError("Cannot perform this operation whilst in edit mode");
  }
}

void TpfgPalmRemoteTable::RequireEditing() const {
  if (state_ != TpfgPalmTableState::dsEdit && state_ != TpfgPalmTableState::dsInsert) {
    throw EPalmDBError("The operation requires the table to be in edit or insert mode");
  }
}

void TpfgPalmRemoteTable::Notify(const TpfgNotifyTableEvent& event) {
  if (event) event(*this);
}

TRecordLayout TpfgPalmRemoteTable::Layout() const {
  return TRecordLayout{options_.Contains(opNumAlign), options_.Contains(opStringsAlign)};
}

TRecordHooks TpfgPalmRemoteTable::Hooks() {
  return TRecordHooks{this, OnReadField ? &OnReadField : nullptr, OnWriteField ? &OnWriteField : nullptr};
}

uint8_t* TpfgPalmRemoteTable::ReadBuffer() {
  if (read_buffer_.empty()) read_buffer_.resize(kReadBufferSize);
  return read_buffer_.data();
}

void TpfgPalmRemoteTable::AdoptDescriptor(const SyncRecord& record) {
  record_attributes_ = record.attributes;
  record_id_ = record.record_id;
  record_category_ = static_cast<int8_t>(record.category);
}

bool TpfgPalmRemoteTable::ReadRecordAtRecNo(TReadKind kind, SyncRecord& record) {
  const TSyncManagerCalls& sync = SyncCalls();
  record = SyncRecord{};
  record.db_handle = handle_;
  record.record_index = static_cast<uint32_t>(rec_no_);
  record.buffer_size = kReadBufferSize;
  record.buffer = ReadBuffer();
  const bool filtered = kind == TReadKind::Navigation && category_filter_ != -1;
  const bool modified_only = kind == TReadKind::Navigation && options_.Contains(opModified);
  if (filtered) record.category = category_filter_;
  int32_t result;
  if (filtered) {
    result = modified_only ? sync.ReadNextModifiedRecInCategory(&record) : sync.ReadNextRecInCategory(&record);
  } else {
    result = modified_only ? sync.ReadNextModifiedRec(&record) : sync.ReadRecordByIndex(&record);
  }
  if (result == SYNCERR_NOT_FOUND) return false;
  if (result != 0) CheckSyncResult(result, RecordDetail());
  return true;
}

void TpfgPalmRemoteTable::PassLastRecord() {
  rec_no_ = RecordCount();
  record_attributes_ = 0;
  record_id_ = 0;
  record_category_ = category_filter_;
  ClearRecord();
}

void TpfgPalmRemoteTable::ReadCurrentRecord(TReadKind kind) {
  Notify(OnBeforeRecChange);
  SyncRecord record;
  if (!ReadRecordAtRecNo(kind, record)) {
    PassLastRecord();
  } else {
    if (record.record_size > kReadBufferSize) {
      throw EPalmDBError("The record at index " + std::to_string(rec_no_) + " is larger than 65000 bytes");
    }
    try {
      RemoteToLocalRecord(ReadBuffer(), record.record_size);
    } catch (const EPalmDBError& error) {
      // The layout knows the bytes, the table knows whose they are.
      throw EPalmDBError(std::string(error.what()) + ": " + TableName() + ", record " + std::to_string(rec_no_ + 1));
    }
    AdoptDescriptor(record);
  }
  Notify(OnAfterRecChange);
}

std::vector<uint32_t> TpfgPalmRemoteTable::ReadRecordIds() {
  RequireOpen();
  std::vector<uint32_t> ids;
  ids.reserve(static_cast<size_t>(std::max(RecordCount() - rec_no_, 0)));
  while (!Eof()) {
    ids.push_back(record_id_);
    ++rec_no_;
    SyncRecord record;
    if (!ReadRecordAtRecNo(TReadKind::Navigation, record)) break;
    AdoptDescriptor(record);
  }
  PassLastRecord();
  return ids;
}

void TpfgPalmRemoteTable::ReadAppInfo() {
  app_info_.Reset();
  SyncAppInfo block{};
  block.buffer_size = kReadBufferSize;
  block.data = ReadBuffer();
  // The result is ignored: a database without a block simply has an empty one.
  app_info_present_ = SyncCalls().ReadDBAppInfoBlock(handle_, &block) == 0 && block.size <= kReadBufferSize;
  if (app_info_present_) {
    app_info_.LoadFromBytes(ReadBuffer(), block.size);
  } else {
    app_info_.LoadFromBytes(nullptr, 0);
  }
}
