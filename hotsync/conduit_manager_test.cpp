#include "api/conduit_manager.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "hotsync/hotsync_home.h"
#include "test_support/scratch_directory.h"

namespace {

// What the conduit's DllRegisterServer does, call by call.
void RegisterLikeTheConduit() {
  ASSERT_EQ(CmInstallCreator("Wqtz", 1), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorName("Wqtz", "/opt/zp/libZembraToPalm.so"), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorTitle("Wqtz", "ZembraToPalm"), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorDirectory("Wqtz", "Default"), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorPriority("Wqtz", 2), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorInfo("Wqtz", "Zem&bra - Palm"), CMERR_NONE);
}

TEST(ConduitManager, RegisterThenRemoveLeavesTheRegistryByteIdentical) {
  TScratchHome home;
  const std::string file = ConduitRegistryPath(home.Path());
  ASSERT_EQ(CmInstallCreator("Othr", 1), CMERR_NONE);
  ASSERT_EQ(CmSetCreatorDirectory("Othr", "Other"), CMERR_NONE);
  const std::string before = ReadWholeFile(file);

  RegisterLikeTheConduit();
  EXPECT_NE(ReadWholeFile(file), before);
  EXPECT_EQ(CmRemoveConduitByCreatorID("Wqtz"), 1);
  EXPECT_EQ(ReadWholeFile(file), before);

  EXPECT_EQ(CmRemoveConduitByCreatorID("Othr"), 1);
  EXPECT_FALSE(std::filesystem::exists(file));
  RegisterLikeTheConduit();
  EXPECT_EQ(CmRemoveConduitByCreatorID("Wqtz"), 1);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ConduitManager, AnswersWhatTheRegistryHolds) {
  TScratchHome home;
  RegisterLikeTheConduit();
  char buffer[256];
  int32_t size = 255;
  ASSERT_EQ(CmGetCreatorDirectory("Wqtz", buffer, &size), CMERR_NONE);
  EXPECT_STREQ(buffer, "Default");
  EXPECT_EQ(size, 7);
  size = 255;
  ASSERT_EQ(CmGetCorePath(buffer, &size), CMERR_NONE);
  EXPECT_EQ(std::string(buffer), home.Path());

  size = 7;  // no room for the terminating zero
  EXPECT_EQ(CmGetCreatorDirectory("Wqtz", buffer, &size), CMERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, 8);
}

TEST(ConduitManager, RefusesUnknownDuplicateAndUnsafeRequests) {
  TScratchHome home;
  EXPECT_EQ(CmSetCreatorTitle("Wqtz", "x"), CMERR_CONDUIT_NOT_FOUND);
  EXPECT_EQ(CmRemoveConduitByCreatorID("Wqtz"), CMERR_CONDUIT_NOT_FOUND);
  char buffer[16];
  int32_t size = sizeof buffer;
  EXPECT_EQ(CmGetCreatorDirectory("Wqtz", buffer, &size), CMERR_CONDUIT_NOT_FOUND);
  RegisterLikeTheConduit();
  EXPECT_EQ(CmInstallCreator("Wqtz", 1), CMERR_CREATOR_ALREADY_EXISTS);
  EXPECT_EQ(CmInstallCreator("Wq", 1), CMERR_GENERAL);
  EXPECT_EQ(CmInstallCreator(nullptr, 1), CMERR_GENERAL);
  // A directory that would lead out of the user's folder (or be the whole folder) is refused.
  for (const char* directory : {"", "..", "../../etc", "a/b"}) {
    EXPECT_EQ(CmSetCreatorDirectory("Wqtz", directory), CMERR_GENERAL) << directory;
  }
  EXPECT_EQ(CmSetCreatorInfo("Wqtz", "two\rlines"), CMERR_GENERAL);
  size = sizeof buffer;
  ASSERT_EQ(CmGetCreatorDirectory("Wqtz", buffer, &size), CMERR_NONE);
  EXPECT_STREQ(buffer, "Default");
}

TEST(ConduitManager, DamagedRegistryFailsEveryCallWithoutRewritingIt) {
  TScratchHome home;
  const std::string file = ConduitRegistryPath(home.Path());
  WriteFileAtomic(file, "[Wqtz]\nPriority=high\n");
  EXPECT_EQ(CmInstallCreator("Abcd", 1), CMERR_GENERAL);
  EXPECT_EQ(CmRemoveConduitByCreatorID("Wqtz"), CMERR_GENERAL);
  EXPECT_EQ(ReadWholeFile(file), "[Wqtz]\nPriority=high\n");
}

}  // namespace
