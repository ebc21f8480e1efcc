#include "conduit/palm_component.h"

#include <gtest/gtest.h>

#include <vector>

#include "conduit/stand_in_test.h"

namespace {

std::string VersionError(TpfgPalmComponent& component, const std::string& text) {
  try {
    component.SetConduitVersion(text);
  } catch (const ERegisterError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(PalmComponent, StartsWithTheDefaultIdentity) {
  TpfgPalmComponent component;
  EXPECT_EQ(component.Version(), 0x0100);
  EXPECT_EQ(component.ConduitVersion(), "1.0");
  EXPECT_EQ(component.Priority(), 2);
  EXPECT_EQ(component.CreatorID(), "STRT");
  EXPECT_EQ(component.Directory, "Default");
  EXPECT_EQ(component.Name(), "PalmComponent");
}

TEST(PalmComponent, VersionStringsFromZeroToTwoFiftyFiveAreAccepted) {
  TpfgPalmComponent component;
  component.SetConduitVersion("2.6");
  EXPECT_EQ(component.Version(), 518);
  EXPECT_EQ(component.ConduitVersion(), "2.6");
  component.SetConduitVersion("0.0");
  EXPECT_EQ(component.Version(), 0);
  component.SetConduitVersion("255.255");
  EXPECT_EQ(component.Version(), 0xFFFF);
  EXPECT_EQ(component.ConduitVersion(), "255.255");
}

TEST(PalmComponent, InvalidVersionStringsFailAndKeepTheVersion) {
  TpfgPalmComponent component;
  component.SetConduitVersion("2.6");
  for (const char* text : {"2", "a.1", "1.a", "1.256", "256.0", "-1.0", ".5", "5.", "1.2.3", ""}) {
    EXPECT_EQ(VersionError(component, text), "The specified version string was invalid") << text;
  }
  EXPECT_EQ(component.Version(), 518);
}

TEST(PalmComponent, CreatorIdMustHaveFourCharacters) {
  TpfgPalmComponent component;
  EXPECT_THROW(component.SetCreatorID("Wqt"), ERegisterError);
  try {
    component.SetCreatorID("Wqtzz");
    FAIL();
  } catch (const ERegisterError& error) {
    EXPECT_STREQ(error.what(), "The Creator ID must be four characters long");
  }
  component.SetCreatorID("Wqtz");
  EXPECT_EQ(component.CreatorID(), "Wqtz");
}

TEST(PalmComponent, PriorityMustLieFromZeroToFour) {
  TpfgPalmComponent component;
  for (int bad : {5, -1}) {
    try {
      component.SetPriority(bad);
      FAIL() << bad;
    } catch (const ERegisterError& error) {
      EXPECT_STREQ(error.what(), "The priority must be in the range 0 to 4");
    }
  }
  component.SetPriority(0);
  component.SetPriority(4);
  EXPECT_EQ(component.Priority(), 4);
}

TEST(PalmComponent, StatusTextOutsideASynchronisationIsOnlyStored) {
  TpfgPalmComponent component;
  component.SetStatusText("step");
  EXPECT_EQ(component.StatusText(), "step");
}

TEST(PalmComponent, LibraryFunctionsWithoutAComponent) {
  EXPECT_EQ(PalmConduitName(), "");
  try {
    PalmLog("line", 19);
    FAIL();
  } catch (const EpfgSingletonError& error) {
    EXPECT_STREQ(error.what(), "The singleton derived class was not found");
  }
}

TEST(PalmComponent, LogWriteThatCannotBeMadeIsASingletonErrorAndLeavesTheMark) {
  TpfgPalmComponent component;
  EXPECT_THROW(PalmLog("line", 19), EpfgSingletonError);
  EXPECT_FALSE(component.SyncOpen());
}

std::vector<std::string> g_progress;
void RecordProgress(const char* text) { g_progress.push_back(text); }

using PalmComponentServices = StandInTest;

TEST_F(PalmComponentServices, LogLinesReachTheLogAndMoveTheSyncOpenMark) {
  TpfgPalmComponent component;
  component.ConduitName = "ZembraToPalm";
  EXPECT_EQ(PalmConduitName(), "ZembraToPalm");
  PalmLog("opening", 19);
  EXPECT_TRUE(component.SyncOpen());
  component.LogLine("other activity", 7);
  EXPECT_TRUE(component.SyncOpen());
  component.LogLine("done", 20);
  EXPECT_FALSE(component.SyncOpen());
  component.LogLine("again", 19);
  component.LogLine("failed", 21, true);
  EXPECT_FALSE(component.SyncOpen());
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"opening", "other activity", "done", "again", "failed"}));
}

TEST_F(PalmComponentServices, StatusTextDuringASynchronisationGoesToTheProgressCallback) {
  TpfgPalmComponent component;
  g_progress.clear();
  component.ProgressCallback = &RecordProgress;
  component.SetStatusText("first");
  component.SetStatusText("second");
  component.ProgressCallback = nullptr;
  component.SetStatusText("after");
  EXPECT_EQ(g_progress, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(component.StatusText(), "after");
}

}  // namespace
