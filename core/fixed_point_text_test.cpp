#include "core/fixed_point_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const TFormatSettings kPoint{};
const TFormatSettings kComma{',', '.', ':', TDateOrder::DayMonthYear};

TEST(FixedPointText, PadsAndCutsToTheDecimalsWithTheRegionalSeparator) {
  EXPECT_EQ(FormatFixed(25, 2, kPoint), "25.00");
  EXPECT_EQ(FormatFixed(2.5, 3, kPoint), "2.500");
  EXPECT_EQ(FormatFixed(2.5, 3, kComma), "2,500");
  EXPECT_EQ(FormatFixed(0.05, 2, kPoint), "0.05");
  EXPECT_EQ(FormatFixed(0.0001, 3, kPoint), "0.000");
  EXPECT_EQ(FormatFixed(123456789.125, 2, kPoint), "123456789.13");
  EXPECT_EQ(FormatFixed(7, 0, kComma), "7");
}

TEST(FixedPointText, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
  EXPECT_EQ(FormatFixed(0.125, 2, kPoint), "0.13");
  EXPECT_EQ(FormatFixed(-0.125, 2, kPoint), "-0.13");
  EXPECT_EQ(FormatFixed(2.5, 0, kPoint), "3");
  EXPECT_EQ(FormatFixed(99.5, 0, kPoint), "100");
  EXPECT_EQ(FormatFixed(99.9996, 3, kPoint), "100.000");
  // 2.675 is stored a little below the half: its 18 digits are 2.67499999999999982.
  EXPECT_EQ(FormatFixed(2.675, 2, kPoint), "2.67");
}

TEST(FixedPointText, ZeroHasNoSignAndOddValuesHaveAText) {
  EXPECT_EQ(FormatFixed(-0.001, 2, kPoint), "0.00");
  EXPECT_EQ(FormatFixed(-0.0, 2, kPoint), "0.00");
  EXPECT_EQ(FormatFixed(-12.5, 2, kPoint), "-12.50");
  EXPECT_EQ(FormatFixed(1e20, 2, kPoint), "100000000000000000000.00");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2, kPoint), "INF");
}

}  // namespace
