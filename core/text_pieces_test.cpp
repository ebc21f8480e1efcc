#include "core/text_pieces.h"

#include <gtest/gtest.h>

namespace {

using Pieces = std::vector<std::string_view>;

TEST(TextPieces, TrimTakesOnlySpacesAndTabsFromTheEnds) {
  EXPECT_EQ(Trim(" \t a b \t"), "a b");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim("\r\nx\n"), "\r\nx\n");
}

TEST(TextPieces, LinesEndAtCrLfLfOrCrAndATrailingBreakAddsNoLine) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Pieces{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n"), (Pieces{"a"}));
  EXPECT_EQ(SplitLines("a\n\n\r\n"), (Pieces{"a", "", ""}));
  EXPECT_EQ(SplitLines("\n\ra\r"), (Pieces{"", "", "a"}));
  EXPECT_EQ(SplitLines("a\rb\nc\r\r\nd\n\re"), (Pieces{"a", "b", "c", "", "d", "", "e"}));
  EXPECT_TRUE(SplitLines("").empty());
  size_t position = 0;
  EXPECT_EQ(NextLine("x\r\ny", position), "x");
  EXPECT_EQ(position, 3u);
  EXPECT_EQ(NextLine("x\r\ny", position), "y");
  EXPECT_EQ(position, 4u);
}

TEST(TextPieces, EveryDelimiterSeparatesTwoPieces) {
  EXPECT_EQ(SplitAt("a;b;", ';'), (Pieces{"a", "b", ""}));
  EXPECT_EQ(SplitAt(";;", ';'), (Pieces{"", "", ""}));
  EXPECT_EQ(SplitAt("", ';'), (Pieces{""}));
  EXPECT_EQ(SplitAt("a,b", ';'), (Pieces{"a,b"}));
}

}  // namespace
