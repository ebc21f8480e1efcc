// DeviceDatabase: one handheld database held in memory, with the handheld's rules for records:
// unique IDs (a new record gets a fresh one from the seed), flags and category per record.
// While the IDs rise from record to record, as the handheld hands them out, an ID is looked up
// by a binary search; only a database whose IDs do not rise keeps an index of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hotsync/device/pdb_file.h"
#include "hotsync/device/record_id_index.h"

// The largest record the handheld stores, in bytes.
constexpr size_t kMaxRecordSize = 65535;
// The largest record ID: IDs take three bytes in the file.
constexpr uint32_t kMaxRecordId = 0xFFFFFF;

class DeviceDatabase {
 public:
  // Records without an ID, or with one an earlier record already holds, get fresh IDs (the same
  // ones every time the same file is loaded); that alone does not count as a change.
  explicit DeviceDatabase(PdbDatabase contents);

  const PdbDatabase& Contents() const { return contents_; }
  // True once anything was written, deleted or purged since loading or since MarkSaved.
  bool Changed() const { return changed_; }
  void MarkChanged() { changed_ = true; }
  // Stamps the modification date and number and the seed into the header, ready to be saved.
  void StampForSaving(uint32_t modification_date);
  void MarkSaved() { changed_ = false; }

  uint32_t RecordCount() const { return static_cast<uint32_t>(contents_.records.size()); }
  const PdbRecord& RecordAt(uint32_t index) const { return contents_.records.at(index); }
  std::optional<uint32_t> IndexOfId(uint32_t id) const;

  // Writes the record with this ID, or a new one for ID 0 (an unknown ID makes a record with
  // that ID). Returns the record's index. Throws ESyncResult for a record too large, an ID over
  // 24 bits or a category over 15.
  // The database keeps its own copy of the bytes.
  uint32_t WriteRecord(uint32_t id, uint8_t flags, uint8_t category, std::string_view data);
  // Removes the record; false when no record has this ID.
  bool DeleteRecord(uint32_t id);
  void PurgeAllRecords();
  void PurgeDeletedRecords();

  const std::string& AppInfo() const { return contents_.app_info; }
  void SetAppInfo(std::string bytes);

 private:
  uint32_t FreshId();
  // Gives up the rising IDs: from now on the index says where each ID is.
  void IndexIds();
  void RebuildIdIndex();

  PdbDatabase contents_;
  bool ids_rise_ = true;      // each record's ID is above the one before it; no index is kept
  RecordIdIndex index_of_id_;  // only while the IDs do not rise
  uint32_t next_id_ = 1;
  bool changed_ = false;
};
