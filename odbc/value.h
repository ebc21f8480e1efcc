// Values as they travel between the ODBC buffers and a driver's storage, and the result set a
// statement produces: typed, never turned into text until a buffer asks for text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  auto operator<=>(const Date&) const = default;
};

struct Timestamp {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  uint32_t fraction = 0;  // nanoseconds
  auto operator<=>(const Timestamp&) const = default;
};

// Texts are bytes in the desktop's code page (Windows-1251).
using Value = std::variant<std::monostate, int64_t, double, std::string, Date, Timestamp>;

inline bool IsNull(const Value& value) { return std::holds_alternative<std::monostate>(value); }

struct ColumnInfo {
  std::string name;
  SQLSMALLINT sql_type = SQL_VARCHAR;
  SQLULEN size = 0;
  SQLSMALLINT decimals = 0;
};

struct ResultSet {
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<Value>> rows;
};

// What running a statement gives: the rows it affected, and for a select its rows.
struct ExecutionResult {
  SQLLEN affected_rows = -1;
  bool has_result_set = false;
  ResultSet result_set;
};
