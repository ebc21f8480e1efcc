#include "hotsync/device/device_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/sync_manager.h"
#include "hotsync/device/sync_result.h"

namespace {

PdbDatabase Named(std::string name) {
  PdbDatabase db;
  db.name = std::move(name);
  return db;
}

int32_t CodeOf(auto&& operation) {
  try {
    operation();
  } catch (const ESyncResult& e) {
    return e.Code();
  }
  return 0;
}

TEST(DeviceDatabase, NewRecordsGetFreshUniqueIdsFromTheSeed) {
  PdbDatabase contents = Named("Ids");
  contents.unique_id_seed = 100;
  contents.records = {{0, 0, 150, "a"}};
  DeviceDatabase db(contents);
  EXPECT_FALSE(db.Changed());
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "b")).unique_id, 151u);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "c")).unique_id, 152u);
  EXPECT_TRUE(db.Changed());

  // An ID the handheld does not know makes a record with that ID; later IDs stay above it.
  EXPECT_EQ(db.WriteRecord(500, 0, 0, "d"), 3u);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "e")).unique_id, 501u);

  // Writing a known ID replaces that record in place.
  EXPECT_EQ(db.WriteRecord(151, kRecordDirty, 2, "B"), 1u);
  EXPECT_EQ(db.RecordAt(1), (PdbRecord{kRecordDirty, 2, 151, "B"}));
  EXPECT_EQ(db.RecordCount(), 5u);

  db.StampForSaving(1234);
  EXPECT_EQ(db.Contents().unique_id_seed, 502u);
  EXPECT_EQ(db.Contents().modification_number, 1u);
}

TEST(DeviceDatabase, LoadingGivesMissingAndDuplicateIdsFreshOnes) {
  PdbDatabase contents = Named("Dup");
  contents.records = {{0, 0, 0, "a"}, {0, 0, 7, "b"}, {0, 0, 7, "c"}, {0, 0, 0, "d"}};
  DeviceDatabase db(contents);
  EXPECT_EQ(db.RecordAt(0).unique_id, 8u);
  EXPECT_EQ(db.RecordAt(1).unique_id, 7u);
  EXPECT_EQ(db.RecordAt(2).unique_id, 9u);
  EXPECT_EQ(db.RecordAt(3).unique_id, 10u);
  EXPECT_EQ(db.IndexOfId(9), 2u);
  EXPECT_FALSE(db.Changed());
}

// IDs that rise from record to record are looked up without an index; an ID written below the
// last one, or a load whose IDs do not rise, makes the database keep one, with the same answers.
TEST(DeviceDatabase, FindsIdsWhetherTheyRiseOrNot) {
  PdbDatabase contents = Named("Rising");
  contents.records = {{0, 0, 10, "a"}, {0, 0, 20, "b"}, {0, 0, 30, "c"}};
  DeviceDatabase db(contents);
  EXPECT_EQ(db.IndexOfId(20), 1u);
  EXPECT_FALSE(db.IndexOfId(25));
  EXPECT_FALSE(db.IndexOfId(0));
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "d")).unique_id, 31u);
  EXPECT_EQ(db.WriteRecord(5, 0, 0, "e"), 4u);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "f")).unique_id, 32u);
  EXPECT_EQ(db.IndexOfId(5), 4u);
  EXPECT_EQ(db.IndexOfId(30), 2u);
  EXPECT_TRUE(db.DeleteRecord(20));
  EXPECT_EQ(db.IndexOfId(30), 1u);
  EXPECT_EQ(db.IndexOfId(5), 3u);
  EXPECT_EQ(db.IndexOfId(32), 4u);

  contents.records = {{0, 0, 30, "a"}, {0, 0, 10, "b"}};
  DeviceDatabase unordered(contents);
  EXPECT_EQ(unordered.IndexOfId(10), 1u);
  EXPECT_EQ(unordered.RecordAt(unordered.WriteRecord(0, 0, 0, "c")).unique_id, 31u);
  EXPECT_EQ(unordered.IndexOfId(31), 2u);
}

// Once the seed has passed 24 bits a new record gets the lowest free ID, in either state.
TEST(DeviceDatabase, HandsOutTheLowestFreeIdWhenTheSeedRunsOut) {
  PdbDatabase contents = Named("Full");
  contents.records = {{0, 0, 1, "a"}, {0, 0, 2, "b"}, {0, 0, kMaxRecordId, "c"}};
  DeviceDatabase db(contents);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "d")).unique_id, 3u);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "e")).unique_id, 4u);
  EXPECT_EQ(db.IndexOfId(kMaxRecordId), 2u);
  EXPECT_EQ(db.IndexOfId(4), 4u);
}

