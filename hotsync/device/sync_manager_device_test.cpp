#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "api/sync_manager.h"
#include "core/atomic_file.h"
#include "hotsync/device/pdb_file.h"
#include "hotsync/device/sync_result.h"
#include "hotsync/device/temp_device_directory.h"

namespace {

class SyncManagerDevice : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SyncHostConnect(dir_.Path().c_str()), 0); }
  void TearDown() override { SyncHostDisconnect(); }

  uint8_t Create(const char* name) {
    SyncCreateDb params{0x5771747A, 0, 0, {}, 0x44415441, 256};
    std::strncpy(params.name, name, sizeof params.name - 1);
    uint8_t handle = 0;
    EXPECT_EQ(SyncCreateDB(&params, &handle), 0);
    return handle;
  }

  static uint32_t Write(uint8_t handle, uint32_t id, uint8_t attributes, int16_t category, std::string bytes) {
    SyncRecord record{handle, id, 0, attributes, category, static_cast<uint32_t>(bytes.size()), 0, bytes.data()};
    EXPECT_EQ(SyncWriteRec(&record), 0);
    return record.record_id;
  }

  struct Read {
    int32_t result;
    SyncRecord record;
    std::string bytes;
  };

  template <class Function>
  Read ReadWith(Function function, SyncRecord record) {
    buffer_.assign(100, '\0');
    record.buffer = buffer_.data();
    record.buffer_size = static_cast<uint32_t>(buffer_.size());
    const int32_t result = function(&record);
    return {result, record, std::string(buffer_.data(), result == 0 ? record.record_size : 0)};
  }

  TempDeviceDirectory dir_;
  std::vector<char> buffer_;
};

