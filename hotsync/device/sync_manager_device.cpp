// The Sync Manager's database and record operations of the C interface, over the connected
// Device. One guard turns every error into its result code and says why on stderr.
// The handheld has one memory card: card numbers are accepted and not looked at.
#include <algorithm>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "api/sync_manager.h"
#include "hotsync/device/device.h"
#include "hotsync/device/sync_result.h"

namespace {

std::optional<Device>& Connection() {
  static std::optional<Device> device;
  return device;
}

Device& Connected() {
  if (!Connection()) throw ESyncResult(kSyncErrNotConnected, "no handheld is connected");
  return *Connection();
}

// The last failure, for the host's log: code and why, until the host takes it.
struct TFailure {
  int32_t Code = SYNCERR_NONE;
  std::string Detail;
};

TFailure& LastFailure() {
  static TFailure failure;
  return failure;
}

// Runs operation; "not found" is an ordinary answer and is neither reported nor kept.
template <class Operation>
int32_t Guard(const char* function, Operation&& operation) noexcept {
  int32_t code = SYNCERR_NONE;
  const auto report = [function, &code](int32_t failed, const char* why) noexcept {
    code = failed;
    if (failed == SYNCERR_NOT_FOUND) return;
    std::cerr << "libsync20.so: " << function << ": " << why << '\n';
    try {
      LastFailure() = TFailure{failed, why};
    } catch (...) {
      LastFailure().Code = failed;
    }
  };
  try {
    operation();
  } catch (const ESyncResult& e) {
    report(e.Code(), e.what());
  } catch (const std::bad_alloc&) {
    report(kSyncErrNoRoom, "out of memory");
  } catch (const std::exception& e) {
    report(kSyncErrNonspecific, e.what());
  }
  return code;
}

template <class T>
T& Required(T* pointer) {
  if (!pointer) throw ESyncResult(SYNCERR_BAD_ARGUMENT, "a required pointer is null");
  return *pointer;
}

// Copies bytes to a caller's buffer of capacity bytes; a buffer too small is an error, never a cut.
void CopyOut(std::string_view bytes, void* buffer, uint32_t capacity) {
  if (bytes.size() > capacity)
    throw ESyncResult(SYNCERR_BAD_ARGUMENT,
                      std::to_string(bytes.size()) + " bytes do not fit a buffer of " + std::to_string(capacity));
  if (!bytes.empty()) std::memcpy(&Required(static_cast<char*>(buffer)), bytes.data(), bytes.size());
}

std::string_view ViewIn(const void* buffer, uint32_t size) {
  if (size == 0) return {};
  return std::string_view(&Required(static_cast<const char*>(buffer)), size);
}

std::string CopyIn(const void* buffer, uint32_t size) { return std::string(ViewIn(buffer, size)); }

uint8_t CategoryOf(const SyncRecord& record) {
  if (record.category < 0 || record.category > kRecordCategoryMask)
    throw ESyncResult(SYNCERR_BAD_ARGUMENT, "category " + std::to_string(record.category) + " is not 0..15");
  return static_cast<uint8_t>(record.category);
}

// Fills the descriptor with the record at index; the record size is set even when the buffer is short.
void Describe(SyncRecord& out, const OpenDatabase& database, uint32_t index) {
  const PdbRecord& record = database.Database().RecordAt(index);
  out.record_id = record.unique_id;
  out.record_index = index;
  out.attributes = record.flags;
  out.category = record.category;
  out.record_size = static_cast<uint32_t>(record.data.size());
  CopyOut(record.data, out.buffer, out.buffer_size);
}

// One record read: find picks the index on the descriptor's open database.
template <class Find>
int32_t ReadRecord(const char* function, SyncRecord* record, Find find) {
  return Guard(function, [&] {
    SyncRecord& descriptor = Required(record);
    OpenDatabase& database = Connected().At(descriptor.db_handle);
    const uint32_t position = database.WalkPosition();
    try {
      Describe(descriptor, database, find(database, descriptor));
    } catch (const ESyncResult&) {
      database.SetWalkPosition(position);
      throw;
    }
  });
}

}  // namespace

PALM_API int32_t SyncHostConnect(const char* device_directory) {
  return Guard("SyncHostConnect", [&] {
    Connection().reset();
    LastFailure() = TFailure{};
    Connection().emplace(&Required(device_directory));
  });
}

PALM_API void SyncHostDisconnect(void) {
  Guard("SyncHostDisconnect", [] { Connection().reset(); });
}

PALM_API void SyncHostDiscard(void) {
  Guard("SyncHostDiscard", [] {
    if (Connection()) Connection()->Discard();
    Connection().reset();
  });
}

PALM_API int32_t SyncHostTakeFailure(char* detail, uint32_t capacity) {
  TFailure failure = std::exchange(LastFailure(), TFailure{});
  if (detail != nullptr && capacity > 0) {
    const size_t size = std::min<size_t>(failure.Detail.size(), capacity - 1);
    std::memcpy(detail, failure.Detail.data(), size);
    detail[size] = '\0';
  }
  return failure.Code;
}

PALM_API int32_t SyncOpenDB(const char* name, int32_t, uint8_t* handle, uint8_t open_mode) {
  return Guard("SyncOpenDB", [&] { Required(handle) = Connected().Open(&Required(name), open_mode); });
}

