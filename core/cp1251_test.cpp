#include "core/cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, OwnTextsBecomeWindows1251Bytes) {
  EXPECT_EQ(Ansi("Ошибка"), "\xCE\xF8\xE8\xE1\xEA\xE0");
  EXPECT_EQ(Ansi("Ёё №"), "\xA8\xB8 \xB9");
  EXPECT_EQ(Ansi("PALM-ПК: Загружено: "), "PALM-\xCF\xCA: \xC7\xE0\xE3\xF0\xF3\xE6\xE5\xED\xEE: ");
  EXPECT_EQ(Ansi("日"), "?");
}

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x98) all += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}
