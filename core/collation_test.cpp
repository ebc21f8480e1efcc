#include "core/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
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

TEST(Collation, KeysCompareBytewiseAsTheirTextsCompare) {
  std::mt19937 random(11);
  const auto random_text = [&] {
    std::string text(random() % 6, '\0');
    // Few distinct bytes, so that equal prefixes and case pairs are common.
    for (char& c : text)
      c = static_cast<char>(random() % 2 == 0 ? "aAbB\xE0\xC0\xB8\xA8 -9"[random() % 12] : random() % 256);
    return text;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string a = random_text(), b = random_text();
    const int expected = CompareText(a, b);
    const int keys = CollationKey(a).compare(CollationKey(b));
    ASSERT_EQ(expected < 0, keys < 0) << a << " / " << b;
    ASSERT_EQ(expected == 0, keys == 0) << a << " / " << b;
  }
}
