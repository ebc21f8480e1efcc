#include "core/regional_formats.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <mutex>

namespace {

TDateOrder OrderOfDateFormat(const char* format) {
  // nl_langinfo(D_FMT) gives a strftime pattern such as "%d.%m.%Y" or "%m/%d/%y".
  const char* d = std::strstr(format, "%d");
  const char* m = std::strstr(format, "%m");
  const char* y = std::strpbrk(format, "Yy");
  if (d && m && y) {
    if (y < m && m < d) return TDateOrder::YearMonthDay;
    if (m < d) return TDateOrder::MonthDayYear;
  }
  return TDateOrder::DayMonthYear;
}

char DateSeparatorOf(const char* format) {
  for (const char* p = format; *p; ++p) {
    if (*p == '%' && p[1]) {
      ++p;
      continue;
    }
    return *p;
  }
  return '.';
}

TFormatSettings& Current() {
  static TFormatSettings current = FormatSettingsFromLocale();
  return current;
}

}  // namespace

TFormatSettings FormatSettingsFromLocale() {
  TFormatSettings formats;
  locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return formats;
  const char* point = nl_langinfo_l(RADIXCHAR, locale);
  if (point && std::strlen(point) == 1) formats.DecimalSeparator = point[0];
  const char* date_format = nl_langinfo_l(D_FMT, locale);
  // The C locale's "%m/%d/%y" is not a desktop format: keep day.month.year there.
  if (date_format && std::strcmp(date_format, "%m/%d/%y") != 0) {
    formats.DateOrder = OrderOfDateFormat(date_format);
    formats.DateSeparator = DateSeparatorOf(date_format);
  }
  freelocale(locale);
  return formats;
}

const TFormatSettings& CurrentFormats() { return Current(); }

void SetCurrentFormats(const TFormatSettings& formats) { Current() = formats; }
