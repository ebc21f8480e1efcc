#include "tools/semicolon_file.h"

#include <gtest/gtest.h>

namespace {

using Values = std::vector<std::string>;

TEST(SemicolonFileTest, ReadsWhatTheExchangeSideWrites) {
  const TSemicolonFile file = ParseSemicolonFile("\"Id\";Name;\r\n1;Milk;\r\n\r\n2;;\n3\r", "Note.txt");
  EXPECT_EQ(file.header, (Values{"Id", "Name"}));
  ASSERT_EQ(file.rows.size(), 3u);
  EXPECT_EQ(file.rows[0].values, (Values{"1", "Milk"}));
  EXPECT_EQ(file.rows[1].values, (Values{"2", ""}));
  EXPECT_EQ(file.rows[1].line, 4u);
  EXPECT_EQ(file.rows[2].values, (Values{"3", ""}));
}

TEST(SemicolonFileTest, SingleEmptyValueIsARecord) {
  const TSemicolonFile file = ParseSemicolonFile("Name\r\n;\r\n", "Note1.txt");
  ASSERT_EQ(file.rows.size(), 1u);
  EXPECT_EQ(file.rows[0].values, Values{""});
}

TEST(SemicolonFileTest, ErrorsNameFileAndLine) {
  try {
    ParseSemicolonFile("A;B\r\n1;2;\r\n1;2;3;\r\n", "x.txt");
    FAIL();
  } catch (const ESemicolonFileError& error) {
    EXPECT_STREQ(error.what(), "x.txt:3: 3 values for 2 field names");
  }
  EXPECT_THROW(ParseSemicolonFile("", "empty.txt"), ESemicolonFileError);
}

TEST(SemicolonFileTest, LinesAreWrittenAsTheyAreRead) {
  EXPECT_EQ(SemicolonLine({"Id", "Name"}, true), "Id;Name");
  EXPECT_EQ(SemicolonLine({"1", ""}, false), "1;;");
}

}  // namespace
