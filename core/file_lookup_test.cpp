#include "core/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class FileLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zp_lookup_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "Customer.txt") << "x";
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
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
