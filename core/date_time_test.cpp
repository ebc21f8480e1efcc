#include "core/date_time.h"

#include <gtest/gtest.h>

#include "core/exceptions.h"

TEST(DateTime, DayZeroIsThe30thOfDecember1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).Value, 0.0);
  EXPECT_EQ(EncodeDate(2005, 12, 31).Value, 38717.0);
  EXPECT_EQ(EncodeDate(1904, 1, 1).Value, 1462.0);
  int y, m, d;
  DecodeDate(TDateTime{38717.75}, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20051231);
  DecodeDate(TDateTime{0}, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);
}

TEST(DateTime, InvalidDatesAndTimesAreRefused) {
  TDateTime out;
  EXPECT_FALSE(TryEncodeDate(2005, 2, 29, out));
  EXPECT_TRUE(TryEncodeDate(2004, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(1904, 0, 0, out));
  EXPECT_THROW(EncodeDate(2005, 13, 1), EConvertError);
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, out));
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecond) {
  const TDateTime value{EncodeDate(2005, 12, 31).Value + EncodeTime(14, 5, 7, 250).Value};
  int h, n, s, ms;
  DecodeTime(value, h, n, s, ms);
  EXPECT_EQ((h * 100 + n) * 100 + s, 140507);
  EXPECT_EQ(ms, 250);
  EXPECT_TRUE(HasTimeOfDay(value));
  EXPECT_FALSE(HasTimeOfDay(EncodeDate(2005, 12, 31)));
  EXPECT_EQ(DayOfWeekSundayZero(EncodeDate(2005, 12, 31)), 6);  // a Saturday
  EXPECT_EQ(DayOfWeekSundayZero(EncodeDate(2024, 3, 3)), 0);    // a Sunday
}
