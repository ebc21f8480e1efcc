#include "api/hotsync_log.h"

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

}  // namespace
