// The desktop's date-time: days since 30.12.1899 (day 0, the "zero date-time") with the
// time of day as the fraction. Handheld words, text files, packets and ODBC all convert through it.
#pragma once

#include <compare>

struct TDateTime {
  double Value = 0.0;
  auto operator<=>(const TDateTime&) const = default;
};

// Builds a date; false (and nothing stored) for a day that does not exist or a year outside 1..9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
// As TryEncodeDate, but throws EConvertError "Invalid argument to date encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
// As TryEncodeTime, but throws EConvertError "Invalid argument to time encode".
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

void DecodeDate(TDateTime value, int& year, int& month, int& day);
// Hours, minutes, seconds and milliseconds of the time of day, rounded to the millisecond.
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 0 = Sunday .. 6 = Saturday.
int DayOfWeekSundayZero(TDateTime value);

TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// A value at midnight exactly (to the millisecond) has no time of day.
bool HasTimeOfDay(TDateTime value);
