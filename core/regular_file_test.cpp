#include "core/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/atomic_file.h"
#include "test_support/scratch_directory.h"

namespace fs = std::filesystem;

namespace {

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ENotRegularFile& error) {
    return error.what();
  }
  return "no ENotRegularFile";
}

}  // namespace

// A FIFO without a writer would hold a plain open or read for ever; each of these returns at once.
TEST(RegularFile, RefusesFifoDirectoryAndDeviceByNameWithoutWaiting) {
  const TScratchDirectory scratch("zp-regular");
  const std::string fifo = (scratch.Root() / "ZembraToPalm.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string dir = (scratch.Root() / "HotSync.log").string();
  fs::create_directory(dir);

  EXPECT_EQ(MessageOf([&] { OpenRegularFileForReading(fifo); }),
            "Cannot open \"" + fifo + "\": not a regular file (a FIFO)");
  EXPECT_EQ(MessageOf([&] { OpenRegularFileForAppending(fifo); }),
            "Cannot open \"" + fifo + "\": not a regular file (a FIFO)");
  EXPECT_EQ(MessageOf([&] { ReadWholeFile(fifo); }), "Cannot open \"" + fifo + "\": not a regular file (a FIFO)");
  EXPECT_EQ(MessageOf([&] { OpenRegularFileForAppending(dir); }),
            "Cannot open \"" + dir + "\": not a regular file (a directory)");
  EXPECT_EQ(MessageOf([&] { ReadWholeFile(dir); }), "Cannot open \"" + dir + "\": not a regular file (a directory)");
  EXPECT_EQ(MessageOf([] { ReadWholeFile("/dev/null"); }), "Cannot open \"/dev/null\": not a regular file (a device)");
  EXPECT_EQ(MessageOf([&] { RefuseNonRegularFile(fifo); }),
            "Cannot open \"" + fifo + "\": not a regular file (a FIFO)");
}

TEST(RegularFile, OpensRegularFilesAndNamesTheSystemsReasonOtherwise) {
  const TScratchDirectory scratch("zp-regular");
  const std::string log = (scratch.Root() / "HotSync.log").string();
  {
    const TOpenFile file = OpenRegularFileForAppending(log);
    ASSERT_EQ(::write(file.Fd(), "one\n", 4), 4);
  }
  {
    const TOpenFile file = OpenRegularFileForAppending(log);
    ASSERT_EQ(::write(file.Fd(), "two\n", 4), 4);
  }
  EXPECT_EQ(ReadWholeFile(log), "one\ntwo\n");
  EXPECT_NO_THROW(RefuseNonRegularFile(log));
  EXPECT_NO_THROW(RefuseNonRegularFile(log + ".missing"));

  const std::string missing = (scratch.Root() / "Order.txt").string();
  try {
    OpenRegularFileForReading(missing);
    FAIL() << "opened a missing file";
  } catch (const ENotRegularFile&) {
    FAIL() << "a missing file is no FIFO";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), ("Cannot open \"" + missing + "\": No such file or directory").c_str());
  }
}
