#include "core/date_time.h"

#include <cmath>

#include "core/exceptions.h"

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// Days from 1970-01-01 to the zero date-time 30.12.1899.
constexpr long kUnixEpochSerial = 25569;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& year, int& month, int& day) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long>(yoe) + era * 400 + (month <= 2));
}

// Milliseconds of the time of day; the fraction counts from midnight also for dates before day 0.
long MillisecondsOfDay(TDateTime value) {
  double whole;
  const double fraction = std::fabs(std::modf(value.Value, &whole));
  const long ms = std::lround(fraction * kMillisecondsPerDay);
  return ms >= static_cast<long>(kMillisecondsPerDay) ? static_cast<long>(kMillisecondsPerDay) - 1 : ms;
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return false;
  }
  result.Value = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochSerial);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result;
  if (!TryEncodeDate(year, month, day, result)) throw EConvertError("Invalid argument to date encode");
  return result;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999) {
    return false;
  }
  result.Value = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMillisecondsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime result;
  if (!TryEncodeTime(hour, minute, second, millisecond, result)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return result;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(static_cast<long>(std::trunc(value.Value)) - kUnixEpochSerial, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  long ms = MillisecondsOfDay(value);
  hour = static_cast<int>(ms / 3600000);
  ms %= 3600000;
  minute = static_cast<int>(ms / 60000);
  ms %= 60000;
  second = static_cast<int>(ms / 1000);
  millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeekSundayZero(TDateTime value) {
  const long serial = static_cast<long>(std::trunc(value.Value));
  return static_cast<int>(((serial + 6) % 7 + 7) % 7);
}

TDateTime DateOf(TDateTime value) { return TDateTime{std::trunc(value.Value)}; }

TDateTime TimeOf(TDateTime value) { return TDateTime{MillisecondsOfDay(value) / kMillisecondsPerDay}; }

bool HasTimeOfDay(TDateTime value) { return MillisecondsOfDay(value) != 0; }
