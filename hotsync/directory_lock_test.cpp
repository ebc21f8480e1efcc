#include "hotsync/directory_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "core/atomic_file.h"
#include "test_support/scratch_directory.h"

namespace {

using std::chrono::milliseconds;

std::string BusyMessage(const std::string& directory, milliseconds wait) {
  try {
    TDirectoryLock second(directory, wait);
  } catch (const EDirectoryBusy& busy) {
    return busy.what();
  }
  return "not busy";
}

// flock belongs to the open file, so a second open in this same process stands for a second sync.
TEST(DirectoryLock, ASecondHolderWaitsThenIsToldWhoHoldsIt) {
  const TScratchDirectory scratch("zp-lock");
  const std::string directory = scratch.Root().string();
  {
    const TDirectoryLock first(directory, milliseconds(0));
    const std::string holder = ReadWholeFile(directory + "/.hotsync.lock");
    EXPECT_TRUE(std::regex_match(holder, std::regex("pid " + std::to_string(::getpid()) +
                                                    ", since 20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d UTC\n")))
        << holder;
    EXPECT_EQ(BusyMessage(directory, milliseconds(120)), directory + " is in use by another synchronisation (" +
                                                             holder.substr(0, holder.size() - 1) +
                                                             "); gave up after 0.1 s");

    // A holder text naming no live process (left by a holder that died, or half written) is not repeated.
    WriteFileAtomic(directory + "/.hotsync.lock.text", "pid 99999999, since 2020-01-01 00:00:00 UTC\n");
    std::filesystem::copy_file(directory + "/.hotsync.lock.text", directory + "/.hotsync.lock",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(BusyMessage(directory, milliseconds(0)),
              directory + " is in use by another synchronisation (holder unknown); gave up after 0 s");
    EXPECT_EQ(::truncate((directory + "/.hotsync.lock").c_str(), 0), 0);
    EXPECT_EQ(BusyMessage(directory, milliseconds(0)),
              directory + " is in use by another synchronisation (holder unknown); gave up after 0 s");
  }
  EXPECT_EQ(BusyMessage(directory, milliseconds(0)), "not busy");
}

TEST(DirectoryLock, AHolderThatDiedNeverBlocks) {
  const TScratchDirectory scratch("zp-lock");
  const std::string directory = scratch.Root().string();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const TDirectoryLock held(directory, milliseconds(0));
    ::_exit(0);  // dies holding the lock, as a killed sync does
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(ReadWholeFile(directory + "/.hotsync.lock").rfind("pid " + std::to_string(child) + ", since ", 0), 0u);
  EXPECT_EQ(BusyMessage(directory, milliseconds(0)), "not busy");
}

TEST(DirectoryLock, ALockFileThatIsNoRegularFileIsRefused) {
  const TScratchDirectory scratch("zp-lock");
  scratch.MakeDirectory(".hotsync.lock");
  EXPECT_THROW(TDirectoryLock(scratch.Root().string(), milliseconds(0)), ENotRegularFile);
}

}  // namespace
