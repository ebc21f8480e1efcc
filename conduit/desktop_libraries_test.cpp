#include "conduit/desktop_libraries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "conduit/stand_in_test.h"

namespace {

// A directory holding copies of some of the stand-ins, under the names given.
class PartialInstallation {
 public:
  // Each pair: the stand-in to copy and the name it gets in the directory.
  explicit PartialInstallation(std::initializer_list<std::pair<const char*, const char*>> files) {
    for (const auto& [from, to] : files) {
      std::filesystem::copy_file(BinDirectory() + from, directory_.Path() + to);
    }
  }
  std::string Path() const { return directory_.Path(); }

 private:
  TScratchDirectory directory_;
};

const std::pair<const char*, const char*> kUserData{"libuserdata.so", "libuserdata.so"};
const std::pair<const char*, const char*> kSync{"libsync20.so", "libsync20.so"};
const std::pair<const char*, const char*> kCondMgr{"libcondmgr.so", "libcondmgr.so"};
const std::pair<const char*, const char*> kLog{"libhslog20.so", "libhslog20.so"};
const std::pair<const char*, const char*> kInstallAide{"libinstaide.so", "libinstaide.so"};
const std::pair<const char*, const char*> kHsApi{"libhsapi.so", "libhsapi.so"};

class DesktopLibraries : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!StandInsBuilt()) GTEST_SKIP() << "the desktop stand-ins are not built in ZP_BIN_DIR yet";
  }
  void TearDown() override { ReleaseDesktopLibraries(); }
};

TEST_F(DesktopLibraries, BindsEveryFunctionOfTheSixLibrariesAndReleasesThem) {
  ASSERT_TRUE(BindDesktopLibraries(BinDirectory()));
  const TDesktopLibraries& desktop = Desktop();
  EXPECT_NE(desktop.UserData.GetUserDirectory, nullptr);
  EXPECT_NE(desktop.Sync.DeleteRec, nullptr);
  EXPECT_NE(desktop.CondMgr.GetCreatorDirectory, nullptr);
  EXPECT_NE(desktop.Log.AddEntry, nullptr);
  EXPECT_NE(desktop.InstallAide.InstallFile, nullptr);
  EXPECT_NE(desktop.HsApi.MessageBox, nullptr);
  ReleaseDesktopLibraries();
  EXPECT_EQ(desktop.Sync.DeleteRec, nullptr);
  EXPECT_EQ(desktop.HsApi.MessageBox, nullptr);
  EXPECT_THROW(Bound(desktop.Log.AddEntry, "LogAddEntry"), EDesktopLibraryError);
}

TEST(DesktopLibraryDirectory, BesideTheConduitWhenUserDataIsThereElseBesideTheHotSyncProgram) {
  TScratchDirectory conduit;
  TScratchDirectory hotsync;
  const std::string program = hotsync.Path() + "hotsync";
  EXPECT_EQ(LocateDesktopLibraries(conduit.Path(), program.c_str()), hotsync.Path());
  EXPECT_EQ(LocateDesktopLibraries(conduit.Path(), nullptr), conduit.Path());
  EXPECT_EQ(LocateDesktopLibraries(conduit.Path(), ""), conduit.Path());
  std::ofstream(conduit.Path() + "libuserdata.so") << "";
  EXPECT_EQ(LocateDesktopLibraries(conduit.Path(), program.c_str()), conduit.Path());
}

TEST_F(DesktopLibraries, MissingSyncManagerIsShownAndAbortsTheBinding) {
  PartialInstallation installation({kUserData, kCondMgr, kLog, kInstallAide, kHsApi});
  MessageRecorder messages(installation.Path());
  EXPECT_FALSE(BindDesktopLibraries(installation.Path()));
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].Text, "pfgSyncMgr: Unable to load libsync20.so");
  EXPECT_EQ(Desktop().UserData.GetUserCount, nullptr);
}

TEST_F(DesktopLibraries, EachRequiredLibraryHasItsOwnMessage) {
  struct Case {
    std::initializer_list<std::pair<const char*, const char*>> files;
    const char* message;
  };
  const Case cases[] = {
      {{kUserData, kSync, kLog, kInstallAide, kHsApi}, "pfgCondMgre: Unable to load libcondmgr.so"},
      {{kUserData, kSync, kCondMgr, kInstallAide, kHsApi}, "pfgHslog: Unable to load libhslog20.so"},
      {{kUserData, kSync, kCondMgr, kLog, kHsApi}, "pfgPalmInstall: Unable to load libinstaide.so"},
  };
  for (const Case& c : cases) {
    PartialInstallation installation(c.files);
    MessageRecorder messages(installation.Path());
    EXPECT_FALSE(BindDesktopLibraries(installation.Path()));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].Text, c.message);
  }
}

TEST_F(DesktopLibraries, MissingUserDataIsShownButTheConduitStillBinds) {
  PartialInstallation installation({kSync, kCondMgr, kLog, kInstallAide, kHsApi});
  MessageRecorder messages(installation.Path());
  EXPECT_TRUE(BindDesktopLibraries(installation.Path()));
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].Text, "pfgUserData: Unable to load libuserdata.so");
  EXPECT_EQ(Desktop().UserData.GetUserCount, nullptr);
  EXPECT_NE(Desktop().Sync.OpenDB, nullptr);
}

TEST_F(DesktopLibraries, WithoutTheHotSyncApiMessagesGoToStderrWithTheDefaultAnswer) {
  PartialInstallation installation({kUserData, kSync, kCondMgr, kLog, kInstallAide});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(BindDesktopLibraries(installation.Path()));
  EXPECT_EQ(MessageBox("Clear the orders?", "Question", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox("Done", "Info", MB_OK), IDOK);
  std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("pfgHSAPI: Unable to load libhsapi.so"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Clear the orders?"), std::string::npos) << shown;
}

TEST_F(DesktopLibraries, LibraryLackingAFunctionIsShownAndAbortsTheBinding) {
  PartialInstallation installation(
      {kUserData, kSync, kCondMgr, {"libinstaide.so", "libhslog20.so"}, kInstallAide, kHsApi});
  MessageRecorder messages(installation.Path());
  EXPECT_FALSE(BindDesktopLibraries(installation.Path()));
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].Text, "pfgHslog: libhslog20.so lacks LogAddEntry");
  EXPECT_EQ(Desktop().Sync.OpenDB, nullptr);
}

TEST_F(DesktopLibraries, MessageBoxGoesThroughTheBoundHotSyncApi) {
  MessageRecorder messages(BinDirectory(), IDYES);
  ASSERT_TRUE(BindDesktopLibraries(BinDirectory()));
  EXPECT_EQ(MessageBox("Text", "Caption", MB_YESNO | MB_ICONQUESTION), IDYES);
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].Caption, "Caption");
  EXPECT_EQ(messages.Messages()[0].Style, uint32_t{MB_YESNO | MB_ICONQUESTION});
}

}  // namespace
