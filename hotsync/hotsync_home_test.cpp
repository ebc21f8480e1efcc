#include "hotsync/hotsync_home.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "hotsync/host_errors.h"

namespace {

// Sets an environment variable for one test and restores it afterwards.
class TScopedVariable {
 public:
  TScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  }
  ~TScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(HotSyncHome, CommandLineThenEnvironmentThenTheUsersDataFolder) {
  TScopedVariable user_home("HOME", "/home/agent");
  {
    TScopedVariable hotsync_home("HOTSYNC_HOME", nullptr);
    EXPECT_EQ(HotSyncHome(), "/home/agent/.local/share/hotsync/");
  }
  TScopedVariable hotsync_home("HOTSYNC_HOME", "/srv/hotsync");
  EXPECT_EQ(HotSyncHome(), "/srv/hotsync/");
  EXPECT_EQ(ResolveHotSyncHome(std::nullopt), "/srv/hotsync/");
  EXPECT_EQ(ResolveHotSyncHome("/data/hs/"), "/data/hs/");
  EXPECT_EQ(ResolveHotSyncHome("rel/../hs"), (std::filesystem::current_path() / "hs").string() + "/");
  EXPECT_THROW(ResolveHotSyncHome(""), EHotSyncRequestError);
  EXPECT_EQ(UsersFilePath("/srv/hotsync"), "/srv/hotsync/users.ini");
  EXPECT_EQ(ConduitRegistryPath("/srv/hotsync/"), "/srv/hotsync/conduits.ini");
}

}  // namespace
