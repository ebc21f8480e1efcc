#include "ui/wide_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(WideTextTest, EveryByteSurvivesTheRoundTrip) {
  const char* saved = std::setlocale(LC_CTYPE, nullptr);
  const std::string previous = saved ? saved : "C";
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  const std::string utf8 = "/opt/Программы/x";
  EXPECT_EQ(ToWide(utf8).size(), 16u);
  EXPECT_EQ(FromWide(ToWide(utf8)), utf8);
  const std::string broken = "a\xff\xd0z\x80";
  EXPECT_EQ(FromWide(ToWide(broken)), broken);
  std::setlocale(LC_CTYPE, previous.c_str());
}

}  // namespace
