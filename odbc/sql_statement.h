// The statements the drivers understand: CREATE TABLE, INSERT INTO ... VALUES and
// SELECT * FROM ... [ORDER BY ...], parsed into typed descriptions.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "odbc/value.h"

enum class ColumnType { Integer, Numeric, Float, Date, Char, Logical };

struct ColumnDefinition {
  std::string name;
  ColumnType type = ColumnType::Char;
  int width = 0;      // 0 when the statement gives none
  int decimals = -1;  // -1 when the statement gives none
};

struct CreateTableStatement {
  std::string table;
  std::vector<ColumnDefinition> columns;
};

// One VALUES entry: a parameter (its 0-based number among the question marks) or a literal.
struct InsertValue {
  int parameter = -1;
  Value literal;
};

struct InsertStatement {
  std::string table;
  std::vector<std::string> columns;
  std::vector<InsertValue> values;
  int parameter_count = 0;
};

struct SelectStatement {
  std::string table;
  std::vector<std::string> order_by;
};

using SqlStatement = std::variant<CreateTableStatement, InsertStatement, SelectStatement>;

// Throws DriverError 42000 naming what could not be parsed.
SqlStatement ParseSqlStatement(std::string_view sql);
