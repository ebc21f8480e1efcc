// The handheld's record rules over a database in memory.
#include "hotsync/device/device_database.h"

#include <algorithm>
#include <utility>

#include "api/sync_manager.h"
#include "hotsync/device/sync_result.h"

namespace {

bool IdsRise(const std::vector<PdbRecord>& records) {
  uint32_t before = 0;
  for (const PdbRecord& record : records) {
    if (record.unique_id <= before) return false;
    before = record.unique_id;
  }
  return true;
}

}  // namespace

DeviceDatabase::DeviceDatabase(PdbDatabase contents) : contents_(std::move(contents)) {
  next_id_ = std::max<uint32_t>(1, contents_.unique_id_seed);
  if (IdsRise(contents_.records)) {
    if (!contents_.records.empty()) next_id_ = std::max(next_id_, contents_.records.back().unique_id + 1);
    return;
  }
  ids_rise_ = false;
  std::vector<uint32_t> needing_ids;
  index_of_id_.Reserve(contents_.records.size());
  for (uint32_t i = 0; i < RecordCount(); ++i) {
    const uint32_t id = contents_.records[i].unique_id;
    if (id == 0 || !index_of_id_.Insert(id, i)) {
      needing_ids.push_back(i);
      continue;
    }
    if (id >= next_id_) next_id_ = id + 1;
  }
  for (uint32_t index : needing_ids) {
    const uint32_t id = FreshId();
    contents_.records[index].unique_id = id;
    index_of_id_.Insert(id, index);
  }
}

void DeviceDatabase::StampForSaving(uint32_t modification_date) {
  contents_.modification_date = modification_date;
  ++contents_.modification_number;
  contents_.unique_id_seed = next_id_;
}

std::optional<uint32_t> DeviceDatabase::IndexOfId(uint32_t id) const {
  if (id == 0) return std::nullopt;  // no record has it: it asks for a new one
  if (!ids_rise_) return index_of_id_.Find(id);
  const auto& records = contents_.records;
  const auto found = std::lower_bound(records.begin(), records.end(), id,
                                      [](const PdbRecord& record, uint32_t wanted) { return record.unique_id < wanted; });
  if (found == records.end() || found->unique_id != id) return std::nullopt;
  return static_cast<uint32_t>(found - records.begin());
}

uint32_t DeviceDatabase::FreshId() {
  if (next_id_ <= kMaxRecordId) return next_id_++;
  // The seed has run through all 24 bits: hand out the lowest ID no record holds.
  for (uint32_t id = 1; id <= kMaxRecordId; ++id)
    if (!IndexOfId(id)) return id;
  throw ESyncResult(kSyncErrNoRoom, "database \"" + contents_.name + "\" has no record ID left");
}

uint32_t DeviceDatabase::WriteRecord(uint32_t id, uint8_t flags, uint8_t category, std::string_view data) {
  if (data.size() > kMaxRecordSize)
    throw ESyncResult(kSyncErrNoRoom, "a record of " + std::to_string(data.size()) + " bytes is larger than " +
                                          std::to_string(kMaxRecordSize));
  if (id > kMaxRecordId)
    throw ESyncResult(SYNCERR_BAD_ARGUMENT, "record ID " + std::to_string(id) + " does not fit in 24 bits");
  if (category > kRecordCategoryMask)
    throw ESyncResult(SYNCERR_BAD_ARGUMENT, "category " + std::to_string(category) + " is not 0..15");
  changed_ = true;
  PdbRecord record{static_cast<uint8_t>(flags & kRecordFlagsMask), category, id, contents_.Keep(data)};
  if (const auto index = IndexOfId(id)) {
    contents_.records[*index] = record;
    return *index;
  }
  if (id == 0)
    record.unique_id = FreshId();
  else if (id >= next_id_)
    next_id_ = id + 1;
  const uint32_t index = RecordCount();
  if (ids_rise_ && !contents_.records.empty() && record.unique_id <= contents_.records.back().unique_id) IndexIds();
  if (!ids_rise_) index_of_id_.Insert(record.unique_id, index);
  contents_.records.push_back(record);
  return index;
}

bool DeviceDatabase::DeleteRecord(uint32_t id) {
  const auto index = IndexOfId(id);
  if (!index) return false;
  contents_.records.erase(contents_.records.begin() + *index);
  if (!ids_rise_) RebuildIdIndex();
  changed_ = true;
  return true;
}

void DeviceDatabase::PurgeAllRecords() {
  if (contents_.records.empty()) return;
  contents_.records.clear();
  contents_.file.Bytes.reset();
  contents_.file.Written.reset();
  index_of_id_.Clear();
  ids_rise_ = true;
  changed_ = true;
}

void DeviceDatabase::PurgeDeletedRecords() {
  const size_t removed = std::erase_if(contents_.records, [](const PdbRecord& r) { return r.flags & kRecordDeleted; });
  if (removed == 0) return;
  if (!ids_rise_) RebuildIdIndex();
  changed_ = true;
}

void DeviceDatabase::SetAppInfo(std::string bytes) {
  if (bytes == contents_.app_info) return;
  contents_.app_info = std::move(bytes);
  changed_ = true;
}

void DeviceDatabase::IndexIds() {
  ids_rise_ = false;
  RebuildIdIndex();
}

void DeviceDatabase::RebuildIdIndex() {
  index_of_id_.Clear();
  index_of_id_.Reserve(contents_.records.size());
  for (uint32_t i = 0; i < RecordCount(); ++i) index_of_id_.Insert(contents_.records[i].unique_id, i);
}
