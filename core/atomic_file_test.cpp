#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/exceptions.h"
#include "test_support/scratch_directory.h"

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesWholeFilesAndLeavesNoTemporary) {
  const TScratchDirectory scratch("zp-atomic");
  const fs::path& dir = scratch.Root();
  const std::string path = (dir / "Order.txt").string();
  WriteFileAtomic(path, "old");
  WriteFileAtomic(path, std::string("new\0bytes", 9));
  EXPECT_EQ(ReadWholeFile(path), std::string("new\0bytes", 9));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_THROW(WriteFileAtomic((dir / "missing" / "x").string(), "x"), Exception);
  EXPECT_THROW(ReadWholeFile((dir / "missing").string()), Exception);
}