TEST_F(SyncManagerDevice, WritesAndReadsRecordsAsTheDescriptorSays) {
  const uint8_t handle = Create("Zembra_OrderDB");
  EXPECT_EQ(Write(handle, 0, 0, 3, "first"), 1u);
  EXPECT_EQ(Write(handle, 0, kRecordSecret, 0, "second"), 2u);
  EXPECT_EQ(Write(handle, 1, kRecordDirty, 4, "FIRST"), 1u);
  uint32_t count = 0;
  ASSERT_EQ(SyncGetDBRecordCount(handle, &count), 0);
  EXPECT_EQ(count, 2u);

  SyncRecord by_index{};
  by_index.db_handle = handle;
  const Read first = ReadWith(SyncReadRecordByIndex, by_index);
  ASSERT_EQ(first.result, 0);
  EXPECT_EQ(first.bytes, "FIRST");
  EXPECT_EQ(first.record.record_id, 1u);
  EXPECT_EQ(first.record.attributes, kRecordDirty);
  EXPECT_EQ(first.record.category, 4);
  by_index.record_index = 2;
  EXPECT_EQ(ReadWith(SyncReadRecordByIndex, by_index).result, SYNCERR_NOT_FOUND);

  SyncRecord by_id{};
  by_id.db_handle = handle;
  by_id.record_id = 2;
  const Read second = ReadWith(SyncReadRecordById, by_id);
  EXPECT_EQ(second.bytes, "second");
  EXPECT_EQ(second.record.record_index, 1u);
  by_id.record_id = 99;
  EXPECT_EQ(ReadWith(SyncReadRecordById, by_id).result, SYNCERR_NOT_FOUND);

  SyncRecord small{handle, 0, 0, 0, 0, 0, 2, buffer_.data()};
  EXPECT_EQ(SyncReadRecordByIndex(&small), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(small.record_size, 5u);  // the size needed, nothing cut
  SyncRecord small_next{handle, 0, 0, 0, 0, 0, 2, buffer_.data()};
  EXPECT_EQ(SyncReadNextModifiedRec(&small_next), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(ReadWith(SyncReadNextModifiedRec, small_next).bytes, "FIRST");  // a retry gets the same record

  SyncRecord bad_category{handle, 0, 0, 0, 16, 1, 0, buffer_.data()};
  EXPECT_EQ(SyncWriteRec(&bad_category), SYNCERR_BAD_ARGUMENT);

  SyncRecord gone{handle, 1, 0, 0, 0, 0, 0, nullptr};
  EXPECT_EQ(SyncDeleteRec(&gone), 0);
  EXPECT_EQ(SyncDeleteRec(&gone), SYNCERR_NOT_FOUND);
  EXPECT_EQ(SyncCloseDB(handle), 0);
  EXPECT_EQ(SyncCloseDB(handle), SYNCERR_NOT_OPEN);
}

TEST_F(SyncManagerDevice, NextReadsWalkByCategoryAndModificationHidingSecretRecords) {
  const uint8_t handle = Create("Walk");
  Write(handle, 0, kRecordDirty, 1, "a");
  Write(handle, 0, 0, 1, "b");
  Write(handle, 0, kRecordDirty | kRecordSecret, 1, "secret");
  Write(handle, 0, kRecordDirty, 2, "c");
  ASSERT_EQ(SyncCloseDB(handle), 0);

  for (const uint8_t mode : std::array<uint8_t, 2>{SYNC_MODE_READ, SYNC_MODE_READ | SYNC_MODE_SECRET}) {
    uint8_t walk = 0;
    ASSERT_EQ(SyncOpenDB("Walk", 0, &walk, mode), 0);
    SyncRecord in_category{};
    in_category.db_handle = walk;
    in_category.category = 1;
    std::string seen;
    for (Read read = ReadWith(SyncReadNextRecInCategory, in_category); read.result == 0;
         read = ReadWith(SyncReadNextRecInCategory, in_category))
      seen += read.bytes + ",";
    ASSERT_EQ(SyncResetRecordIndex(walk), 0);
    for (Read read = ReadWith(SyncReadNextModifiedRec, in_category); read.result == 0;
         read = ReadWith(SyncReadNextModifiedRec, in_category))
      seen += read.bytes + ",";
    ASSERT_EQ(SyncResetRecordIndex(walk), 0);
    const Read modified_in_two = ReadWith(SyncReadNextModifiedRecInCategory, {walk, 0, 0, 0, 2, 0, 0, nullptr});
    seen += modified_in_two.bytes;
    EXPECT_EQ(seen, mode & SYNC_MODE_SECRET ? "a,b,secret,a,secret,c,c" : "a,b,a,c,c");
    ASSERT_EQ(SyncCloseDB(walk), 0);
  }
}

TEST_F(SyncManagerDevice, ReadOnlyHandlesRefuseEveryWrite) {
  ASSERT_EQ(SyncCloseDB(Create("Locked")), 0);
  uint8_t handle = 0;
  ASSERT_EQ(SyncOpenDB("Locked", 0, &handle, SYNC_MODE_READ), 0);
  std::string bytes = "x";
  SyncRecord record{handle, 0, 0, 0, 0, 1, 0, bytes.data()};
  EXPECT_EQ(SyncWriteRec(&record), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(SyncPurgeAllRecs(handle), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(SyncPurgeDeletedRecs(handle), SYNCERR_BAD_ARGUMENT);
  SyncAppInfo block{0, 1, bytes.data()};
  EXPECT_EQ(SyncWriteDBAppInfoBlock(handle, &block), SYNCERR_BAD_ARGUMENT);
  SyncAppInfo unchanged{0, 0, nullptr};  // the block as it stands (none) may be written back
  EXPECT_EQ(SyncWriteDBAppInfoBlock(handle, &unchanged), 0);
  EXPECT_EQ(SyncCloseDB(handle), 0);
}

TEST_F(SyncManagerDevice, AppInfoBlockTravelsAsBytes) {
  const uint8_t handle = Create("Info");
  char data[8] = {};
  SyncAppInfo read{sizeof data, 0, data};
  EXPECT_EQ(SyncReadDBAppInfoBlock(handle, &read), SYNCERR_NOT_FOUND);
  EXPECT_EQ(read.size, 0u);
  std::string block("\0\x01\xFF", 3);
  SyncAppInfo write{0, 3, block.data()};
  ASSERT_EQ(SyncWriteDBAppInfoBlock(handle, &write), 0);
  ASSERT_EQ(SyncCloseDB(handle), 0);

  uint8_t again = 0;
  ASSERT_EQ(SyncOpenDB("Info", 0, &again, SYNC_MODE_READ), 0);
  ASSERT_EQ(SyncReadDBAppInfoBlock(again, &read), 0);
  EXPECT_EQ(std::string(data, read.size), block);
  SyncAppInfo tiny{2, 0, data};
  EXPECT_EQ(SyncReadDBAppInfoBlock(again, &tiny), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(tiny.size, 3u);
}

TEST_F(SyncManagerDevice, DatabasesAreCreatedFoundPurgedAndDeletedByName) {
  uint8_t handle = 0;
  EXPECT_EQ(SyncOpenDB("Zembra_NoteDB", 0, &handle, SYNC_MODE_READ), SYNCERR_NOT_FOUND);
  const uint8_t created = Create("Zembra_NoteDB");
  SyncCreateDb duplicate{0, 0, 0, "Zembra_NoteDB", 0, 0};
  EXPECT_EQ(SyncCreateDB(&duplicate, &handle), SYNCERR_ALREADY_EXISTS);
  Write(created, 0, 0, 0, "note");
  ASSERT_EQ(SyncCloseDB(created), 0);

  ASSERT_EQ(SyncOpenDB("Zembra_NoteDB", 0, &handle, SYNC_MODE_READ | SYNC_MODE_WRITE), 0);
  ASSERT_EQ(SyncPurgeAllRecs(handle), 0);
  uint32_t count = 1;
  ASSERT_EQ(SyncGetDBRecordCount(handle, &count), 0);
  EXPECT_EQ(count, 0u);
  ASSERT_EQ(SyncCloseDB(handle), 0);
  ASSERT_EQ(SyncDeleteDB("Zembra_NoteDB", 0), 0);
  EXPECT_EQ(SyncDeleteDB("Zembra_NoteDB", 0), SYNCERR_NOT_FOUND);
  EXPECT_EQ(SyncOpenDB(nullptr, 0, &handle, SYNC_MODE_READ), SYNCERR_BAD_ARGUMENT);
}

TEST_F(SyncManagerDevice, DamagedFileIsAnOpenFailureAndDisconnectSavesOpenDatabases) {
  uint8_t handle = 0;
  PdbDatabase db;
  db.name = "Bad";
  db.records = {{0, 0, 1, "x"}};
  WriteFileAtomic(dir_.File("bad.pdb"), SerializePdb(db).substr(0, 80));
  EXPECT_EQ(SyncOpenDB("Bad", 0, &handle, SYNC_MODE_READ), SYNCERR_OPEN_FAILED);

  const uint8_t open = Create("Unclosed");
  Write(open, 0, 0, 0, "kept");
  SyncHostDisconnect();
  EXPECT_EQ(SyncOpenDB("Unclosed", 0, &handle, SYNC_MODE_READ), kSyncErrNotConnected);
  ASSERT_EQ(SyncHostConnect(dir_.Path().c_str()), 0);
  ASSERT_EQ(SyncOpenDB("Unclosed", 0, &handle, SYNC_MODE_READ), 0);
  uint32_t count = 0;
  ASSERT_EQ(SyncGetDBRecordCount(handle, &count), 0);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(SyncHostConnect((dir_.Root() / "nowhere").c_str()), SYNCERR_NOT_FOUND);
}

// The host adds why an operation failed to the conduit's error line; each failure is told once.
TEST_F(SyncManagerDevice, TheLastFailureKeepsTheFileAndTheSystemsReasonUntilTaken) {
  std::array<char, 512> detail{};
  EXPECT_EQ(SyncHostTakeFailure(detail.data(), detail.size()), SYNCERR_NONE);
  EXPECT_STREQ(detail.data(), "");

  WriteFileAtomic(dir_.File("Zembra_OrderDB.pdb"), "short");  // under its own name, header cut
  uint8_t handle = 0;
  EXPECT_EQ(SyncOpenDB("Zembra_OrderDB", 0, &handle, SYNC_MODE_READ), SYNCERR_OPEN_FAILED);
  EXPECT_EQ(SyncOpenDB("Zembra_CashDB", 0, &handle, SYNC_MODE_READ), SYNCERR_NOT_FOUND);  // not kept
  EXPECT_EQ(SyncHostTakeFailure(detail.data(), detail.size()), SYNCERR_OPEN_FAILED);
  EXPECT_EQ(std::string(detail.data()),
            dir_.File("Zembra_OrderDB.pdb") + ": truncated header: 5 bytes, a database header takes 78");
  EXPECT_EQ(SyncHostTakeFailure(detail.data(), detail.size()), SYNCERR_NONE);

  // A save that the file system refuses names the database, the file and the reason.
  const uint8_t order = Create("Zembra_RouteDB");
  Write(order, 0, 0, 0, "visit");
  std::filesystem::create_directory(dir_.File("Zembra_RouteDB.pdb.tmp-" + std::to_string(::getpid())));
  EXPECT_EQ(SyncCloseDB(order), kSyncErrNonspecific);
  EXPECT_EQ(SyncHostTakeFailure(detail.data(), detail.size()), kSyncErrNonspecific);
  EXPECT_EQ(std::string(detail.data()), "database \"Zembra_RouteDB\" was not saved: Cannot create \"" +
                                            dir_.File("Zembra_RouteDB.pdb") + "\": Is a directory");

  // A buffer too small gets the start of the reason; a new connection starts with no failure.
  EXPECT_EQ(SyncCloseDB(order), SYNCERR_NOT_OPEN);
  std::array<char, 24> small{};
  EXPECT_EQ(SyncHostTakeFailure(small.data(), small.size()), SYNCERR_NOT_OPEN);
  EXPECT_STREQ(small.data(), ("handle " + std::to_string(order) + " names no open database").substr(0, 23).c_str());
  EXPECT_EQ(SyncCloseDB(order), SYNCERR_NOT_OPEN);
  ASSERT_EQ(SyncHostConnect(dir_.Path().c_str()), 0);
  EXPECT_EQ(SyncHostTakeFailure(nullptr, 0), SYNCERR_NONE);
}

}  // namespace
