#include "api/hotsync_log.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "test_support/scratch_directory.h"

namespace {

TEST(HotSyncLog, AppendsEachEntryAsOneLineOfUnchangedBytes) {
  TScratchHome directory;
  const std::string file = directory.Path() + "HotSync.log";
  LogHostSetFile(file.c_str());
  EXPECT_EQ(LogAddEntry(Ansi("ПК-PALM: Выгружено: 5").c_str(), SLOG_ACTIVITY_INFO, 0), 0);
  EXPECT_EQ(LogAddEntry("ZembraToPalm - line one\rline two", SLOG_ACTIVITY_SYNC_FAILED, -1), 0);
  LogHostSetFile(nullptr);
  EXPECT_EQ(ReadWholeFile(file),
            "\xCF\xCA-PALM: \xC2\xFB\xE3\xF0\xF3\xE6\xE5\xED\xEE: 5\n"
            "ZembraToPalm - line one\rline two\n");
}

TEST(HotSyncLog, WithoutAFileEntriesAreDropped) {
  TScratchHome directory;
  LogHostSetFile(nullptr);
  EXPECT_EQ(LogAddEntry("nowhere", SLOG_ACTIVITY_INFO, 0), 0);
  EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));
}

TEST(HotSyncLog, AnUnwritableFileIsAFailureNotACrash) {
  TScratchHome directory;
  const std::string file = directory.Path() + "missing/HotSync.log";
  LogHostSetFile(file.c_str());
  EXPECT_NE(LogAddEntry("lost", SLOG_ACTIVITY_INFO, 0), 0);
  EXPECT_NE(LogAddEntry(nullptr, SLOG_ACTIVITY_INFO, 0), 0);
  LogHostSetFile(nullptr);
}

const char* DetailForErrors(const char* text, int32_t activity) {
  return activity == SLOG_ACTIVITY_SYNC_FAILED && std::string(text).find("Error") != std::string::npos ? "(why)" : "";
}

// The host counts error lines to set its exit status and lets the handheld add why on the same line.
TEST(HotSyncLog, CountsErrorEntriesAndAddsTheHostsDetailOnTheSameLine) {
  TScratchHome directory;
  const std::string file = directory.Path() + "HotSync.log";
  LogHostSetFile(file.c_str());
  LogHostSetEntryDetail(&DetailForErrors);
  EXPECT_EQ(LogAddEntry("start", SLOG_ACTIVITY_INFO, 0), 0);
  EXPECT_EQ(LogAddEntry("ZembraToPalm - Error -1 :A nonspecific error.", SLOG_ACTIVITY_SYNC_FAILED, 0), 0);
  EXPECT_EQ(LogAddEntry("note list failed", SLOG_ACTIVITY_SYNC_FAILED, 0), 0);
  EXPECT_EQ(LogHostErrorEntries(), 2);
  LogHostSetEntryDetail(nullptr);
  EXPECT_EQ(LogAddEntry("Error 5 :x", SLOG_ACTIVITY_SYNC_FAILED, 0), 0);
  EXPECT_EQ(LogHostErrorEntries(), 3);
  LogHostSetFile(file.c_str());
  EXPECT_EQ(LogHostErrorEntries(), 0);
  LogHostSetFile(nullptr);
  EXPECT_EQ(ReadWholeFile(file),
            "start\nZembraToPalm - Error -1 :A nonspecific error. (why)\nnote list failed\nError 5 :x\n");
}

TEST(HotSyncLog, ALogThatIsAFifoIsRefusedNotWaitedOn) {
  TScratchHome directory;
  const std::string file = directory.Path() + "HotSync.log";
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  LogHostSetFile(file.c_str());
  EXPECT_NE(LogAddEntry("lost", SLOG_ACTIVITY_INFO, 0), 0);
  LogHostSetFile(nullptr);
}

}  // namespace
