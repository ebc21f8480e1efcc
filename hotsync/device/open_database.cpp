// Record lookups and the "next record" walks of one open database.
#include "hotsync/device/open_database.h"

#include <utility>

#include "api/sync_manager.h"
#include "hotsync/device/sync_result.h"

OpenDatabase::OpenDatabase(std::string path, uint8_t mode, DeviceDatabase database, bool is_new)
    : path_(std::move(path)), mode_(mode), database_(std::move(database)), is_new_(is_new) {}

void OpenDatabase::RequireWritable() const {
  if (!(mode_ & SYNC_MODE_WRITE))
    throw ESyncResult(SYNCERR_BAD_ARGUMENT, "database \"" + Name() + "\" is open for reading only");
}

uint32_t OpenDatabase::IndexOf(uint32_t index) const {
  if (index >= database_.RecordCount())
    throw ESyncResult(SYNCERR_NOT_FOUND, "no record at index " + std::to_string(index));
  return index;
}

uint32_t OpenDatabase::IndexOfId(uint32_t id) const {
  const auto index = database_.IndexOfId(id);
  if (!index) throw ESyncResult(SYNCERR_NOT_FOUND, "no record with ID " + std::to_string(id));
  return *index;
}

template <class Predicate>
uint32_t OpenDatabase::NextWhere(Predicate wanted) {
  const bool show_secret = mode_ & SYNC_MODE_SECRET;
  while (next_index_ < database_.RecordCount()) {
    const uint32_t index = next_index_++;
    const PdbRecord& record = database_.RecordAt(index);
    if ((show_secret || !(record.flags & kRecordSecret)) && wanted(record)) return index;
  }
  throw ESyncResult(SYNCERR_NOT_FOUND, "no further record");
}

uint32_t OpenDatabase::NextModified() {
  return NextWhere([](const PdbRecord& r) { return (r.flags & kRecordDirty) != 0; });
}

uint32_t OpenDatabase::NextInCategory(uint8_t category) {
  return NextWhere([category](const PdbRecord& r) { return r.category == category; });
}

uint32_t OpenDatabase::NextModifiedInCategory(uint8_t category) {
  return NextWhere([category](const PdbRecord& r) { return (r.flags & kRecordDirty) && r.category == category; });
}
