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

TEST(AtomicFile, APieceByPieceWriteReplacesOnlyWhenCommitted) {
  const TScratchDirectory scratch("zp-atomic");
  const fs::path& dir = scratch.Root();
  const std::string path = (dir / "Order.xml").string();
  WriteFileAtomic(path, "old");
  {
    TAtomicFileWriter file(path);
    file.Write("new ");
    file.Write("bytes");
    // Until the commit a reader still sees the old file.
    EXPECT_EQ(ReadWholeFile(path), "old");
    file.Commit();
  }
  EXPECT_EQ(ReadWholeFile(path), "new bytes");
  {
    TAtomicFileWriter abandoned(path);
    abandoned.Write("half of a file");
  }
  EXPECT_EQ(ReadWholeFile(path), "new bytes");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_THROW(TAtomicFileWriter((dir / "missing" / "x").string()), Exception);
}

TEST(AtomicFile, ReadsEmptyLargeAndSizelessFilesWhole) {
  const TScratchDirectory scratch("zp-atomic");
  const std::string empty = (scratch.Root() / "empty").string();
  WriteFileAtomic(empty, "");
  EXPECT_EQ(ReadWholeFile(empty), "");
  std::string large(3 * 65536 + 7, 'x');
  for (size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>(i % 251);
  const std::string large_path = (scratch.Root() / "large").string();
  WriteFileAtomic(large_path, large);
  EXPECT_EQ(ReadWholeFile(large_path), large);
  // A file whose size the system does not know until it is read.
  EXPECT_NE(ReadWholeFile("/proc/self/status").find("Name:"), std::string::npos);
}

// The bytes come whole whatever size the file says it has: a file of the proc file system says 0.
TEST(AtomicFile, FileBytesAreTheWholeFile) {
  const TScratchDirectory scratch("zp-atomic");
  const std::string path = (scratch.Root() / "Big.txt").string();
  std::string content;
  for (int i = 0; i < 100000; ++i) content += std::to_string(i) + ";";
  WriteFileAtomic(path, content);
  EXPECT_EQ(ReadFileBytes(path).View(), content);
  WriteFileAtomic(path, "");
  EXPECT_EQ(ReadFileBytes(path).Size(), 0u);
  EXPECT_EQ(ReadFileBytes("/proc/self/status").View().substr(0, 5), "Name:");
  EXPECT_GT(ReadFileBytes("/proc/self/maps").Size(), 4096u);
  EXPECT_THROW(ReadFileBytes((scratch.Root() / "missing").string()), Exception);
}
