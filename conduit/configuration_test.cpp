#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "conduit/conduit_test_component.h"
#include "conduit/entry_points.h"
#include "core/byte_order.h"

namespace {

TEST(CfgConduit, RecordSizeAndTypeAreCheckedInOrder) {
  TConduitTestComponent component;
  int calls = 0;
  component.OnConfigConduit = [&](TpfgCfgConduitInfo&) { ++calls; };
  TpfgCfgConduitInfo record{};
  uint32_t size = 352;
  EXPECT_EQ(CfgConduit(1, nullptr, nullptr), 4212);
  EXPECT_EQ(CfgConduit(1, &record, nullptr), 4216);
  size = 350;
  EXPECT_EQ(CfgConduit(1, &record, &size), 4218);
  size = 352;
  EXPECT_EQ(CfgConduit(1, &record, &size), 4219);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(CfgConduit(0, &record, &size), 0);
  EXPECT_EQ(calls, 1);
}

TEST(CfgConduit, HandlerSeesTheCallersRecordAndItsErrorsGiveMinusOne) {
  TConduitTestComponent component;
  TpfgCfgConduitInfo record{};
  std::strcpy(record.PathName, "/home/agent/Default/");
  uint32_t size = 352;
  std::string seen;
  component.OnConfigConduit = [&](TpfgCfgConduitInfo& data) { seen = data.PathName; };
  EXPECT_EQ(CfgConduit(0, &record, &size), 0);
  EXPECT_EQ(seen, "/home/agent/Default/");
  component.OnConfigConduit = [](TpfgCfgConduitInfo&) { throw Exception("dialog failed"); };
  EXPECT_EQ(CfgConduit(0, &record, &size), -1);
}

TEST(CfgConduit, WithoutAComponentTheDispatchFails) {
  TpfgCfgConduitInfo record{};
  uint32_t size = 352;
  EXPECT_EQ(CfgConduit(0, &record, &size), -1);
}

// The old-style record: path name at 0, preference at 516, type at 520, 524 bytes in all here.
std::vector<uint8_t> OldRecord(const char* path, uint32_t preference, uint32_t type) {
  std::vector<uint8_t> record(524, 0xAB);
  std::memset(record.data(), 0, 256);
  std::memcpy(record.data(), path, std::strlen(path));
  WriteLittle32(record, 516, preference);
  WriteLittle32(record, 520, type);
  return record;
}

TEST(ConfigureConduit, BuildsTheConfigurationRecordFromTheOldOne) {
  TConduitTestComponent component;
  TpfgCfgConduitInfo seen{};
  component.OnConfigConduit = [&](TpfgCfgConduitInfo& data) { seen = data; };
  auto old = OldRecord("/home/agent/Default/", 1, 3);
  EXPECT_EQ(ConfigureConduit(old.data()), 0);
  EXPECT_EQ(seen.Version, 0xFFFFFFFFu);
  EXPECT_EQ(seen.Size, 352u);
  uint8_t creator[4];
  std::memcpy(creator, &seen.CreatorID, 4);
  EXPECT_EQ(std::string(creator, creator + 4), "Wqtz");
  EXPECT_STREQ(seen.PathName, "/home/agent/Default/");
  EXPECT_EQ(seen.SyncPreference, 1u);
  EXPECT_EQ(seen.PermanentSyncType, 3u);
  EXPECT_EQ(seen.TemporarySyncType, 3u);
  EXPECT_EQ(seen.NewSyncType, 0u);
  EXPECT_EQ(ReadLittle32(old, 516), 1u);
  EXPECT_EQ(ReadLittle32(old, 520), 0u);
  EXPECT_EQ(old[256], 0xAB);
}

TEST(ConfigureConduit, HandlerChoicesGoBackOnlyOnSuccess) {
  TConduitTestComponent component;
  component.OnConfigConduit = [](TpfgCfgConduitInfo& data) {
    data.SyncPreference = 2;
    data.NewSyncType = 5;
  };
  auto old = OldRecord("/x/", 1, 3);
  EXPECT_EQ(ConfigureConduit(old.data()), 0);
  EXPECT_EQ(ReadLittle32(old, 516), 2u);
  EXPECT_EQ(ReadLittle32(old, 520), 5u);
  component.OnConfigConduit = [](TpfgCfgConduitInfo& data) {
    data.SyncPreference = 9;
    throw Exception("dialog failed");
  };
  EXPECT_EQ(ConfigureConduit(old.data()), -1);
  EXPECT_EQ(ReadLittle32(old, 516), 2u);
  EXPECT_EQ(ConfigureConduit(nullptr), -1);
}

}  // namespace
