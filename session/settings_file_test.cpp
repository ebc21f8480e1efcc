#include "session/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/atomic_file.h"

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "settings_file_test.ini";
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string path_;
};

TEST_F(SettingsFileTest, AFileWithoutCommonGivesTheDefaults) {
  WriteFileAtomic(path_, "[OTHER]\nEXCHANGEFILEFORMAT=XML\n");
  TSessionSettings settings;
  settings.StartFileName = "stale";
  ReadSessionSettings(path_, settings);
  EXPECT_EQ(settings.ExchangeFormat, TExchangeFormat::TXT);
  EXPECT_TRUE(settings.SortCategories);
  EXPECT_EQ(settings.ODBCDriverName, "Microsoft FoxPro VFP Driver (*.dbf)");
  EXPECT_EQ(settings.StartFileName, "");
  EXPECT_EQ(settings.StopFileName, "");
}

TEST_F(SettingsFileTest, FormatTextsAreMatchedWithLetterCaseAndUnknownOnesKeepThePreviousFormat) {
  WriteFileAtomic(path_, "[COMMON]\nEXCHANGEFILEFORMAT=txt\n");
  TSessionSettings fresh;  // as after loading the library
  ReadSessionSettings(path_, fresh);
  EXPECT_EQ(fresh.ExchangeFormat, TExchangeFormat::DBF);

  TSessionSettings earlier;
  earlier.ExchangeFormat = TExchangeFormat::XML;
  ReadSessionSettings(path_, earlier);
  EXPECT_EQ(earlier.ExchangeFormat, TExchangeFormat::XML);

  for (const auto& [text, format] : {std::pair{"DBF", TExchangeFormat::DBF},
                                     {"TXT", TExchangeFormat::TXT},
                                     {"TXTINDBFOUT", TExchangeFormat::TXTINDBFOUT},
                                     {"XML", TExchangeFormat::XML}}) {
    WriteFileAtomic(path_, std::string("[COMMON]\nEXCHANGEFILEFORMAT=") + text + "\n");
    ReadSessionSettings(path_, fresh);
    EXPECT_EQ(fresh.ExchangeFormat, format) << text;
  }
}

TEST_F(SettingsFileTest, SortFlagReadsIntegersAndFallsBackToTrue) {
  const std::pair<const char*, bool> cases[] = {{"0", false}, {"0x1", true}, {"0x0", false},
                                                {"2", true},  {"no", true},  {"", true}};
  for (const auto& [text, expected] : cases) {
    WriteFileAtomic(path_, std::string("[COMMON]\nDOSORTCATEGORY=") + text + "\n");
    TSessionSettings settings;
    settings.SortCategories = !expected;
    ReadSessionSettings(path_, settings);
    EXPECT_EQ(settings.SortCategories, expected) << text;
  }
}

TEST_F(SettingsFileTest, AnEmptyDriverNameStaysEmpty) {
  WriteFileAtomic(path_, "[COMMON]\nODBCDRIVERNAME=\n");
  TSessionSettings settings;
  ReadSessionSettings(path_, settings);
  EXPECT_EQ(settings.ODBCDriverName, "");
}

TEST_F(SettingsFileTest, WritesTheFiveKeysInOrder) {
  TSessionSettings settings;
  settings.ExchangeFormat = TExchangeFormat::TXTINDBFOUT;
  settings.ODBCDriverName = "Microsoft dBase Driver (*.dbf)";
  settings.SortCategories = false;
  settings.StartFileName = "/opt/before prog";
  WriteSessionSettings(path_, settings);
  EXPECT_EQ(ReadWholeFile(path_),
            "[COMMON]\nEXCHANGEFILEFORMAT=TXTINDBFOUT\nODBCDRIVERNAME=Microsoft dBase Driver (*.dbf)\n"
            "DOSORTCATEGORY=0\nSTARTFILENAME=/opt/before prog\nSTOPFILENAME=\n");
  TSessionSettings read_back;
  ReadSessionSettings(path_, read_back);
  EXPECT_EQ(read_back.ExchangeFormat, TExchangeFormat::TXTINDBFOUT);
  EXPECT_FALSE(read_back.SortCategories);
  EXPECT_EQ(read_back.StartFileName, "/opt/before prog");
}

TEST(HotSyncHomeTest, ComesFromTheEnvironmentWhenNoLibraryIsBound) {
  const char* saved = std::getenv("HOTSYNC_HOME");
  const std::string previous = saved ? saved : "";
  setenv("HOTSYNC_HOME", "/tmp/hs home", 1);
  EXPECT_EQ(HotSyncHome(), "/tmp/hs home/");
  EXPECT_EQ(SettingsFilePath(), "/tmp/hs home/ZembraToPalm.ini");
  unsetenv("HOTSYNC_HOME");
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != 0) {
    EXPECT_EQ(HotSyncHome(), std::string(home) + "/.local/share/hotsync/");
  }
  if (saved) setenv("HOTSYNC_HOME", previous.c_str(), 1);
}

}  // namespace
