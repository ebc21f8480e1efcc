#include "odbc/buffers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "odbc/driver_error.h"
#include "odbc/text_recoding.h"

namespace {

SQLSMALLINT DefaultCType(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_INTEGER:
      return SQL_C_SLONG;
    case SQL_SMALLINT:
      return SQL_C_SSHORT;
    case SQL_TINYINT:
      return SQL_C_STINYINT;
    case SQL_BIGINT:
      return SQL_C_SBIGINT;
    case SQL_BIT:
      return SQL_C_BIT;
    case SQL_REAL:
      return SQL_C_FLOAT;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return SQL_C_DOUBLE;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return SQL_C_TYPE_TIMESTAMP;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return SQL_C_TYPE_TIME;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return SQL_C_BINARY;
    default:
      return SQL_C_CHAR;
  }
}

std::string FormatNumber(double number) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", number);
  return text;
}

std::string FormatDate(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string FormatTimestamp(const Timestamp& stamp) {
  char text[40];
  std::snprintf(text, sizeof text, "%s %02d:%02d:%02d", FormatDate(stamp.date).c_str(), stamp.hour, stamp.minute,
                stamp.second);
  return text;
}

std::string AsText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
  if (const auto* number = std::get_if<double>(&value)) return FormatNumber(*number);
  if (const auto* date = std::get_if<Date>(&value)) return FormatDate(*date);
  return FormatTimestamp(std::get<Timestamp>(value));
}

double AsDouble(const Value& value) {
  if (const auto* number = std::get_if<int64_t>(&value)) return static_cast<double>(*number);
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::string trimmed = *text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    size_t start = trimmed.find_first_not_of(' ');
    if (start == std::string::npos) start = trimmed.size();
    double number = 0;
    const char* first = trimmed.data() + start;
    const char* last = trimmed.data() + trimmed.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (first != last && error == std::errc() && end == last) return number;
    throw DriverError("22018", "Invalid character value for a number: \"" + *text + "\"");
  }
  throw DriverError("07006", "A date cannot be read as a number");
}

int64_t AsInteger(const Value& value, int64_t low, int64_t high) {
  double number = 0;
  if (const auto* integer = std::get_if<int64_t>(&value)) {
    if (*integer < low || *integer > high)
      throw DriverError("22003", "Numeric value out of range: " + std::to_string(*integer));
    return *integer;
  }
  number = std::trunc(AsDouble(value));
  if (!(number >= static_cast<double>(low) && number <= static_cast<double>(high))) {
    throw DriverError("22003", "Numeric value out of range: " + FormatNumber(number));
  }
  return static_cast<int64_t>(number);
}

bool ParseDate(const std::string& text, Date& date) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) < 3 &&
      std::sscanf(text.c_str(), "%4d%2d%2d%c", &year, &month, &day, &tail) < 3) {
    return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  date = {year, month, day};
  return true;
}

Timestamp AsTimestamp(const Value& value) {
  if (const auto* stamp = std::get_if<Timestamp>(&value)) return *stamp;
  if (const auto* date = std::get_if<Date>(&value)) return Timestamp{*date};
  if (const auto* text = std::get_if<std::string>(&value)) {
    Timestamp stamp;
    if (ParseDate(*text, stamp.date)) {
      const size_t space = text->find(' ');
      if (space != std::string::npos) {
        std::sscanf(text->c_str() + space + 1, "%2d:%2d:%2d", &stamp.hour, &stamp.minute, &stamp.second);
      }
      return stamp;
    }
    throw DriverError("22018", "Invalid character value for a date: \"" + *text + "\"");
  }
  throw DriverError("07006", "A number cannot be read as a date");
}

template <typename T>
void Store(const BufferBinding& target, T value) {
  std::memcpy(target.data, &value, sizeof value);
  if (target.indicator != nullptr) *target.indicator = sizeof value;
}

