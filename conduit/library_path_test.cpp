#include "conduit/library_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LibraryPath, LinkedIntoAProgramItIsTheProgramsOwnFile) {
  const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(ConduitLibraryPath(), program);
  EXPECT_EQ(ConduitLibraryDirectory(), std::filesystem::path(program).parent_path().string() + "/");
}

}  // namespace
