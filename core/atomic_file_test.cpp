#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/exceptions.h"

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesWholeFilesAndLeavesNoTemporary) {
  const fs::path dir = fs::temp_directory_path() / ("zp_atomic_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "Order.txt").string();
  WriteFileAtomic(path, "old");
  WriteFileAtomic(path, std::string("new\0bytes", 9));
  EXPECT_EQ(ReadWholeFile(path), std::string("new\0bytes", 9));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_THROW(WriteFileAtomic((dir / "missing" / "x").string(), "x"), Exception);
  EXPECT_THROW(ReadWholeFile((dir / "missing").string()), Exception);
  fs::remove_all(dir);
}
