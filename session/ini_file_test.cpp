#include "session/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/atomic_file.h"

namespace {

TEST(IniFileTest, FindsSectionsAndKeysWithoutRegardToCase) {
  const std::string text = "[Other]\nKEY=other\n[common]\n  Key = value with blanks  \r\nEmpty=\n";
  EXPECT_EQ(FindProfileValue(text, "COMMON", "KEY"), "value with blanks");
  EXPECT_EQ(FindProfileValue(text, "Common", "empty"), "");
  EXPECT_EQ(FindProfileValue(text, "COMMON", "MISSING"), std::nullopt);
  EXPECT_EQ(FindProfileValue(text, "NOSECTION", "KEY"), std::nullopt);
  EXPECT_EQ(FindProfileValue("KEY=outside\n", "COMMON", "KEY"), std::nullopt);
}

TEST(IniFileTest, DropsOnePairOfEnclosingQuotesAndKeepsEqualsInValues) {
  EXPECT_EQ(FindProfileValue("[S]\nP=\"/opt/my prog\"\n", "S", "P"), "/opt/my prog");
  EXPECT_EQ(FindProfileValue("[S]\nP=a=b\n", "S", "P"), "a=b");
  EXPECT_EQ(FindProfileValue("[S]\nP=\"\n", "S", "P"), "\"");
}

TEST(IniFileTest, ReplacingAKeyKeepsEveryOtherByte) {
  const std::string text = "; note\r\n[COMMON]\r\nA=1\r\nStartFileName = old \r\nB=2";
  EXPECT_EQ(SetProfileValue(text, "COMMON", "STARTFILENAME", "/bin/x"),
            "; note\r\n[COMMON]\r\nA=1\r\nStartFileName =/bin/x\r\nB=2");
}

TEST(IniFileTest, AddsMissingKeysAtTheEndOfTheirSectionAndMissingSectionsAtTheEnd) {
  EXPECT_EQ(SetProfileValue("[COMMON]\nA=1\n\n[NEXT]\nC=3\n", "COMMON", "B", "2"),
            "[COMMON]\nA=1\nB=2\n\n[NEXT]\nC=3\n");
  EXPECT_EQ(SetProfileValue("[OTHER]\r\nX=1", "COMMON", "B", "2"), "[OTHER]\r\nX=1\r\n[COMMON]\r\nB=2\r\n");
  EXPECT_EQ(SetProfileValue("", "COMMON", "B", ""), "[COMMON]\nB=\n");
}

TEST(IniFileTest, AddingAfterALastLineEndedByACarriageReturnLeavesThatLineAlone) {
  const std::string text = "[COMMON]\r\nSTOPFILENAME=x\r";
  const std::string written = SetProfileValue(text, "COMMON", "STARTFILENAME", "y");
  EXPECT_EQ(written, "[COMMON]\r\nSTOPFILENAME=x\r\nSTARTFILENAME=y\r\n");
  EXPECT_EQ(FindProfileValue(written, "COMMON", "STOPFILENAME"), "x");
}

TEST(IniFileTest, RefusesValuesThatWouldBreakTheLine) {
  EXPECT_THROW(SetProfileValue("", "COMMON", "K", "a\nDOSORTCATEGORY=0"), EIniError);
  EXPECT_THROW(SetProfileValue("", "COMMON", "K", std::string("a\0b", 3)), EIniError);
}

TEST(IniFileTest, ReadsIntegersAsDecimalOrHexadecimalAndFallsBackOnGarbage) {
  const std::string path = ::testing::TempDir() + "ini_integers.ini";
  WriteFileAtomic(path, "[C]\nHEX=0x1\nZERO=0\nWORD=yes\nEMPTY=\nBIG=99999999999\n");
  const TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("C", "HEX", 7), 1);
  EXPECT_TRUE(ini.ReadBool("C", "HEX", false));
  EXPECT_FALSE(ini.ReadBool("C", "ZERO", true));
  EXPECT_TRUE(ini.ReadBool("C", "WORD", true));
  EXPECT_FALSE(ini.ReadBool("C", "WORD", false));
  EXPECT_EQ(ini.ReadInteger("C", "EMPTY", 5), 5);
  EXPECT_EQ(ini.ReadInteger("C", "BIG", 5), 5);
  std::filesystem::remove(path);
}

TEST(IniFileTest, WritingCreatesTheFileAndItsDirectory) {
  const std::string directory = ::testing::TempDir() + "ini_new_home";
  std::filesystem::remove_all(directory);
  TIniFile ini(directory + "/sub/settings.ini");
  ini.WriteString("COMMON", "A", "1");
  EXPECT_EQ(ReadWholeFile(directory + "/sub/settings.ini"), "[COMMON]\nA=1\n");
  EXPECT_EQ(ini.ReadString("common", "a", "x"), "1");
  std::filesystem::remove_all(directory);
}

}  // namespace
