#include "export/dbase_values.h"

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

enum class TStoredKind { Number, Date, Logical, Text };

TStoredKind KindOf(const TDbaseField& field) {
  switch (field.Type) {
    case 'N':
    case 'F':
      return TStoredKind::Number;
    case 'D':
      return TStoredKind::Date;
    case 'L':
      return TStoredKind::Logical;
    default:
      return TStoredKind::Text;
  }
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

// A text column of the text files holding this text.
TcsTXTField AsTextColumn(std::string_view stored) {
  TcsTXTField column("");
  column.SetAsString(WithoutTrailingBlanks(stored));
  return column;
}

// dBase numbers are stored with '.' whatever the region.
std::optional<double> StoredNumber(std::string_view stored) {
  const std::string_view text = Trimmed(stored);
  if (text.empty()) return std::nullopt;
  return TryStrToFloat(text, TFormatSettings{});
}

double StoredNumberOrThrow(std::string_view stored) {
  const std::optional<double> number = StoredNumber(stored);
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
      const std::optional<double> number = StoredNumber(stored);
      if (!number || *number != std::trunc(*number) || *number < std::numeric_limits<int32_t>::min() ||
          *number > std::numeric_limits<int32_t>::max()) {
        NotConvertible(stored, "integer value");
      }
      return static_cast<int32_t>(*number);
    }
    case TStoredKind::Logical:
      return StoredLogicalOrThrow(stored, "integer value") ? 1 : 0;
    case TStoredKind::Date:
      NotConvertible(stored, "integer value");
    case TStoredKind::Text:
      break;
  }
  return AsTextColumn(stored).AsInteger();
}

double DbaseAsFloat(const TDbaseField& field, std::string_view stored) {
  switch (KindOf(field)) {
    case TStoredKind::Number:
      return StoredNumberOrThrow(stored);
    case TStoredKind::Logical:
      return StoredLogicalOrThrow(stored, "floating point value") ? 1.0 : 0.0;
    case TStoredKind::Date:
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
    case TStoredKind::Logical:
      return std::string(Trimmed(stored));
    case TStoredKind::Date: {
      const std::optional<TDateTime> date = StoredDate(stored);
      return date ? DateToStr(*date) : std::string(Trimmed(stored));
    }
    case TStoredKind::Text:
      break;
  }
  return std::string(WithoutTrailingBlanks(stored));
}
