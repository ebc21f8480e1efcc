// TpfgPalmRemoteTable: one handheld database reached through the Sync Manager during a HotSync,
// seen as a table with a current record, typed fields and dataset-style navigation and editing.
// Sync Manager failures raise EPalmSyncError; misuse raises EPalmDBError.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "palmdb/modified_memory_stream.h"
#include "palmdb/palm_table.h"
#include "palmdb/record_layout.h"

struct SyncRecord;

enum TpfgPalmRemoteTableOption : uint8_t { opShowSecret, opArchived, opModified, opStringsAlign, opNumAlign };

class TpfgPalmRemoteTableOptions {
 public:
  constexpr TpfgPalmRemoteTableOptions() = default;
  constexpr TpfgPalmRemoteTableOptions(std::initializer_list<TpfgPalmRemoteTableOption> options) {
    for (TpfgPalmRemoteTableOption option : options) bits_ |= static_cast<uint8_t>(1u << option);
  }
  constexpr bool Contains(TpfgPalmRemoteTableOption option) const { return (bits_ >> option) & 1u; }
  constexpr bool operator==(const TpfgPalmRemoteTableOptions&) const = default;

 private:
  uint8_t bits_ = 0;
};

using TpfgNotifyTableEvent = std::function<void(TpfgPalmTable& Sender)>;

class TpfgPalmRemoteTable : public TpfgPalmTable {
 public:
  // The largest record (and application info block) the table reads.
  static constexpr uint32_t kReadBufferSize = 65000;

  explicit TpfgPalmRemoteTable(std::string name);
  // Closes an open table; an error of that close is ignored.
  ~TpfgPalmRemoteTable() override;

  // Configuration. Changing the name, creator, type, version or options closes the table first.
  void SetTableName(std::string name) override;
  const std::string& CreatorID() const { return creator_id_; }
  // Exactly 4 characters 32..127, else ECreatorIDError "The Creator ID \"%s\" is invalid".
  void SetCreatorID(const std::string& id);
  const std::string& TableType() const { return table_type_; }
  // Exactly 4 characters 32..127, else EPalmDBError "The TableType \"%s\" is invalid".
  void SetTableType(const std::string& type);
  uint16_t Version() const { return version_; }
  void SetVersion(uint16_t version);
  TpfgPalmRemoteTableOptions Options() const { return options_; }
  void SetOptions(TpfgPalmRemoteTableOptions options);
  int8_t CategoryFilter() const { return category_filter_; }
  // -1 or 0..14 on an open table in browse state; the record at RecNo is then read again.
  void SetCategoryFilter(int8_t category);
  uint16_t CardNum() const { return card_num_; }
  void SetCardNum(uint16_t card) { card_num_ = card; }
  bool DbSaving() const { return db_saving_; }
  // Allows field writes on a closed table; switching it on empties the current record.
  void SetDbSaving(bool saving);
  // The database attribute word given to CreateTable (0 in this system).
  void SetDbAttributes(uint16_t attributes) { db_attributes_ = attributes; }
  // Ends the configuration: an empty CreatorID takes the conduit component's creator ID.
  void Loaded();

  TPalmValue GetFieldValue(int index) override;
  void SetFieldValue(int index, const TPalmValue& value) override;
  void SetFieldText(int index, std::string_view text) override;
  int32_t GetFieldInteger(int index) override;
  double GetFieldFloat(int index) override;
  void SetFieldInteger(int index, int32_t value) override { CellToWrite(index).SetInteger(value); }
  void SetFieldFloat(int index, double value) override;
  void SetFieldDate(int index, TDateTime value) override { CellToWrite(index).SetDate(value); }

  uint8_t RecordAttributes() const override { return record_attributes_; }
  void SetRecordAttributes(uint8_t attributes) override { record_attributes_ = attributes; }
  uint32_t RecordId() const override { return record_id_; }
  void SetRecordId(uint32_t id) override { record_id_ = id; }
  int8_t RecordCategory() const override { return record_category_; }
  void SetRecordCategory(int8_t category) override { record_category_ = category; }

  bool Active() const override { return handle_ != 0; }
  void SetActive(bool active) override;
  TpfgPalmTableState State() const override { return state_; }

  int RecordCount() override;
  int RecNo() const override { return rec_no_; }
  void SetRecNo(int index) override;
  bool Bof() const override { return rec_no_ == 0; }
  bool Eof() override;
  void Open() override;
  void Close() override;
  bool Exists() override;
  void EmptyTable() override;
  void CreateTable() override;
  void DeleteTable() override;
  void First() override;
  void Last() override;
  void Next() override;
  void Prior() override;
  void Edit() override;
  void Insert() override;
  void Append() override;
  void Post() override;
  void Cancel() override;
  void Delete() override;
  void DeleteRecordById(uint32_t id);
  bool LocateRecordById(uint32_t id);
  void PurgeDeletedRecords();
  // The IDs of the current record and of every record Next would go on to, without converting
  // their values; the table is left at its end.
  std::vector<uint32_t> ReadRecordIds();

