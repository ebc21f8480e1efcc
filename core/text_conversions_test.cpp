#include "core/text_conversions.h"

#include <gtest/gtest.h>

#include "core/exceptions.h"

namespace {
const TFormatSettings kPoint{};
const TFormatSettings kComma{',', '.', ':', TDateOrder::DayMonthYear};
}  // namespace

TEST(TextConversions, IntegersAreStrictWithTheDesktopMessage) {
  EXPECT_EQ(StrToInt(" -42"), -42);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_FALSE(TryStrToInt("2147483648"));
  EXPECT_FALSE(TryStrToInt(""));
  EXPECT_FALSE(TryStrToInt("12 "));
  try {
    StrToInt("1.5");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
  }
}

TEST(TextConversions, FloatsUseTheGeneralFormatWith15Digits) {
  EXPECT_EQ(FloatToStr(12.5, kComma), "12,5");
  EXPECT_EQ(FloatToStr(12.5, kPoint), "12.5");
  EXPECT_EQ(FloatToStr(0.1 + 0.2, kPoint), "0.3");
  EXPECT_EQ(FloatToStr(1.0 / 3.0, kPoint), "0.333333333333333");
  EXPECT_EQ(FloatToStr(100, kPoint), "100");
  EXPECT_EQ(FloatToStr(-0.5, kPoint), "-0.5");
  EXPECT_EQ(FloatToStr(1e20, kPoint), "1E20");
  EXPECT_EQ(FloatToStr(1.5e-7, kComma), "1,5E-7");
  EXPECT_EQ(FloatToStr(0.00001, kPoint), "0.00001");
  EXPECT_EQ(FloatToStr(123456789012345.0, kPoint), "123456789012345");
  EXPECT_EQ(FloatToStr(1234567890123456.0, kPoint), "1.23456789012346E15");
}

TEST(TextConversions, FloatsParseWithTheRegionalSeparatorOnly) {
  EXPECT_EQ(StrToFloat("12,5", kComma), 12.5);
  EXPECT_EQ(StrToFloat(" -1.5E3 ", kPoint), -1500.0);
  EXPECT_FALSE(TryStrToFloat("12.5", kComma));
  EXPECT_FALSE(TryStrToFloat("abc", kPoint));
  EXPECT_FALSE(TryStrToFloat("", kPoint));
  EXPECT_THROW(StrToFloat("1e", kPoint), EConvertError);
  for (const double v : {0.1, 1.0 / 3.0, 123.456, 1e-300, 9.87654321e100}) {
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v, kComma), kComma), std::stod(FloatToStr(v, kPoint)));
  }
}

TEST(TextConversions, DatesFollowTheRegionalOrder) {
  const TDateTime eve = EncodeDate(2005, 12, 31);
  EXPECT_EQ(DateToStr(eve, kPoint), "31.12.2005");
  EXPECT_EQ(FormatDdMmYyyy(eve), "31.12.2005");
  const TFormatSettings us{'.', '/', ':', TDateOrder::MonthDayYear};
  EXPECT_EQ(DateToStr(eve, us), "12/31/2005");
  EXPECT_EQ(StrToDate("12/31/2005", us), eve);
  EXPECT_EQ(StrToDate("31.12.2005", kPoint), eve);
  EXPECT_EQ(StrToDate("5.3.2024", kPoint), EncodeDate(2024, 3, 5));
  EXPECT_THROW(StrToDate("31.02.2005", kPoint), EConvertError);
  EXPECT_THROW(StrToDate("0", kPoint), EConvertError);
}

TEST(TextConversions, DateTimesCarryTheTimeOnlyWhenThereIsOne) {
  const TDateTime noon{EncodeDate(2005, 12, 31).Value + EncodeTime(12, 0, 0, 0).Value};
  EXPECT_EQ(DateTimeToStr(noon, kPoint), "31.12.2005 12:00:00");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2005, 12, 31), kPoint), "31.12.2005");
  EXPECT_EQ(StrToDateTime("31.12.2005 12:00", kPoint), noon);
  EXPECT_EQ(StrToDateTime("09:30", kPoint), EncodeTime(9, 30, 0, 0));
  EXPECT_EQ(StrToTime("23:59:59", kPoint), EncodeTime(23, 59, 59, 0));
  EXPECT_THROW(StrToTime("24:00", kPoint), EConvertError);
  try {
    StrToDateTime("yesterday", kPoint);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'yesterday' is not a valid date and time");
  }
}
