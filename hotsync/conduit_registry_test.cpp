#include "hotsync/conduit_registry.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "hotsync/host_errors.h"
#include "hotsync/hotsync_home.h"
#include "test_support/scratch_directory.h"

namespace {

TConduitEntry Entry(const std::string& creator, int32_t priority) {
  TConduitEntry entry;
  entry.Creator = creator;
  entry.Type = 1;
  entry.Library = "/usr/lib/" + creator + ".so";
  entry.Title = creator;
  entry.Directory = "Dir" + creator;
  entry.Info = "Zem&bra - Palm";
  entry.Priority = priority;
  return entry;
}

TEST(ConduitRegistry, RoundTripsEveryFieldInAFixedLayout) {
  TScratchHome home;
  SaveConduitRegistry(home.Path(), {Entry("Wqtz", 2)});
  EXPECT_EQ(ReadWholeFile(ConduitRegistryPath(home.Path())),
            "[Wqtz]\nType=1\nLibrary=/usr/lib/Wqtz.so\nTitle=Wqtz\nDirectory=DirWqtz\nFile=\nRemote=\n"
            "Info=Zem&bra - Palm\nPriority=2\n");
  const auto entries = LoadConduitRegistry(home.Path());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Library, "/usr/lib/Wqtz.so");
  EXPECT_EQ(entries[0].Info, "Zem&bra - Palm");
  EXPECT_EQ(entries[0].Priority, 2);
}

TEST(ConduitRegistry, EmptyRegistryLeavesNoFile) {
  TScratchHome home;
  SaveConduitRegistry(home.Path(), {Entry("Wqtz", 2)});
  SaveConduitRegistry(home.Path(), {});
  EXPECT_FALSE(std::filesystem::exists(ConduitRegistryPath(home.Path())));
  EXPECT_TRUE(LoadConduitRegistry(home.Path()).empty());
}

TEST(ConduitRegistry, SyncOrderIsPriorityThenRegistryOrder) {
  const auto ordered = InSyncOrder({Entry("Aaaa", 2), Entry("Bbbb", 0), Entry("Cccc", 2), Entry("Dddd", 1)});
  std::string creators;
  for (const auto& entry : ordered) creators += entry.Creator + " ";
  EXPECT_EQ(creators, "Bbbb Dddd Aaaa Cccc ");
}

TEST(ConduitRegistry, DamagedRegistryNamesFileAndLine) {
  TScratchHome home;
  const std::string file = ConduitRegistryPath(home.Path());
  auto error_of = [&](const std::string& text) -> std::string {
    WriteFileAtomic(file, text);
    try {
      LoadConduitRegistry(home.Path());
    } catch (const EHotSyncFileError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ(error_of("[Wqtz]\nPriority=two\n"), file + ", line 1: Priority \"two\" is not a number");
  EXPECT_EQ(error_of("[Wqtz]\nColour=red\n"), file + ", line 1: unknown key \"Colour\" in conduit Wqtz");
  EXPECT_EQ(error_of("[Wqtz]\n[Wqtz]\n"), file + ", line 2: conduit Wqtz appears twice");
  EXPECT_EQ(error_of("[Wq]\n"), file + ", line 1: \"Wq\" is not a creator ID of four printable characters");
}

TEST(ConduitRegistry, CreatorIdsAreFourPrintableCharacters) {
  EXPECT_NO_THROW(CheckCreatorId("Wqtz"));
  for (const char* bad : {"Wqt", "Wqtzz", "Wq z", "Wq]z", "Wq\nz"})
    EXPECT_THROW(CheckCreatorId(bad), EHotSyncRequestError) << bad;
}

}  // namespace
