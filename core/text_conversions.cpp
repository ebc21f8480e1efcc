#include "core/text_conversions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

#include "core/exceptions.h"
#include "core/float_format.h"
#include "core/parse_integer.h"
#include "core/text_pieces.h"

char* WritePaddedInteger(char* out, int value, int width) {
  char digits[16];
  const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  const int count = static_cast<int>(end - digits);
  if (value < 0) *out++ = '-';
  for (int i = count + (value < 0 ? 1 : 0); i < width; ++i) *out++ = '0';
  std::memcpy(out, digits, static_cast<size_t>(count));
  return out + count;
}

namespace {

constexpr int kGeneralDigits = 15;

TFloatFormat GeneralFloatFormat(const TFormatSettings& formats) {
  return {kGeneralDigits, formats.DecimalSeparator, -5, kGeneralDigits - 1};
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void Fail(const char* what, std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

// Three numbers with their separator, as dates and times are written.
std::string ThreeNumbers(int first, int first_width, int second, int second_width, int third, int third_width,
                         char separator) {
  char text[48];
  char* at = WritePaddedInteger(text, first, first_width);
  *at++ = separator;
  at = WritePaddedInteger(at, second, second_width);
  *at++ = separator;
  at = WritePaddedInteger(at, third, third_width);
  return std::string(text, static_cast<size_t>(at - text));
}

struct Number {
  int value;
  size_t digits;
};

// The numbers of a date or time text between its separators (at most three); none when a
// piece is not all digits or there are more pieces.
struct Numbers {
  Number items[3];
  size_t count = 0;
  size_t size() const { return count; }
  const Number& operator[](size_t i) const { return items[i]; }
  const Number& front() const { return items[0]; }
};

std::optional<Numbers> SplitNumbers(std::string_view text, char separator) {
  Numbers numbers;
  int value = 0;
  size_t digits = 0;
  for (size_t i = 0;; ++i) {
    if (i == text.size() || text[i] == separator) {
      if (digits == 0 || numbers.count == 3) return std::nullopt;
      numbers.items[numbers.count++] = {value, digits};
      if (i == text.size()) break;
      value = 0;
      digits = 0;
    } else if (text[i] >= '0' && text[i] <= '9' && ++digits <= 4) {
      value = value * 10 + (text[i] - '0');
    } else {
      return std::nullopt;
    }
  }
  return numbers;
}

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Two-digit years fall within fifty years of this year, as on the desktop; no digits at all
// (a date without its year) is this year.
int WidenYear(int year, size_t digits) {
  if (digits == 0) return CurrentYear();
  if (digits > 2) return year;
  const int pivot = CurrentYear() - 50;
  year += pivot / 100 * 100;
  return year < pivot ? year + 100 : year;
}

std::optional<TDateTime> ParseDate(std::string_view text, const TFormatSettings& formats) {
  const auto numbers = SplitNumbers(text, formats.DateSeparator);
  if (!numbers || numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
  const auto& n = *numbers;
  const bool with_year = n.size() == 3;
  // A date without a year is in this year.
  Number year{0, 0}, month{}, day{};
  switch (formats.DateOrder) {
    case TDateOrder::DayMonthYear:
      day = n[0], month = n[1];
      if (with_year) year = n[2];
      break;
    case TDateOrder::MonthDayYear:
      month = n[0], day = n[1];
      if (with_year) year = n[2];
      break;
    case TDateOrder::YearMonthDay:
      if (with_year) {
        year = n[0], month = n[1], day = n[2];
      } else {
        month = n[0], day = n[1];
      }
      break;
  }
  TDateTime result;
  if (!TryEncodeDate(WidenYear(year.value, year.digits), month.value, day.value, result)) return std::nullopt;
  return result;
}

std::optional<TDateTime> ParseTime(std::string_view text, const TFormatSettings& formats) {
  std::string_view main = text;
  int millisecond = 0;
  if (const size_t dot = text.find('.'); dot != std::string_view::npos && formats.TimeSeparator != '.') {
    const auto ms = SplitNumbers(text.substr(dot + 1), '\0');
    if (!ms || ms->size() != 1 || ms->front().value > 999) return std::nullopt;
    millisecond = ms->front().value;
    main = text.substr(0, dot);
  }
  const auto numbers = SplitNumbers(main, formats.TimeSeparator);
  if (!numbers || numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
  TDateTime result;
  const int second = numbers->size() == 3 ? (*numbers)[2].value : 0;
  if (!TryEncodeTime((*numbers)[0].value, (*numbers)[1].value, second, millisecond, result)) return std::nullopt;
  return result;
}

TDateTime Combine(TDateTime date, TDateTime time) {
  return TDateTime{date.Value >= 0 ? date.Value + time.Value : date.Value - time.Value};
}

// The usual integer text, an optional '-' and 1 to 18 decimal digits, read without the general
// rules; none for any other text.
std::optional<int64_t> PlainDecimalInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  const size_t first = negative ? 1 : 0;
  if (text.size() == first || text.size() - first > 18) return std::nullopt;
  int64_t value = 0;
  for (size_t i = first; i < text.size(); ++i) {
    const auto digit = static_cast<unsigned>(text[i] - '0');
    if (digit > 9) return std::nullopt;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<int64_t> TryStrToInt64(std::string_view text) {
  if (const std::optional<int64_t> plain = PlainDecimalInteger(text)) return plain;
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  const std::optional<uint64_t> parsed = ParseInteger<uint64_t>(text, base);
  if (!parsed) return std::nullopt;
  const uint64_t magnitude = *parsed;
  if (negative) {
    if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1) return std::nullopt;
    return static_cast<int64_t>(0 - magnitude);
  }
  if (base == 16) return static_cast<int64_t>(magnitude);
  if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
  return static_cast<int64_t>(magnitude);
}

std::optional<int32_t> TryStrToInt(std::string_view text) {
  const auto value = TryStrToInt64(text);
  if (!value) return std::nullopt;
  // Hexadecimal texts may name all 32 bits, as "$FFFFFFFF" does for -1.
  if (*value >= std::numeric_limits<int32_t>::min() && *value <= std::numeric_limits<int32_t>::max()) {
    return static_cast<int32_t>(*value);
  }
  if (*value > 0 && *value <= 0xFFFFFFFFLL && text.find_first_of("$xX") != std::string_view::npos) {
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
  }
  return std::nullopt;
}

int32_t StrToInt(std::string_view text) {
  const auto value = TryStrToInt(text);
  if (!value) Fail("integer value", text);
  return *value;
}

int64_t StrToInt64(std::string_view text) {
  const auto value = TryStrToInt64(text);
  if (!value) Fail("integer value", text);
  return *value;
}

std::string IntToStr(int64_t value) {
  char text[24];
  return std::string(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
}

std::optional<double> ParseShortDecimal(std::string_view text, char separator) {
  const char* at = text.data();
  const char* const end = at + text.size();
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  // At most 15 digits make a whole number below 2^53 and at most 15 decimals an exact power of
  // ten, so one division rounds as correctly as the full conversion. More digits wrap `whole`
  // harmlessly: their count refuses the text.
  uint64_t whole = 0;
  const auto read_digits = [&] {
    const char* const start = at;
    for (; at != end && static_cast<unsigned>(*at - '0') < 10; ++at)
      whole = whole * 10 + static_cast<uint64_t>(*at - '0');
    return static_cast<size_t>(at - start);
  };
  const size_t integral_digits = read_digits();
  size_t decimals = 0;
  if (at != end && *at == separator) {
    ++at;
    decimals = read_digits();
  }
  const size_t digit_count = integral_digits + decimals;
  if (at != end || digit_count == 0 || digit_count > 15) return std::nullopt;
  static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const double magnitude = static_cast<double>(whole) / kPowers[decimals];
  return negative ? -magnitude : magnitude;
}

std::optional<double> TryStrToFloat(std::string_view text, const TFormatSettings& formats) {
  const std::string_view trimmed = Trim(text);
  if (const std::optional<double> value = ParseShortDecimal(trimmed, formats.DecimalSeparator)) return value;
  // The C form of the number: the regional separator made a full stop. A text too long for
  // the stack copy is copied to the heap.
  char stack_copy[64];
  std::string heap_copy;
  char* c_text = stack_copy;
  if (trimmed.size() > sizeof stack_copy) {
    heap_copy.resize(trimmed.size());
    c_text = heap_copy.data();
  }
  size_t length = 0;
  size_t i = 0;
  if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) c_text[length++] = trimmed[i++];
  bool digits = false, point = false;
  for (; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
      c_text[length++] = c;
    } else if (c == formats.DecimalSeparator && !point) {
      point = true;
      c_text[length++] = '.';
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
    c_text[length++] = 'e';
    ++i;
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) c_text[length++] = trimmed[i++];
    bool exponent_digits = false;
    for (; i < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[i])); ++i) {
      exponent_digits = true;
      c_text[length++] = trimmed[i];
    }
    if (!exponent_digits) return std::nullopt;
  }
  if (i != trimmed.size()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(c_text, c_text + length, value);
  if (error != std::errc() || end != c_text + length) return std::nullopt;
  return value;
}

double StrToFloat(std::string_view text, const TFormatSettings& formats) {
  const auto value = TryStrToFloat(text, formats);
  if (!value) Fail("floating point value", text);
  return *value;
}

std::string FloatToStr(double value, const TFormatSettings& formats) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return FormatFloat(value, GeneralFloatFormat(formats));
}

size_t WriteFloatToStr(char* out, double value, const TFormatSettings& formats) {
  if (std::isfinite(value)) return WriteFloat(out, value, GeneralFloatFormat(formats));
  const std::string text = FloatToStr(value, formats);
  text.copy(out, text.size());
  return text.size();
}

double RoundToGeneralDigits(double value) { return RoundToSignificantDigits(value, kGeneralDigits); }

std::string DateToStr(TDateTime value, const TFormatSettings& formats) {
  int year, month, day;
  DecodeDate(value, year, month, day);
  const char s = formats.DateSeparator;
  switch (formats.DateOrder) {
    case TDateOrder::MonthDayYear:
      return ThreeNumbers(month, 2, day, 2, year, 4, s);
    case TDateOrder::YearMonthDay:
      return ThreeNumbers(year, 4, month, 2, day, 2, s);
    case TDateOrder::DayMonthYear:
      break;
  }
  return ThreeNumbers(day, 2, month, 2, year, 4, s);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& formats) {
  int hour, minute, second, millisecond;
  DecodeTime(value, hour, minute, second, millisecond);
  return ThreeNumbers(hour, 2, minute, 2, second, 2, formats.TimeSeparator);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& formats) {
  std::string text = DateToStr(value, formats);
  if (HasTimeOfDay(value)) {
    text += ' ';
    text += TimeToStr(value, formats);
  }
  return text;
}

std::string FormatDdMmYyyy(TDateTime value) {
  int year, month, day;
  DecodeDate(value, year, month, day);
  return ThreeNumbers(day, 2, month, 2, year, 4, '.');
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& formats) {
  const auto date = ParseDate(Trim(text), formats);
  if (!date) Fail("date", text);
  return *date;
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& formats) {
  const auto time = ParseTime(Trim(text), formats);
  if (!time) Fail("time", text);
  return *time;
}

std::optional<TDateTime> TryStrToDateTime(std::string_view text, const TFormatSettings& formats) {
  const std::string_view trimmed = Trim(text);
  const size_t blank = trimmed.find(' ');
  if (blank == std::string_view::npos) {
    if (auto date = ParseDate(trimmed, formats)) return date;
    return ParseTime(trimmed, formats);
  }
  const auto date = ParseDate(trimmed.substr(0, blank), formats);
  const auto time = ParseTime(Trim(trimmed.substr(blank + 1)), formats);
  if (!date || !time) return std::nullopt;
  return Combine(*date, *time);
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& formats) {
  const auto value = TryStrToDateTime(text, formats);
  if (!value) Fail("date and time", text);
  return *value;
}