  // The application info block of the open database (empty when it has none).
  const TpfgModifiedMemoryStream& AppInfo() const { return app_info_; }
  // Replaces the block's bytes; written back by Close. Needs an open table that is not ReadOnly.
  void LoadAppInfoFromStream(std::istream& stream);

  // For writers that pack whole records themselves: true when the table is writable and no
  // record event or field hook has to see each record, so that a record packed by PackRecord
  // and written by AppendPackedRecord is the one Insert, field writes and Post would write.
  bool PacksRecordsAlone() const;
  // Packs one cell per field as Post packs the current record, failing as Post would.
  void PackRecord(const std::vector<TPalmCell>& cells, std::vector<uint8_t>& bytes);
  // Insert and Post of a record PackRecord packed, on an open table that packs records alone;
  // the current record's cells stay as they were.
  void AppendPackedRecord(std::span<const uint8_t> bytes);

  // The record layout over the current record (what Open, Next and Post use).
  void RemoteToLocalRecord(const uint8_t* data, size_t size);
  const std::vector<uint8_t>& LocalToRemoteRecord();
  // Packs the current record's value of one field alone, failing as LocalToRemoteRecord would on
  // it; a table whose fields a write hook may supply packs the whole record.
  void CheckFieldPacks(int index);

  TpfgNotifyTableEvent OnBeforeOpen, OnAfterOpen, OnBeforeClose, OnAfterClose;
  TpfgNotifyTableEvent OnBeforeRecChange, OnAfterRecChange;
  TpfgNotifyTableEvent OnBeforeEdit, OnAfterEdit, OnBeforeInsert, OnAfterInsert;
  TpfgNotifyTableEvent OnBeforePost, OnAfterPost, OnBeforeCancel, OnAfterCancel;
  TpfgNotifyTableEvent OnBeforeTableCreate, OnAfterTableCreate, OnBeforeDelete, OnAfterDelete;
  TpfgPalmReadFieldEvent OnReadField;
  TpfgPalmWriteFieldEvent OnWriteField;

 private:
  enum class TReadKind { Navigation, ByIndex };

  // What a Sync Manager error of this table is about: "(<database name>)".
  std::string Detail() const { return "(" + TableName() + ")"; }
  // The same for the record at RecNo: "(<database name>, record <RecNo + 1>)".
  std::string RecordDetail() const { return "(" + TableName() + ", record " + std::to_string(rec_no_ + 1) + ")"; }
  void RequireOpen() const {
    if (handle_ == 0) [[unlikely]]
      RefuseClosed();
  }
  [[noreturn, gnu::cold]] static void RefuseClosed();
  void RequireClosed() const;
  void RequireBrowse() const;
  void RequireEditing() const;
  // Writes the bytes as the current record (a new one in dsInsert) and goes back to dsBrowse.
  void WriteCurrentRecord(std::span<const uint8_t> bytes);
  // The current record's cell a value is written to; throws EPalmDBError unless the table is
  // open (or saving the values of a closed one) and writable.
  TPalmCell& CellToWrite(int index) {
    if ((handle_ == 0 && !db_saving_) || ReadOnly()) [[unlikely]]
      RefuseWrite();
    return RecordCells().at(index);
  }
  [[noreturn, gnu::cold]] void RefuseWrite() const;
  void Notify(const TpfgNotifyTableEvent& event);
  TRecordLayout Layout() const;
  TRecordHooks Hooks();
  uint8_t* ReadBuffer();
  // Reads the record at RecNo; "not found" positions the table after its last record.
  void ReadCurrentRecord(TReadKind kind);
  // The Sync Manager read behind ReadCurrentRecord: the record at RecNo into the read buffer;
  // false when there is none, an exception naming the record for any other failure.
  bool ReadRecordAtRecNo(TReadKind kind, SyncRecord& record);
  // Takes the attributes, ID and category of the record just read.
  void AdoptDescriptor(const SyncRecord& record);
  // After a read found no record: the table stands after its last record, with none current.
  void PassLastRecord();
  void ReadAppInfo();

  std::string creator_id_;
  std::string table_type_ = "DATA";
  uint16_t version_ = 256;
  TpfgPalmRemoteTableOptions options_;
  int8_t category_filter_ = -1;
  uint16_t card_num_ = 0;
  bool db_saving_ = false;
  uint16_t db_attributes_ = 0;

  uint8_t handle_ = 0;
  TpfgPalmTableState state_ = TpfgPalmTableState::dsInactive;
  int rec_no_ = 0;
  // The open database's record count as last asked; forgotten by every call that may change it.
  std::optional<int> known_record_count_;
  uint32_t record_id_ = 0;
  uint8_t record_attributes_ = 0;
  int8_t record_category_ = -1;
  TpfgModifiedMemoryStream app_info_;
  bool app_info_present_ = false;
  std::vector<uint8_t> read_buffer_;
  std::vector<uint8_t> write_buffer_;
};
