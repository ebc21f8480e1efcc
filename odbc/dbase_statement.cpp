#include "odbc/dbase_statement.h"

#include <strings.h>

#include <algorithm>

#include "odbc/dbase_data_source.h"
#include "odbc/dbase_values.h"
#include "odbc/driver_error.h"

namespace {

ColumnInfo DescribeField(const DbaseField& field) {
  switch (field.type) {
    case 'N':
    case 'F':
      if (field.decimals == 0 && field.width <= 11) return {field.name, SQL_INTEGER, 10, 0};
      return {field.name, SQL_NUMERIC, static_cast<SQLULEN>(field.width), static_cast<SQLSMALLINT>(field.decimals)};
    case 'D':
      return {field.name, SQL_TYPE_DATE, 10, 0};
    case 'L':
      return {field.name, SQL_BIT, 1, 0};
    default:
      return {field.name, SQL_CHAR, static_cast<SQLULEN>(field.width), 0};
  }
}

std::vector<ColumnInfo> Describe(const std::vector<DbaseField>& fields) {
  std::vector<ColumnInfo> columns;
  for (const DbaseField& field : fields) columns.push_back(DescribeField(field));
  return columns;
}

// Field names compare without regard to case, on the ten characters a dBase header keeps.
size_t FieldIndex(const std::vector<DbaseField>& fields, const std::string& name, const std::string& path) {
  const std::string key = name.substr(0, 10);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (strcasecmp(fields[i].name.c_str(), key.c_str()) == 0) return i;
  }
  throw DriverError("42S22", "Column not found: " + name + " in \"" + path + "\"");
}

// Nulls first, numbers by value, texts by their bytes, dates in date order.
bool Less(const Value& left, const Value& right) {
  const auto number = [](const Value& value, double& out) {
    if (const auto* integer = std::get_if<int64_t>(&value)) {
      out = static_cast<double>(*integer);
      return true;
    }
    if (const auto* real = std::get_if<double>(&value)) {
      out = *real;
      return true;
    }
    return false;
  };
  double a = 0, b = 0;
  if (number(left, a) && number(right, b)) return a < b;
  return left < right;
}

ExecutionResult Create(DbaseDataSource& source, const CreateTableStatement& statement) {
  DbaseTable table;
  for (const ColumnDefinition& column : statement.columns) {
    for (const DbaseField& field : table.fields) {
      if (strcasecmp(field.name.c_str(), column.name.c_str()) == 0) {
        throw DriverError("42S21", "Column already exists: " + column.name);
      }
    }
    table.fields.push_back(FieldFor(column));
  }
  source.CreateTable(source.TablePath(statement.table), table);
  ExecutionResult result;
  result.affected_rows = 0;
  return result;
}

ExecutionResult Insert(DbaseDataSource& source, const InsertStatement& statement,
                       const std::vector<Value>& parameters) {
  const std::string path = source.TablePath(statement.table);
  const std::vector<DbaseField>& fields = source.Fields(path);
  std::vector<Value> row(fields.size());
  for (size_t i = 0; i < statement.columns.size(); ++i) {
    const size_t index = FieldIndex(fields, statement.columns[i], path);
    const InsertValue& value = statement.values[i];
    row[index] = FitToField(value.parameter >= 0 ? parameters[static_cast<size_t>(value.parameter)] : value.literal,
                            fields[index]);
  }
  source.InsertRow(path, std::move(row));
  ExecutionResult result;
  result.affected_rows = 1;
  return result;
}

ExecutionResult Select(DbaseDataSource& source, const SelectStatement& statement) {
  const std::string path = source.TablePath(statement.table);
  DbaseTable table = source.ReadTable(path);
  std::vector<size_t> keys;
  for (const std::string& name : statement.order_by) keys.push_back(FieldIndex(table.fields, name, path));
  std::stable_sort(table.rows.begin(), table.rows.end(), [&](const auto& left, const auto& right) {
    for (size_t key : keys) {
      if (Less(left[key], right[key])) return true;
      if (Less(right[key], left[key])) return false;
    }
    return false;
  });
  ExecutionResult result;
  result.has_result_set = true;
  result.result_set.columns = Describe(table.fields);
  result.result_set.rows = std::move(table.rows);
  return result;
}

}  // namespace

DbaseStatement::DbaseStatement(DbaseDataSource& source, SqlStatement statement)
    : source_(source), statement_(std::move(statement)) {}

int DbaseStatement::ParameterCount() const {
  const auto* insert = std::get_if<InsertStatement>(&statement_);
  return insert != nullptr ? insert->parameter_count : 0;
}

std::vector<ColumnInfo> DbaseStatement::Columns() {
  const auto* select = std::get_if<SelectStatement>(&statement_);
  if (select == nullptr) return {};
  // The header alone describes the columns; the rows are read when the statement runs.
  return Describe(source_.Fields(source_.TablePath(select->table)));
}

ExecutionResult DbaseStatement::Execute(const std::vector<Value>& parameters) {
  if (const auto* create = std::get_if<CreateTableStatement>(&statement_)) return Create(source_, *create);
  if (const auto* insert = std::get_if<InsertStatement>(&statement_)) return Insert(source_, *insert, parameters);
  return Select(source_, std::get<SelectStatement>(statement_));
}
