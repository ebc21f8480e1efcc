#include "import/delimited_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DelimitedCellTextTest, DelimitersAndLineBreaksCannotSplitACell) {
  EXPECT_EQ(DelimitedCellText("a;b;", ';'), "a,b,");
  EXPECT_EQ(DelimitedCellText("line1\r\nline2\rline3\nend", ';'), "line1  line2 line3 end");
  EXPECT_EQ(DelimitedCellText("\xC0\xE1\xE2 \"x\", ok", ';'), "\xC0\xE1\xE2 \"x\", ok");
  EXPECT_EQ(DelimitedCellText("tab\there|pipe", '|'), "tab\there,pipe");
  EXPECT_EQ(DelimitedCellText("", ';'), "");
  for (const char* changed : {"a;b", "x\r", "\ny"}) EXPECT_FALSE(IsCellTextAsItIs(changed, ';')) << changed;
  EXPECT_TRUE(IsCellTextAsItIs("a|b, \t\xC0", ';'));
  EXPECT_FALSE(IsCellTextAsItIs("a|b", '|'));
  EXPECT_TRUE(IsCellTextAsItIs("", ';'));
}

}  // namespace
