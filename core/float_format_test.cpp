#include "core/float_format.h"

#include <gtest/gtest.h>

namespace {

constexpr TFloatFormat kFifteenComma{15, ',', -5, 14};
constexpr TFloatFormat kSixteenPoint{16, '.', -5, 15};

TEST(FloatFormat, DigitsSeparatorAndExponentRangeAreTheCallersChoice) {
  EXPECT_EQ(FormatFloat(0.1 + 0.2, kFifteenComma), "0,3");
  EXPECT_EQ(FormatFloat(1.0 / 3, kFifteenComma), "0,333333333333333");
  EXPECT_EQ(FormatFloat(1.0 / 3, kSixteenPoint), "0.3333333333333333");
  EXPECT_EQ(FormatFloat(-1.5e-7, kFifteenComma), "-1,5E-7");
  EXPECT_EQ(FormatFloat(1e15, kFifteenComma), "1E15");
  EXPECT_EQ(FormatFloat(1e15, kSixteenPoint), "1000000000000000");
  EXPECT_EQ(FormatFloat(0.00001, kFifteenComma), "0,00001");
  EXPECT_EQ(FormatFloat(123.25, kSixteenPoint), "123.25");
  EXPECT_EQ(FormatFloat(-0.0, kSixteenPoint), "0");
}

}  // namespace
