#include "export/dbase_values.h"

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

#include "core/exceptions.h"
#include "core/text_conversions.h"
#include "exchange/currency.h"
#include "exchange/txt_field.h"

namespace {

// The largest magnitude a 64-bit fixed-point amount with four decimal places holds.
constexpr double kMaxCurrency = 922337203685477.0;

// The day 30.12.1899 (date-time 0) as a Julian day number, and the range of the date-time.
constexpr int64_t kJulianDayOfZero = 2415019;
constexpr double kFirstDay = -693593.0;  // 01.01.0001
constexpr double kLastDay = 2958465.0;   // 31.12.9999
constexpr int64_t kMillisecondsPerDay = 86400000;

enum class TStoredKind { Number, Date, DateTime, Logical, Text };

// Visual FoxPro's binary fields: 'I' a 4-byte integer, 'Y' an 8-byte amount in ten-thousandths,
// 'B' an 8-byte double, 'T' a Julian day and the milliseconds of the day, all little-endian.
bool IsBinary(const TDbaseField& field) {
  return (field.Type == 'I' && field.Width == 4) ||
         ((field.Type == 'Y' || field.Type == 'B' || field.Type == 'T') && field.Width == 8);
}

TStoredKind KindOf(const TDbaseField& field) {
  switch (field.Type) {
    case 'N':
    case 'F':
      return TStoredKind::Number;
    case 'I':
    case 'Y':
    case 'B':
      return IsBinary(field) ? TStoredKind::Number : TStoredKind::Text;
    case 'T':
      return IsBinary(field) ? TStoredKind::DateTime : TStoredKind::Text;
    case 'D':
      return TStoredKind::Date;
    case 'L':
      return TStoredKind::Logical;
    default:
      return TStoredKind::Text;
  }
}

uint64_t LittleEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (size_t i = bytes.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

// The value of an 'I', 'Y' or 'B' field.
double BinaryNumber(const TDbaseField& field, std::string_view stored) {
  const uint64_t bits = LittleEndian(stored);
  switch (field.Type) {
    case 'I':
      return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(bits)));
    case 'Y':
      return static_cast<double>(static_cast<int64_t>(bits)) / 10000.0;
    default:
      return std::bit_cast<double>(bits);
  }
}

