#include "core/float_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

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

// The digits printf gives at the format's precision, written the way FormatFloat writes them:
// an independent account of the rounding that every text of a floating value relies on.
std::string ReferenceText(double value, const TFloatFormat& format) {
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", format.SignificantDigits - 1, value);
  std::string text(buffer);
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const size_t e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  std::string digits;
  for (const char c : text.substr(0, e)) {
    if (c != '.') digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent < format.MinFixedExponent || exponent > format.MaxFixedExponent) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += format.DecimalSeparator + digits.substr(1);
    return out + "E" + std::to_string(exponent);
  }
  if (exponent < 0) return out + "0" + format.DecimalSeparator + std::string(-exponent - 1, '0') + digits;
  const size_t whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
  return out + digits.substr(0, whole) + format.DecimalSeparator + digits.substr(whole);
}

TEST(FloatFormat, ShortCutsGiveThePrintfRoundingForEveryKindOfValue) {
  std::vector<double> values = {893.27,
                                0.1 + 0.2,
                                1.0 / 3,
                                2.0 / 3,
                                1e15 - 1,
                                123456789012345.6,
                                9.999999999999995,
                                5e-324,
                                -4.9e-320,
                                2.2250738585072014e-308,
                                1.7976931348623157e308,
                                0.00001,
                                0.0005,
                                -0.0012,
                                1e-4,
                                0.05,
                                12345678901.2345,
                                99999999999.99995};
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(std::bit_cast<double>(random()));
    values.push_back(static_cast<double>(random() % 100000000) / 100);
    // Few decimals, at the edges of the 15-digit range and of the short cut's scales.
    const double scales[] = {1, 10, 100, 1000, 10000, 100000};
    const double whole = static_cast<double>(random() % 1000000000000000ull);
    values.push_back((random() % 2 ? -whole : whole) / scales[random() % 6]);
    values.push_back(std::nextafter(whole / scales[random() % 6], 0.0));
    values.push_back(static_cast<double>(random() % 100000) / scales[random() % 6]);
    values.push_back(std::bit_cast<double>(random() & 0x800FFFFFFFFFFFFFull));  // subnormal
  }
  for (const double value : values) {
    if (!std::isfinite(value)) continue;
    for (const TFloatFormat& format : {kFifteenComma, kSixteenPoint}) {
      const std::string text = FormatFloat(value, format);
      ASSERT_EQ(text, ReferenceText(value, format)) << std::hexfloat << value;
    }
    char rounded[64];
    std::snprintf(rounded, sizeof rounded, "%.14e", value);
    ASSERT_EQ(std::bit_cast<uint64_t>(RoundToSignificantDigits(value, 15)),
              std::bit_cast<uint64_t>(value == 0 ? 0.0 : std::strtod(rounded, nullptr)))
        << std::hexfloat << value;
  }
}

}  // namespace
