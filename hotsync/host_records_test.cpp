#include "hotsync/host_records.h"

#include <gtest/gtest.h>

#include "hotsync/host_errors.h"

namespace {

std::string TextAt(const std::vector<uint8_t>& record, size_t offset) {
  return std::string(reinterpret_cast<const char*>(record.data()) + offset);
}

TEST(HostRecords, SyncPropertiesPlaceEachFieldAtItsOffset) {
  const auto record = SyncPropertiesRecord(0x01020304, "/home/u/Default/", "local", "\xC8\xE2");
  ASSERT_EQ(record.size(), 1024u);
  EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 4), (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(TextAt(record, 4), "/home/u/Default/");
  EXPECT_EQ(TextAt(record, 260), "local");
  EXPECT_EQ(TextAt(record, 516), "\xC8\xE2");
  EXPECT_EQ(record[515], 0);
  EXPECT_EQ(record[1023], 0);
}

TEST(HostRecords, TextsThatDoNotFitAreRefusedNotCut) {
  EXPECT_NO_THROW(SyncPropertiesRecord(0, std::string(255, 'p'), "", "u"));
  EXPECT_THROW(SyncPropertiesRecord(0, std::string(256, 'p'), "", "u"), EHotSyncRequestError);
  EXPECT_THROW(SyncPropertiesRecord(0, "/p/", "", std::string(256, 'u')), EHotSyncRequestError);
}

TEST(HostRecords, ConfigurationRecordCarriesVersionSizeCreatorAndPath) {
  const auto record = ConfigurationRecord("Wqtz", "/home/u/Default/");
  ASSERT_EQ(record.size(), 352u);
  EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 12),
            (std::vector<uint8_t>{1, 0, 0, 0, 0x60, 1, 0, 0, 'W', 'q', 't', 'z'}));
  EXPECT_EQ(TextAt(record, 80), "/home/u/Default/");
  EXPECT_EQ(ConfigurationRecord("", "")[8], 0);
}

}  // namespace