PALM_API int32_t SyncCreateDB(const SyncCreateDb* params, uint8_t* handle) {
  return Guard("SyncCreateDB", [&] {
    const SyncCreateDb& in = Required(params);
    const size_t name_length = strnlen(in.name, sizeof in.name);
    if (name_length == sizeof in.name) throw ESyncResult(SYNCERR_BAD_ARGUMENT, "database name is not zero-terminated");
    Required(handle) =
        Connected().Create({std::string(in.name, name_length), in.creator, in.type, in.version, in.flags});
  });
}

PALM_API int32_t SyncCloseDB(uint8_t handle) {
  return Guard("SyncCloseDB", [&] { Connected().Close(handle); });
}

PALM_API int32_t SyncDeleteDB(const char* name, int32_t) {
  return Guard("SyncDeleteDB", [&] { Connected().Delete(&Required(name)); });
}

PALM_API int32_t SyncGetDBRecordCount(uint8_t handle, uint32_t* count) {
  return Guard("SyncGetDBRecordCount", [&] { Required(count) = Connected().At(handle).Database().RecordCount(); });
}

PALM_API int32_t SyncPurgeAllRecs(uint8_t handle) {
  return Guard("SyncPurgeAllRecs", [&] {
    OpenDatabase& database = Connected().At(handle);
    database.RequireWritable();
    database.Database().PurgeAllRecords();
  });
}

PALM_API int32_t SyncPurgeDeletedRecs(uint8_t handle) {
  return Guard("SyncPurgeDeletedRecs", [&] {
    OpenDatabase& database = Connected().At(handle);
    database.RequireWritable();
    database.Database().PurgeDeletedRecords();
  });
}

PALM_API int32_t SyncReadDBAppInfoBlock(uint8_t handle, SyncAppInfo* block) {
  return Guard("SyncReadDBAppInfoBlock", [&] {
    SyncAppInfo& out = Required(block);
    const std::string& bytes = Connected().At(handle).Database().AppInfo();
    out.size = static_cast<uint32_t>(bytes.size());
    if (bytes.empty()) throw ESyncResult(SYNCERR_NOT_FOUND, "the database has no application info block");
    CopyOut(bytes, out.data, out.buffer_size);
  });
}

PALM_API int32_t SyncWriteDBAppInfoBlock(uint8_t handle, const SyncAppInfo* block) {
  return Guard("SyncWriteDBAppInfoBlock", [&] {
    const SyncAppInfo& in = Required(block);
    if (in.size > kMaxRecordSize)
      throw ESyncResult(kSyncErrNoRoom,
                        "an application info block of " + std::to_string(in.size) + " bytes is too large");
    OpenDatabase& database = Connected().At(handle);
    std::string bytes = CopyIn(in.data, in.size);
    // Writing back the block as it stands changes nothing, so a read-only handle may do it.
    if (bytes == database.Database().AppInfo()) return;
    database.RequireWritable();
    database.Database().SetAppInfo(std::move(bytes));
  });
}

PALM_API int32_t SyncResetRecordIndex(uint8_t handle) {
  return Guard("SyncResetRecordIndex", [&] { Connected().At(handle).ResetIndex(); });
}

PALM_API int32_t SyncReadRecordByIndex(SyncRecord* record) {
  return ReadRecord("SyncReadRecordByIndex", record,
                    [](OpenDatabase& db, const SyncRecord& r) { return db.IndexOf(r.record_index); });
}

PALM_API int32_t SyncReadRecordById(SyncRecord* record) {
  return ReadRecord("SyncReadRecordById", record,
                    [](OpenDatabase& db, const SyncRecord& r) { return db.IndexOfId(r.record_id); });
}

PALM_API int32_t SyncReadNextModifiedRec(SyncRecord* record) {
  return ReadRecord("SyncReadNextModifiedRec", record,
                    [](OpenDatabase& db, const SyncRecord&) { return db.NextModified(); });
}

PALM_API int32_t SyncReadNextRecInCategory(SyncRecord* record) {
  return ReadRecord("SyncReadNextRecInCategory", record,
                    [](OpenDatabase& db, const SyncRecord& r) { return db.NextInCategory(CategoryOf(r)); });
}

PALM_API int32_t SyncReadNextModifiedRecInCategory(SyncRecord* record) {
  return ReadRecord("SyncReadNextModifiedRecInCategory", record,
                    [](OpenDatabase& db, const SyncRecord& r) { return db.NextModifiedInCategory(CategoryOf(r)); });
}

PALM_API int32_t SyncWriteRec(SyncRecord* record) {
  return Guard("SyncWriteRec", [&] {
    SyncRecord& descriptor = Required(record);
    OpenDatabase& database = Connected().At(descriptor.db_handle);
    database.RequireWritable();
    if (descriptor.record_size > kMaxRecordSize)
      throw ESyncResult(kSyncErrNoRoom,
                        "a record of " + std::to_string(descriptor.record_size) + " bytes is too large");
    const uint32_t index =
        database.Database().WriteRecord(descriptor.record_id, descriptor.attributes, CategoryOf(descriptor),
                                        ViewIn(descriptor.buffer, descriptor.record_size));
    descriptor.record_id = database.Database().RecordAt(index).unique_id;
    descriptor.record_index = index;
  });
}

PALM_API int32_t SyncDeleteRec(SyncRecord* record) {
  return Guard("SyncDeleteRec", [&] {
    SyncRecord& descriptor = Required(record);
    OpenDatabase& database = Connected().At(descriptor.db_handle);
    database.RequireWritable();
    if (!database.Database().DeleteRecord(descriptor.record_id))
      throw ESyncResult(SYNCERR_NOT_FOUND, "no record with ID " + std::to_string(descriptor.record_id));
  });
}
