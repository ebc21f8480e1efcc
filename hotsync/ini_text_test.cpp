#include "hotsync/ini_text.h"

#include <gtest/gtest.h>

#include "hotsync/host_errors.h"

namespace {

std::string ErrorOf(std::string_view text) {
  try {
    ParseIniText(text, "home/users.ini");
  } catch (const EHotSyncFileError& error) {
    return error.what();
  }
  return "no error";
}

TEST(IniText, ReadsSectionsPairsCommentsAndWindowsLineEnds) {
  const auto sections = ParseIniText("; users\r\n\r\n[1]\r\nName=a=b\r\nEmpty=\n[\xC8\xE2]\nKey=\xE0\xE1\xE2", "f");
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].Name, "1");
  EXPECT_EQ(sections[0].Line, 3);
  EXPECT_EQ(sections[0].Find("Name"), "a=b");
  EXPECT_EQ(sections[0].Find("Empty"), "");
  EXPECT_EQ(sections[0].Find("Missing"), std::nullopt);
  EXPECT_EQ(sections[1].Name, "\xC8\xE2");
  EXPECT_EQ(sections[1].Find("Key"), "\xE0\xE1\xE2");
}

TEST(IniText, RejectsDamagedLinesNamingFileAndLine) {
  EXPECT_EQ(ErrorOf("[1]\nName"), "home/users.ini, line 2: expected \"key=value\" or \"[section]\"");
  EXPECT_EQ(ErrorOf("\n\n[1"), "home/users.ini, line 3: section header without ']'");
  EXPECT_EQ(ErrorOf("Name=x"), "home/users.ini, line 1: value before the first section");
  EXPECT_EQ(ErrorOf("[1]\n=x"), "home/users.ini, line 2: empty key");
}

TEST(IniText, FormatsCanonicallyAndReadsBackTheSame) {
  const std::vector<TIniSection> sections = {{"Wqtz", {{"Title", "Zem&bra"}, {"Info", ""}}, 0}, {"b]", {}, 0}};
  const std::string text = FormatIniText(sections);
  EXPECT_EQ(text, "[Wqtz]\nTitle=Zem&bra\nInfo=\n[b]]\n");
  const auto again = ParseIniText(text, "f");
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].Values, sections[0].Values);
  EXPECT_EQ(again[1].Name, "b]");
}

TEST(IniText, RefusesTextsThatWouldBreakTheLines) {
  EXPECT_THROW(FormatIniText({{"s", {{"Key", "two\rlines"}}, 0}}), EHotSyncRequestError);
  EXPECT_THROW(FormatIniText({{"s", {{"Key", "two\nlines"}}, 0}}), EHotSyncRequestError);
  EXPECT_THROW(FormatIniText({{"s", {{"a=b", "x"}}, 0}}), EHotSyncRequestError);
  EXPECT_THROW(FormatIniText({{"s\n", {}, 0}}), EHotSyncRequestError);
}

}  // namespace