// A 'T' field; none when it is empty or outside the date-time's range.
std::optional<TDateTime> BinaryDateTime(std::string_view stored) {
  const auto day = static_cast<int32_t>(static_cast<uint32_t>(LittleEndian(stored.substr(0, 4))));
  const auto milliseconds = static_cast<int32_t>(static_cast<uint32_t>(LittleEndian(stored.substr(4, 4))));
  const double value = static_cast<double>(day - kJulianDayOfZero);
  if (day <= 0 || value < kFirstDay || value > kLastDay) return std::nullopt;
  if (milliseconds < 0 || milliseconds >= kMillisecondsPerDay) return std::nullopt;
  return TDateTime{value + static_cast<double>(milliseconds) / static_cast<double>(kMillisecondsPerDay)};
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

[[noreturn]] void NotConvertible(std::string_view stored, const char* what) {
  throw EConvertError("'" + std::string(Trimmed(stored)) + "' is not a valid " + what);
}

// A text column of the text files showing this text.
TcsTXTField AsTextColumn(std::string_view stored) { return TcsTXTField("", WithoutTrailingBlanks(stored)); }

// dBase numbers are stored with '.' whatever the region; binary numbers are never blank.
std::optional<double> StoredNumber(const TDbaseField& field, std::string_view stored) {
  if (IsBinary(field)) {
    const double number = BinaryNumber(field, stored);
    return std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
  }
  const std::string_view text = Trimmed(stored);
  if (text.empty()) return std::nullopt;
  return TryStrToFloat(text, TFormatSettings{});
}

double StoredNumberOrThrow(const TDbaseField& field, std::string_view stored) {
  const std::optional<double> number = StoredNumber(field, stored);
  if (!number) NotConvertible(stored, "floating point value");
  return *number;
}

// 'T', 't', 'Y', 'y' are true; 'F', 'f', 'N', 'n' false; a blank or '?' is no value.
std::optional<bool> StoredLogical(std::string_view stored) {
  const std::string_view text = Trimmed(stored);
  if (text.size() != 1) return std::nullopt;
  switch (text[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
      return true;
    case 'F':
    case 'f':
    case 'N':
    case 'n':
      return false;
    default:
      return std::nullopt;
  }
}

bool StoredLogicalOrThrow(std::string_view stored, const char* what) {
  const std::optional<bool> logical = StoredLogical(stored);
  if (!logical) NotConvertible(stored, what);
  return *logical;
}

// "yyyymmdd".
std::optional<TDateTime> StoredDate(std::string_view stored) {
  const std::string_view text = Trimmed(stored);
  if (text.size() != 8 || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const auto number = [&](size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  TDateTime date{};
  if (!TryEncodeDate(number(0, 4), number(4, 2), number(6, 2), date)) return std::nullopt;
  return date;
}

}  // namespace

int32_t DbaseAsInteger(const TDbaseField& field, std::string_view stored) {
  switch (KindOf(field)) {
    case TStoredKind::Number: {
      const std::optional<double> number = StoredNumber(field, stored);
      if (!number || *number != std::trunc(*number) || *number < std::numeric_limits<int32_t>::min() ||
          *number > std::numeric_limits<int32_t>::max()) {
        NotConvertible(stored, "integer value");
      }
      return static_cast<int32_t>(*number);
    }
    case TStoredKind::Logical:
      return StoredLogicalOrThrow(stored, "integer value") ? 1 : 0;
    case TStoredKind::Date:
    case TStoredKind::DateTime:
      NotConvertible(stored, "integer value");
    case TStoredKind::Text:
      break;
  }
  return AsTextColumn(stored).AsInteger();
}

double DbaseAsFloat(const TDbaseField& field, std::string_view stored) {
  switch (KindOf(field)) {
    case TStoredKind::Number:
      return StoredNumberOrThrow(field, stored);
    case TStoredKind::Logical:
      return StoredLogicalOrThrow(stored, "floating point value") ? 1.0 : 0.0;
    case TStoredKind::Date:
    case TStoredKind::DateTime:
      NotConvertible(stored, "floating point value");
    case TStoredKind::Text:
      break;
  }
  return AsTextColumn(stored).AsFloat();
}

double DbaseAsCurrency(const TDbaseField& field, std::string_view stored) {
  if (KindOf(field) == TStoredKind::Text) return AsTextColumn(stored).AsCurrency();
  const double value = DbaseAsFloat(field, stored);
  if (!(std::fabs(value) <= kMaxCurrency)) NotConvertible(stored, "floating point value");
  return RoundToCurrency(value);
}

TDateTime DbaseAsDateTime(const TDbaseField& field, std::string_view stored) {
  switch (KindOf(field)) {
    case TStoredKind::Date: {
      const std::optional<TDateTime> date = StoredDate(stored);
      if (!date) NotConvertible(stored, "date");
      return *date;
    }
    case TStoredKind::DateTime: {
      const std::optional<TDateTime> date_time = BinaryDateTime(stored);
      if (!date_time) throw EConvertError("The date and time field is empty or out of range");
      return *date_time;
    }
    case TStoredKind::Number:
    case TStoredKind::Logical:
      NotConvertible(stored, "date and time");
    case TStoredKind::Text:
      break;
  }
  return AsTextColumn(stored).AsDateTime();
}

std::string DbaseAsString(const TDbaseField& field, std::string_view stored) {
  switch (KindOf(field)) {
    case TStoredKind::Number:
      if (IsBinary(field)) return FloatToStr(BinaryNumber(field, stored), TFormatSettings{});
      return std::string(Trimmed(stored));
    case TStoredKind::Logical:
      return std::string(Trimmed(stored));
    case TStoredKind::DateTime: {
      const std::optional<TDateTime> date_time = BinaryDateTime(stored);
      return date_time ? DateTimeToStr(*date_time) : std::string();
    }
    case TStoredKind::Date: {
      const std::optional<TDateTime> date = StoredDate(stored);
      return date ? DateToStr(*date) : std::string(Trimmed(stored));
    }
    case TStoredKind::Text:
      break;
  }
  return std::string(WithoutTrailingBlanks(stored));
}
