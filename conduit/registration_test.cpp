#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "conduit/conduit_test_component.h"
#include "conduit/desktop_libraries.h"
#include "conduit/entry_points.h"
#include "conduit/library_path.h"
#include "conduit/stand_in_test.h"
#include "core/cp1251.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class Registration : public StandInTest {
 protected:
  std::string CreatorDirectory() {
    char buffer[256] = {};
    int32_t size = 255;
    int32_t result = Desktop().CondMgr.GetCreatorDirectory("Wqtz", buffer, &size);
    return result == 0 ? std::string(buffer) : "error " + std::to_string(result);
  }

  // Two users, each with the conduit's directory holding a file, and a file of their own beside it.
  void MakeUsers() {
    WriteText(home_.Path() + "users.ini", "[1]\nName=alice\nDirectory=alice\n[2]\nName=bob\nDirectory=bob\n");
    for (const char* user : {"alice", "bob"}) {
      WriteText(home_.Path() + user + "/Default/Customer.txt", "data\n");
      WriteText(home_.Path() + user + "/HotSync.log", "log\n");
    }
  }

  bool Exists(const std::string& relative) { return fs::exists(home_.Path() + relative); }
};

TEST_F(Registration, RegistersTheIdentityWithTheConduitManager) {
  TConduitTestComponent component;
  int notified = 0;
  component.OnRegisterConduit = [&](TpfgPalmComponent& sender) {
    EXPECT_EQ(&sender, &component);
    ++notified;
  };
  EXPECT_EQ(DllRegisterServer(), 0);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(CreatorDirectory(), "Default");
  std::string registry = ReadText(home_.Path() + "conduits.ini");
  EXPECT_NE(registry.find("[Wqtz]"), std::string::npos) << registry;
  EXPECT_NE(registry.find("Title=ZembraToPalm\n"), std::string::npos) << registry;
  EXPECT_NE(registry.find("Library=" + ConduitLibraryPath() + "\n"), std::string::npos) << registry;
  EXPECT_NE(registry.find("Info=Zem&bra - Palm\n"), std::string::npos) << registry;
  EXPECT_NE(registry.find("Priority=2\n"), std::string::npos) << registry;
  EXPECT_TRUE(messages_->Messages().empty());
}

TEST_F(Registration, ConduitManagerFailureIsShownAndItsCodeReturned) {
  TConduitTestComponent component;
  ASSERT_EQ(DllRegisterServer(), 0);
  EXPECT_EQ(DllRegisterServer(), -1006);
  ASSERT_EQ(messages_->Messages().size(), 1u);
  EXPECT_EQ(messages_->Messages()[0].Text,
            "Error -1006 :A conduit with the specified creator ID is already installed.");
  EXPECT_EQ(messages_->Messages()[0].Caption, Ansi("Ошибка"));
}

TEST_F(Registration, OtherFailuresGiveTheGeneralFailureCode) {
  EXPECT_EQ(DllRegisterServer(), 1);
  EXPECT_EQ(DllUnregisterServer(), static_cast<int32_t>(0x80004005u));
  TConduitTestComponent component;
  component.OnRegisterConduit = [](TpfgPalmComponent&) { throw Exception("refused"); };
  EXPECT_EQ(DllRegisterServer(), static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(DllUnregisterServer(), static_cast<int32_t>(0x80004005u));
  EXPECT_TRUE(messages_->Messages().empty());
}

TEST_F(Registration, UnregisteringRemovesTheConduitDirectoryOfEveryUser) {
  TConduitTestComponent component;
  ASSERT_EQ(DllRegisterServer(), 0);
  MakeUsers();
  EXPECT_EQ(DllUnregisterServer(), 0);
  EXPECT_FALSE(Exists("alice/Default"));
  EXPECT_FALSE(Exists("bob/Default"));
  EXPECT_TRUE(Exists("alice/HotSync.log"));
  EXPECT_TRUE(Exists("bob/HotSync.log"));
  EXPECT_EQ(CreatorDirectory(), "error -1003");
  EXPECT_EQ(DllUnregisterServer(), static_cast<int32_t>(0x80004005u));
}

TEST_F(Registration, OwnerCanKeepTheDirectories) {
  TConduitTestComponent component;
  component.OnUnregisterConduit = [](TpfgPalmComponent&, bool& remove_dirs) { remove_dirs = false; };
  ASSERT_EQ(DllRegisterServer(), 0);
  MakeUsers();
  EXPECT_EQ(DllUnregisterServer(), 0);
  EXPECT_TRUE(Exists("alice/Default/Customer.txt"));
  EXPECT_EQ(CreatorDirectory(), "error -1003");
}

TEST_F(Registration, EmptyCreatorDirectoryNeverDeletesAUsersWholeDirectory) {
  TConduitTestComponent component;
  ASSERT_EQ(DllRegisterServer(), 0);
  MakeUsers();
  std::string registry = ReadText(home_.Path() + "conduits.ini");
  size_t at = registry.find("Directory=Default\n");
  ASSERT_NE(at, std::string::npos);
  registry.replace(at, std::strlen("Directory=Default\n"), "Directory=\n");
  WriteText(home_.Path() + "conduits.ini", registry);
  EXPECT_EQ(DllUnregisterServer(), 0);
  EXPECT_TRUE(Exists("alice/HotSync.log"));
  EXPECT_TRUE(Exists("alice/Default/Customer.txt"));
  EXPECT_TRUE(Exists("bob/HotSync.log"));
}

}  // namespace
