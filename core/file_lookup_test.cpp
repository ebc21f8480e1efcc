#include "core/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_support/scratch_directory.h"

namespace fs = std::filesystem;

class FileLookup : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(dir_ / "Customer.txt") << "x"; }
  TScratchDirectory scratch_{"zp-lookup"};
  const fs::path& dir_ = scratch_.Root();
};

TEST_F(FileLookup, FindsAndDeletesWithoutRegardToCase) {
  const std::string dir = dir_.string() + "/";
  EXPECT_EQ(FindFileNoCase(dir, "customer.TXT"), dir + "Customer.txt");
  EXPECT_EQ(PathNoCase(dir_.string(), "CUSTOMER.txt"), dir + "Customer.txt");
  EXPECT_EQ(PathNoCase(dir, "Order.txt"), dir + "Order.txt");
  EXPECT_FALSE(FileExistsNoCase(dir, "Order.txt"));
  EXPECT_TRUE(DeleteFileNoCase(dir, "CUSTOMER.TXT"));
  EXPECT_FALSE(fs::exists(dir_ / "Customer.txt"));
  EXPECT_FALSE(DeleteFileNoCase(dir, "Customer.txt"));
  EXPECT_FALSE(FileExistsNoCase(dir + "missing/", "x"));
}
