#include "exchange/odbc_result_columns.h"

#include <sqlext.h>

#include <algorithm>

#include "core/collation.h"
#include "core/date_time.h"
#include "exchange/odbc_api.h"
#include "exchange/odbc_diagnostics.h"

namespace {

bool IsTaken(const std::string& name, const std::vector<std::string>& taken) {
  return std::any_of(taken.begin(), taken.end(), [&](const std::string& other) { return SameText(other, name); });
}

// Texts and bytes of any length: read in pieces until the driver has given everything.
TOdbcValue ReadLongColumn(const TOdbcApi& api, SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT c_type) {
  std::string bytes;
  char piece[4096];
  const SQLLEN terminator = c_type == SQL_C_CHAR ? 1 : 0;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN code = api.SQLGetData(statement, column, c_type, piece, sizeof piece, &indicator);
    if (code == SQL_NO_DATA) break;
    CheckStatement(code, statement, {"01004"});
    if (indicator == SQL_NULL_DATA) return std::monostate{};
    const bool whole = code == SQL_SUCCESS;
    const SQLLEN room = static_cast<SQLLEN>(sizeof piece) - terminator;
    const SQLLEN length = indicator == SQL_NO_TOTAL || indicator > room ? room : indicator;
    bytes.append(piece, static_cast<size_t>(std::max<SQLLEN>(length, 0)));
    if (whole) break;
  }
  return bytes;
}

template <typename Buffer>
bool ReadFixed(const TOdbcApi& api, SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT c_type, Buffer& buffer) {
  SQLLEN indicator = 0;
  CheckStatement(api.SQLGetData(statement, column, c_type, &buffer, sizeof buffer, &indicator), statement);
  return indicator != SQL_NULL_DATA;
}

TDateTime DateTimeOf(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  TDateTime date{}, time{};
  if (year != 0 || month != 0 || day != 0) date = EncodeDate(year, month, day);
  time = EncodeTime(hour, minute, second, millisecond);
  return TDateTime{date.Value + (date.Value < 0 ? -time.Value : time.Value)};
}

}  // namespace

std::optional<TOdbcDataType> FieldTypeForColumn(SQLSMALLINT sql_type, SQLULEN column_size) {
  switch (sql_type) {
    case SQL_CHAR:
    case SQL_WCHAR:
      return TOdbcDataType::ftString;
    case SQL_VARCHAR:
    case SQL_WVARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      return column_size >= 1 && column_size <= 254 ? TOdbcDataType::ftString : TOdbcDataType::ftMemo;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
    case SQL_BIGINT:
      return TOdbcDataType::ftFloat;
    case SQL_INTEGER:
      return TOdbcDataType::ftInteger;
    case SQL_SMALLINT:
    case SQL_TINYINT:
      return TOdbcDataType::ftSmallint;
    case SQL_DATE:
    case SQL_TYPE_DATE:
      return TOdbcDataType::ftDate;
    case SQL_TIME:
    case SQL_TYPE_TIME:
      return TOdbcDataType::ftTime;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
      return TOdbcDataType::ftDateTime;
    case SQL_BIT:
      return TOdbcDataType::ftBoolean;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return TOdbcDataType::ftBlob;
    default:
      return std::nullopt;
  }
}

std::string UniqueFieldName(const std::string& name, const std::vector<std::string>& taken) {
  const std::string base = name.empty() ? "COLUMN" : name;
  if (!IsTaken(base, taken)) return base;
  for (int counter = 1;; ++counter) {
    std::string candidate = base + "_" + std::to_string(counter);
    if (!IsTaken(candidate, taken)) return candidate;
  }
}

TOdbcValue ReadColumnValue(SQLHSTMT statement, SQLUSMALLINT column, TOdbcDataType type) {
  const TOdbcApi& api = OdbcApi();
  switch (type) {
    case TOdbcDataType::ftSmallint:
    case TOdbcDataType::ftWord: {
      SQLSMALLINT value = 0;
      if (!ReadFixed(api, statement, column, SQL_C_SSHORT, value)) return std::monostate{};
      return int64_t{value};
    }
    case TOdbcDataType::ftInteger:
    case TOdbcDataType::ftAutoInc: {
      SQLINTEGER value = 0;
      if (!ReadFixed(api, statement, column, SQL_C_SLONG, value)) return std::monostate{};
      return int64_t{value};
    }
    case TOdbcDataType::ftFloat:
    case TOdbcDataType::ftCurrency:
    case TOdbcDataType::ftBCD: {
      SQLDOUBLE value = 0;
      if (!ReadFixed(api, statement, column, SQL_C_DOUBLE, value)) return std::monostate{};
      return double{value};
    }
    case TOdbcDataType::ftBoolean: {
      unsigned char value = 0;
      if (!ReadFixed(api, statement, column, SQL_C_BIT, value)) return std::monostate{};
      return value != 0;
    }
    case TOdbcDataType::ftDate: {
      SQL_DATE_STRUCT value{};
      if (!ReadFixed(api, statement, column, SQL_C_TYPE_DATE, value)) return std::monostate{};
      return DateTimeOf(value.year, value.month, value.day, 0, 0, 0, 0);
    }
    case TOdbcDataType::ftTime: {
      SQL_TIME_STRUCT value{};
      if (!ReadFixed(api, statement, column, SQL_C_TYPE_TIME, value)) return std::monostate{};
      return DateTimeOf(0, 0, 0, value.hour, value.minute, value.second, 0);
    }
    case TOdbcDataType::ftDateTime: {
      SQL_TIMESTAMP_STRUCT value{};
      if (!ReadFixed(api, statement, column, SQL_C_TYPE_TIMESTAMP, value)) return std::monostate{};
      return DateTimeOf(value.year, value.month, value.day, value.hour, value.minute, value.second,
                        static_cast<int>(value.fraction / 1000000u));
    }
    case TOdbcDataType::ftBlob:
      return ReadLongColumn(api, statement, column, SQL_C_BINARY);
    default:
      return ReadLongColumn(api, statement, column, SQL_C_CHAR);
  }
}
