// The main of every test program: each process gets a temporary directory of its own, so
// tests that CTest runs side by side never share files, and it is removed when they end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path base = std::getenv("TMPDIR") != nullptr ? fs::path(std::getenv("TMPDIR")) : fs::path("/tmp");
  const fs::path own = base / ("zp-test-" + std::to_string(::getpid()));
  fs::create_directories(own);
  setenv("TEST_TMPDIR", own.c_str(), 1);
  setenv("TMPDIR", own.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  fs::remove_all(own, ignored);
  return result;
}
