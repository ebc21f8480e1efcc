#include "exchange/packet_values.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/cp1251.h"

namespace {

TEST(PacketValuesTest, FloatsHaveSixteenSignificantDigitsAndAFullStop) {
  EXPECT_EQ(FormatPacketFloat(12.5), "12.5");
  EXPECT_EQ(FormatPacketFloat(1.0 / 3.0), "0.3333333333333333");
  EXPECT_EQ(FormatPacketFloat(100.0), "100");
  EXPECT_EQ(FormatPacketFloat(0.0), "0");
  EXPECT_EQ(FormatPacketFloat(-0.0), "0");
  EXPECT_EQ(FormatPacketFloat(-2.5), "-2.5");
  EXPECT_EQ(FormatPacketFloat(0.1), "0.1");
  EXPECT_EQ(FormatPacketFloat(0.0001), "0.0001");
  EXPECT_EQ(FormatPacketFloat(1e20), "1E20");
  EXPECT_EQ(FormatPacketFloat(1.5e-7), "1.5E-7");
  EXPECT_EQ(FormatPacketFloat(123456789012345678.0), "1.234567890123457E17");
  EXPECT_EQ(FormatPacketFloat(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(FormatPacketFloat(std::nan("")), std::nullopt);
  for (double value : {12.5, 1.0 / 3.0, 1e20, 1.5e-7, -99.99999, 1e15, 123.456}) {
    EXPECT_NEAR(*ParsePacketFloat(*FormatPacketFloat(value)), value, std::fabs(value) * 1e-15);
  }
}

TEST(PacketValuesTest, NumbersParseInAnyDecimalFormOnly) {
  EXPECT_EQ(ParsePacketFloat(" 1.5e-7 "), 1.5e-7);
  EXPECT_EQ(ParsePacketFloat("+3"), 3.0);
  EXPECT_EQ(ParsePacketFloat("12,5"), std::nullopt);
  EXPECT_EQ(ParsePacketFloat(""), std::nullopt);
  // The short decimal forms convert exactly as the full conversion does.
  for (const char* text : {"5.", ".5", "-0", "-0.1", "123456789012345", "1234567890123456", "0.000000000000001",
                           "99999.9999", "inf", "1e3", "-.5"}) {
    double expected = 0;
    std::from_chars(text, text + std::strlen(text), expected);
    const std::optional<double> parsed = ParsePacketFloat(text);
    ASSERT_TRUE(parsed) << text;
    EXPECT_EQ(std::bit_cast<uint64_t>(*parsed), std::bit_cast<uint64_t>(expected)) << text;
  }
  EXPECT_EQ(ParsePacketFloat("-"), std::nullopt);
  EXPECT_EQ(ParsePacketFloat("1.2.3"), std::nullopt);
  EXPECT_EQ(ParsePacketInteger("-2147483648"), -2147483648);
  EXPECT_EQ(ParsePacketInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParsePacketInteger("1.0"), std::nullopt);
}

TEST(PacketValuesTest, DateTimesHaveTheShortAndTheLongForm) {
  const TDateTime midnight = EncodeDate(2005, 12, 31);
  const TDateTime afternoon{midnight.Value + EncodeTime(14, 5, 7, 250).Value};
  EXPECT_EQ(FormatPacketDateTime(midnight), "20051231");
  EXPECT_EQ(FormatPacketDateTime(afternoon), "20051231T14:05:07250");
  EXPECT_EQ(FormatPacketDateTime(TDateTime{}), "18991230");
  EXPECT_EQ(ParsePacketDateTime("20051231"), midnight);
  const std::optional<TDateTime> parsed = ParsePacketDateTime("20051231T14:05:07250");
  ASSERT_TRUE(parsed);
  EXPECT_NEAR(parsed->Value, afternoon.Value, 1e-9);
  EXPECT_NEAR(ParsePacketDateTime("14:05:07250")->Value, EncodeTime(14, 5, 7, 250).Value, 1e-9);
  for (const char* bad : {"", "2005123", "20051331", "20051231X", "20051231T25:00:00000", "2005-12-31"}) {
    EXPECT_EQ(ParsePacketDateTime(bad), std::nullopt) << bad;
  }
}

std::string Escaped(std::string_view text) {
  std::string out(text.size() * kEscapedRoomPerChar, '\0');
  out.resize(static_cast<size_t>(WriteEscaped(out.data(), text) - out.data()));
  return out;
}

TEST(PacketValuesTest, EscapesAndTheirReverse) {
  EXPECT_EQ(Escaped("a<b&\"c\""), "a&lt;b&amp;&quot;c&quot;");
  const std::string out = Escaped("x>'\r\n\t\\");
  EXPECT_EQ(out, "x&gt;&apos;&#013;&#010;&#009;&#092;");
  EXPECT_EQ(Unescape(out), "x>'\r\n\t\\");
  EXPECT_EQ(Escaped(""), "");
  EXPECT_EQ(Escaped("plain run, then & and a last run"), "plain run, then &amp; and a last run");
  // Every character at its largest still fits the room asked for.
  EXPECT_EQ(Escaped("\"\""), "&quot;&quot;");
  EXPECT_EQ(Unescape("&#x41;&#1040;&#171;"), "A" + Ansi("А«"));
  EXPECT_EQ(Unescape(Ansi("Привет")), Ansi("Привет"));
  std::string scratch;
  const std::string_view plain = "no references";
  EXPECT_EQ(UnescapeView(plain, scratch)->data(), plain.data());
  EXPECT_EQ(UnescapeView("a&amp;b", scratch), "a&b");
  for (const char* bad : {"&", "&foo;", "&#;", "&#0;", "&#xZZ;", "&#55296;", "&#99999999999;"}) {
    EXPECT_EQ(Unescape(bad), std::nullopt) << bad;
  }
}

}  // namespace
