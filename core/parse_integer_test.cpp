#include "core/parse_integer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ParseInteger, TakesTheWholeTextOrNothing) {
  EXPECT_EQ(ParseInteger<int32_t>("-42"), -42);
  EXPECT_EQ(ParseInteger<uint32_t>("4294967295"), 4294967295u);
  EXPECT_EQ(ParseInteger<uint32_t>("ff", 16), 255u);
  for (const char* bad : {"", " 1", "1 ", "+1", "1x", "0x10", "-"}) {
    EXPECT_FALSE(ParseInteger<int32_t>(bad).has_value()) << bad;
  }
  EXPECT_FALSE(ParseInteger<uint32_t>("-1").has_value());
  EXPECT_FALSE(ParseInteger<int32_t>("2147483648").has_value());
  EXPECT_FALSE(ParseInteger<uint8_t>("256").has_value());
}

}  // namespace
