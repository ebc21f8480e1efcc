#include "core/text_conversions.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>
#include <random>

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
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_FALSE(TryStrToInt("-2147483649"));
  EXPECT_FALSE(TryStrToInt("-"));
  EXPECT_FALSE(TryStrToInt("--1"));
  EXPECT_FALSE(TryStrToInt("1-"));
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt64("999999999999999999"), 999999999999999999);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808"));
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
  // Short decimals take a quicker road that must end where the full conversion does.
  for (const char* text : {"5.", ".5", "+5", "-0", "007.50", "123456789012345", "1234567890123456", "0.000000000000001",
                           "99999999999999.9", "-0.1", "1.000000000000005", "893.27", ".", "-"}) {
    double expected = 0;
    const std::string_view view(text);
    const bool plus = view.starts_with('+');
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), expected);
    const bool parses = !plus && error == std::errc() && end == view.data() + view.size();
    const std::optional<double> value = TryStrToFloat(text, kPoint);
    ASSERT_EQ(value.has_value(), parses) << text;
    if (parses) {
      EXPECT_EQ(std::bit_cast<uint64_t>(*value), std::bit_cast<uint64_t>(expected)) << text;
    }
  }
  std::mt19937_64 random(11);
  for (int n = 0; n < 20000; ++n) {
    const std::string text = std::to_string(random() % 1000000000000000ull);
    const size_t point = random() % (text.size() + 1);
    const std::string decimal = text.substr(0, point) + "." + text.substr(point);
    double expected = 0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), expected);
    ASSERT_EQ(std::bit_cast<uint64_t>(StrToFloat(decimal, kPoint)), std::bit_cast<uint64_t>(expected)) << decimal;
  }
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
  // Each piece is one to four digits, and there are two or three of them.
  for (const char* text :
       {"31.12.20055", "00031.12.2005", "31..2005", "31.12.", ".12.2005", "1.2.3.4", "31.12.2005x", "31.1x.2005", ""}) {
    EXPECT_THROW(StrToDate(text, kPoint), EConvertError) << text;
  }
  EXPECT_EQ(StrToDate("0031.0012.2005", kPoint), eve);
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