// Character or binary data from `offset`, in parts when the buffer is short.
WriteOutcome WriteBytes(const std::string& bytes, size_t terminator, const BufferBinding& target, size_t& offset) {
  if (offset > 0 && offset >= bytes.size()) return WriteOutcome::NoMoreData;
  const size_t remaining = bytes.size() - offset;
  if (target.indicator != nullptr) *target.indicator = static_cast<SQLLEN>(remaining);
  if (target.data == nullptr) return WriteOutcome::Written;
  const size_t room = target.buffer_length > 0 ? static_cast<size_t>(target.buffer_length) : 0;
  if (room < terminator) return remaining == 0 ? WriteOutcome::Written : WriteOutcome::Truncated;
  size_t count = std::min(remaining, room - terminator);
  if (terminator == 2) count -= count % 2;
  std::memcpy(target.data, bytes.data() + offset, count);
  std::memset(static_cast<char*>(target.data) + count, 0, terminator);
  offset += count;
  if (count < remaining) return WriteOutcome::Truncated;
  if (offset == 0) offset = 1;  // an empty value is delivered once
  return WriteOutcome::Written;
}

}  // namespace

Value ReadParameter(const BufferBinding& binding) {
  const SQLLEN indicator = binding.indicator != nullptr ? *binding.indicator : SQL_NTS;
  if (indicator == SQL_NULL_DATA || binding.data == nullptr) return Value{};
  if (indicator == SQL_DATA_AT_EXEC || indicator <= SQL_LEN_DATA_AT_EXEC_OFFSET) {
    throw DriverError("HYC00", "Parameters sent at execution time are not supported");
  }
  const SQLSMALLINT c_type = binding.c_type == SQL_C_DEFAULT ? DefaultCType(binding.sql_type) : binding.c_type;
  const void* data = binding.data;
  switch (c_type) {
    case SQL_C_CHAR:
    case SQL_C_BINARY: {
      const char* text = static_cast<const char*>(data);
      if (indicator == SQL_NTS) return std::string(text);
      if (indicator < 0) throw DriverError("HY090", "Invalid parameter length");
      return std::string(text, static_cast<size_t>(indicator));
    }
    case SQL_C_WCHAR: {
      const char16_t* text = static_cast<const char16_t*>(data);
      size_t length = 0;
      if (indicator == SQL_NTS) {
        while (text[length] != 0) ++length;
      } else if (indicator < 0) {
        throw DriverError("HY090", "Invalid parameter length");
      } else {
        length = static_cast<size_t>(indicator) / 2;
      }
      return Utf16ToWindows1251(std::u16string_view(text, length));
    }
    case SQL_C_SLONG:
    case SQL_C_LONG:
      return static_cast<int64_t>(*static_cast<const SQLINTEGER*>(data));
    case SQL_C_ULONG:
      return static_cast<int64_t>(*static_cast<const SQLUINTEGER*>(data));
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
      return static_cast<int64_t>(*static_cast<const SQLSMALLINT*>(data));
    case SQL_C_USHORT:
      return static_cast<int64_t>(*static_cast<const SQLUSMALLINT*>(data));
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
      return static_cast<int64_t>(*static_cast<const SQLSCHAR*>(data));
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
      return static_cast<int64_t>(*static_cast<const SQLCHAR*>(data));
    case SQL_C_SBIGINT:
      return static_cast<int64_t>(*static_cast<const SQLBIGINT*>(data));
    case SQL_C_UBIGINT: {
      const SQLUBIGINT number = *static_cast<const SQLUBIGINT*>(data);
      if (number > static_cast<SQLUBIGINT>(std::numeric_limits<int64_t>::max())) {
        throw DriverError("22003", "Numeric value out of range: " + std::to_string(number));
      }
      return static_cast<int64_t>(number);
    }
    case SQL_C_DOUBLE:
      return *static_cast<const SQLDOUBLE*>(data);
    case SQL_C_FLOAT:
      return static_cast<double>(*static_cast<const SQLREAL*>(data));
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
      const auto* date = static_cast<const SQL_DATE_STRUCT*>(data);
      return Date{date->year, date->month, date->day};
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
      const auto* stamp = static_cast<const SQL_TIMESTAMP_STRUCT*>(data);
      return Timestamp{
          {stamp->year, stamp->month, stamp->day}, stamp->hour, stamp->minute, stamp->second, stamp->fraction};
    }
    default:
      throw DriverError("HYC00", "Parameters of C type " + std::to_string(c_type) + " are not supported");
  }
}

