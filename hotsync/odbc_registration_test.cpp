#include "hotsync/odbc_registration.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(OdbcRegistration, TheBuildTreesRegistrationUnlessTheUserChoseOne) {
  const fs::path root = fs::temp_directory_path() / ("odbc_registration_test." + std::to_string(getpid()));
  fs::create_directories(root / "bin");
  unsetenv("ODBCSYSINI");
  PointOdbcAtBuildRegistration((root / "bin").string());
  EXPECT_EQ(getenv("ODBCSYSINI"), nullptr);  // no etc/odbcinst.ini yet

  fs::create_directories(root / "etc");
  std::ofstream(root / "etc" / "odbcinst.ini") << "[Microsoft Access Driver (*.mdb)]\n";
  PointOdbcAtBuildRegistration((root / "bin").string());
  ASSERT_NE(getenv("ODBCSYSINI"), nullptr);
  EXPECT_EQ(fs::path(getenv("ODBCSYSINI")), fs::canonical(root / "etc"));

  setenv("ODBCSYSINI", "/etc", 1);
  PointOdbcAtBuildRegistration((root / "bin").string());
  EXPECT_STREQ(getenv("ODBCSYSINI"), "/etc");
  unsetenv("ODBCSYSINI");
  fs::remove_all(root);
}

}  // namespace
