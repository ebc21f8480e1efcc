#include "test_support/scratch_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/exceptions.h"

namespace {

TEST(ScratchDirectory, EachIsFreshPrivateAndGoneWithEverythingInIt) {
  std::filesystem::path kept;
  {
    TScratchDirectory first("zp scratch");
    const TScratchDirectory second("zp scratch");
    EXPECT_NE(first.Root(), second.Root());
    EXPECT_EQ(first.Path(), first.Root().string() + "/");
    EXPECT_EQ(first.Root().filename().string().rfind("zp scratch-", 0), 0u);
    first.MakeDirectory("a/b");
    first.Write("a/b/file", std::string("x\0y", 3));
    EXPECT_EQ(first.Read("a/b/file"), std::string("x\0y", 3));
    EXPECT_TRUE(first.Exists("a/b/file"));
    EXPECT_FALSE(first.Exists("a/c"));
    kept = first.Root();
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(ScratchDirectory, AHomeIsTheHotSyncHomeWhileItLives) {
  {
    const TScratchHome home;
    ASSERT_NE(std::getenv("HOTSYNC_HOME"), nullptr);
    EXPECT_EQ(std::getenv("HOTSYNC_HOME"), home.Path());
  }
  EXPECT_EQ(std::getenv("HOTSYNC_HOME"), nullptr);
}

TEST(ScratchDirectory, AFailureToCreateItIsAnError) { EXPECT_THROW(TScratchDirectory("missing/parent"), Exception); }

}  // namespace