WriteOutcome WriteValue(const Value& value, SQLSMALLINT column_type, const BufferBinding& target, size_t& offset) {
  const SQLSMALLINT c_type = target.c_type == SQL_C_DEFAULT ? DefaultCType(column_type) : target.c_type;
  const bool character = c_type == SQL_C_CHAR || c_type == SQL_C_WCHAR || c_type == SQL_C_BINARY;
  if (IsNull(value)) {
    if (character && offset > 0) return WriteOutcome::NoMoreData;
    if (target.indicator == nullptr) throw DriverError("22002", "Indicator variable required but not supplied");
    *target.indicator = SQL_NULL_DATA;
    if (character) offset = 1;
    return WriteOutcome::Written;
  }
  switch (c_type) {
    case SQL_C_CHAR:
      return WriteBytes(AsText(value), 1, target, offset);
    case SQL_C_BINARY:
      return WriteBytes(AsText(value), 0, target, offset);
    case SQL_C_WCHAR: {
      const std::u16string wide = Windows1251ToUtf16(AsText(value));
      return WriteBytes(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2), 2, target, offset);
    }
    case SQL_C_SLONG:
    case SQL_C_LONG:
      Store(target, static_cast<SQLINTEGER>(AsInteger(value, INT32_MIN, INT32_MAX)));
      break;
    case SQL_C_ULONG:
      Store(target, static_cast<SQLUINTEGER>(AsInteger(value, 0, UINT32_MAX)));
      break;
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
      Store(target, static_cast<SQLSMALLINT>(AsInteger(value, INT16_MIN, INT16_MAX)));
      break;
    case SQL_C_USHORT:
      Store(target, static_cast<SQLUSMALLINT>(AsInteger(value, 0, UINT16_MAX)));
      break;
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
      Store(target, static_cast<SQLSCHAR>(AsInteger(value, INT8_MIN, INT8_MAX)));
      break;
    case SQL_C_UTINYINT:
      Store(target, static_cast<SQLCHAR>(AsInteger(value, 0, UINT8_MAX)));
      break;
    case SQL_C_BIT:
      Store(target, static_cast<SQLCHAR>(AsInteger(value, 0, 1)));
      break;
    case SQL_C_SBIGINT:
      Store(target, static_cast<SQLBIGINT>(AsInteger(value, INT64_MIN, INT64_MAX)));
      break;
    case SQL_C_UBIGINT:
      Store(target, static_cast<SQLUBIGINT>(AsInteger(value, 0, INT64_MAX)));
      break;
    case SQL_C_DOUBLE:
      Store(target, static_cast<SQLDOUBLE>(AsDouble(value)));
      break;
    case SQL_C_FLOAT:
      Store(target, static_cast<SQLREAL>(AsDouble(value)));
      break;
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
      const Timestamp stamp = AsTimestamp(value);
      SQL_DATE_STRUCT date{static_cast<SQLSMALLINT>(stamp.date.year), static_cast<SQLUSMALLINT>(stamp.date.month),
                           static_cast<SQLUSMALLINT>(stamp.date.day)};
      Store(target, date);
      break;
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
      const Timestamp stamp = AsTimestamp(value);
      SQL_TIMESTAMP_STRUCT out{static_cast<SQLSMALLINT>(stamp.date.year),
                               static_cast<SQLUSMALLINT>(stamp.date.month),
                               static_cast<SQLUSMALLINT>(stamp.date.day),
                               static_cast<SQLUSMALLINT>(stamp.hour),
                               static_cast<SQLUSMALLINT>(stamp.minute),
                               static_cast<SQLUSMALLINT>(stamp.second),
                               stamp.fraction};
      Store(target, out);
      break;
    }
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: {
      const Timestamp stamp = AsTimestamp(value);
      SQL_TIME_STRUCT time{static_cast<SQLUSMALLINT>(stamp.hour), static_cast<SQLUSMALLINT>(stamp.minute),
                           static_cast<SQLUSMALLINT>(stamp.second)};
      Store(target, time);
      break;
    }
    default:
      throw DriverError("HY003", "Columns cannot be read as C type " + std::to_string(c_type));
  }
  return WriteOutcome::Written;
}
