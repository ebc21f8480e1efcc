#include "core/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/cp1251.h"

TEST(Collation, IgnoresCaseOfLatinAndCyrillicLetters) {
  EXPECT_TRUE(SameText("IdQUEST", "IDQUEST"));
  EXPECT_TRUE(SameText(Ansi("ёлка"), Ansi("ЁЛКА")));
  EXPECT_FALSE(SameText(Ansi("ёлка"), Ansi("елка")));
  EXPECT_EQ(CompareText(Ansi("Сок"), Ansi("СОК")), 0);
  EXPECT_EQ(AnsiUpperCase(Ansi("агент 7 ё")), Ansi("АГЕНТ 7 Ё"));
  EXPECT_EQ(UpperCaseLatin(Ansi("agent7 ё")), Ansi("AGENT7 ё"));
}

TEST(Collation, OrdersPunctuationDigitsLatinCyrillic) {
  std::vector<std::string> words = {Ansi("яблоко"), "zebra", "10", Ansi("Ёж"), "-x", Ansi("ель"), "Apple", Ansi("жук")};
  std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
  const std::vector<std::string> expected = {"-x",        "10",       "Apple",     "zebra",
                                             Ansi("ель"), Ansi("Ёж"), Ansi("жук"), Ansi("яблоко")};
  EXPECT_EQ(words, expected);
  EXPECT_LT(CompareText("000000009=1", "000000010=2"), 0);
  EXPECT_LT(CompareText("AB", "ABC"), 0);
}