TEST(DeviceDatabase, FlagsAndCategoryTravelAndAreChecked) {
  DeviceDatabase db(Named("Attr"));
  const uint32_t index = db.WriteRecord(0, kRecordSecret | kRecordDirty | 0x0F, 15, "x");
  EXPECT_EQ(db.RecordAt(index).flags, kRecordSecret | kRecordDirty);
  EXPECT_EQ(db.RecordAt(index).category, 15);
  EXPECT_EQ(CodeOf([&] { db.WriteRecord(0, 0, 16, "x"); }), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(CodeOf([&] { db.WriteRecord(0x1000000, 0, 0, "x"); }), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(CodeOf([&] { db.WriteRecord(0, 0, 0, std::string(kMaxRecordSize + 1, 'x')); }), kSyncErrNoRoom);
  EXPECT_EQ(db.RecordCount(), 1u);
}

TEST(DeviceDatabase, PurgesAndDeletesKeepIdsConsistent) {
  DeviceDatabase db(Named("Purge"));
  db.WriteRecord(0, kRecordDeleted, 0, "gone");
  db.WriteRecord(0, 0, 0, "kept");
  db.WriteRecord(0, kRecordDeleted | kRecordDirty, 0, "gone too");
  db.WriteRecord(0, 0, 0, "kept too");
  db.MarkSaved();
  db.PurgeDeletedRecords();
  EXPECT_TRUE(db.Changed());
  ASSERT_EQ(db.RecordCount(), 2u);
  EXPECT_EQ(db.IndexOfId(4), 1u);
  EXPECT_FALSE(db.IndexOfId(1));

  EXPECT_TRUE(db.DeleteRecord(2));
  EXPECT_FALSE(db.DeleteRecord(2));
  EXPECT_EQ(db.IndexOfId(4), 0u);

  db.PurgeAllRecords();
  EXPECT_EQ(db.RecordCount(), 0u);
  EXPECT_EQ(db.RecordAt(db.WriteRecord(0, 0, 0, "new")).unique_id, 5u);  // purged IDs are not handed out again

  db.PurgeAllRecords();
  db.MarkSaved();
  db.PurgeAllRecords();
  db.PurgeDeletedRecords();
  EXPECT_FALSE(db.Changed());
}

TEST(DeviceDatabase, WrittenRecordsKeepTheirBytesWhateverIsWrittenAfter) {
  DeviceDatabase db(Named("Many"));
  std::string caller_buffer;
  std::vector<std::string> expected;
  // Enough records, some of the largest size, to fill several of the database's own chunks.
  for (int i = 0; i < 3000; ++i) {
    const size_t size = i % 500 == 0 ? kMaxRecordSize : static_cast<size_t>(i % 300);
    caller_buffer.assign(size, static_cast<char>('a' + i % 26));
    if (size > 0) caller_buffer[0] = static_cast<char>(i);
    db.WriteRecord(0, 0, 0, caller_buffer);
    expected.push_back(caller_buffer);
  }
  caller_buffer.assign(caller_buffer.size(), '#');
  // A record rewritten with another record's bytes, which the database itself holds.
  db.WriteRecord(db.RecordAt(5).unique_id, 0, 0, db.RecordAt(1000).data);
  expected[5] = expected[1000];
  const PdbDatabase copy = db.Contents();
  for (uint32_t i = 0; i < db.RecordCount(); ++i) {
    ASSERT_EQ(db.RecordAt(i).data, expected[i]) << i;
    ASSERT_EQ(copy.records[i].data, expected[i]) << i;
  }
  db.PurgeAllRecords();
  EXPECT_EQ(copy.records[2999].data, expected[2999]);
}

TEST(DeviceDatabase, AppInfoCountsAsAChangeOnlyWhenItsBytesChange) {
  PdbDatabase contents = Named("Info");
  contents.app_info = std::string("\0\1", 2);
  DeviceDatabase db(contents);
  db.SetAppInfo(std::string("\0\1", 2));
  EXPECT_FALSE(db.Changed());
  db.SetAppInfo("new");
  EXPECT_TRUE(db.Changed());
  EXPECT_EQ(db.AppInfo(), "new");
}

}  // namespace
