#include "api/install_aide.h"

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "hotsync/users_store.h"
#include "test_support/scratch_directory.h"

namespace {

TEST(InstallAide, CopiesTheFileIntoTheUsersInstallFolder) {
  TScratchHome home;
  AddUser(home.Path(), "Petrov", "pet");
  const std::string source = home.Path() + "app.prc";
  WriteFileAtomic(source, std::string("\0\1app", 5));
  ASSERT_EQ(PltInstallFile("Petrov", source.c_str()), 0);
  EXPECT_EQ(ReadWholeFile(home.Path() + "pet/Install/app.prc"), std::string("\0\1app", 5));
}

TEST(InstallAide, UnknownUsersAndMissingFilesFail) {
  TScratchHome home;
  AddUser(home.Path(), "Petrov", "pet");
  const std::string source = home.Path() + "app.prc";
  WriteFileAtomic(source, "app");
  EXPECT_LT(PltInstallFile("Sidorov", source.c_str()), 0);
  EXPECT_LT(PltInstallFile("Petrov", (home.Path() + "none.prc").c_str()), 0);
  EXPECT_LT(PltInstallFile(nullptr, source.c_str()), 0);
}

}  // namespace
