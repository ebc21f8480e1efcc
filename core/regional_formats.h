// The desktop's regional formats: decimal separator, date order and separators, time format.
// One process-wide value taken from the locale; tests set it explicitly to run with a comma.
#pragma once

enum class TDateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

struct TFormatSettings {
  char DecimalSeparator = '.';
  char DateSeparator = '.';
  char TimeSeparator = ':';
  TDateOrder DateOrder = TDateOrder::DayMonthYear;
};

// The formats of the process locale (LC_NUMERIC, LC_TIME); the C locale gives '.', day.month.year.
TFormatSettings FormatSettingsFromLocale();

// The formats every conversion uses unless it is given others: read from the locale on first use.
const TFormatSettings& CurrentFormats();
void SetCurrentFormats(const TFormatSettings& formats);
