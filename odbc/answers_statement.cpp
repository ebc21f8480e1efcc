#include "odbc/answers_statement.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "odbc/answers_data_source.h"
#include "odbc/driver_error.h"
#include "odbc/text_recoding.h"

namespace {

std::string Upper(const char* text) {
  std::string out = text != nullptr ? text : "";
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string IsoDate(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

}  // namespace

ColumnInfo DescribeDeclaredType(const char* name, const char* declared) {
  ColumnInfo info;
  info.name = Utf8ToWindows1251(name != nullptr ? name : "");
  const std::string type = Upper(declared);
  if (Has(type, "INT")) {
    info.sql_type = SQL_INTEGER;
    info.size = 10;
  } else if (Has(type, "CHAR") || Has(type, "TEXT") || Has(type, "CLOB") || Has(type, "MEMO") || type.empty()) {
    int size = 0;
    const size_t open = type.find('(');
    if (open != std::string::npos) size = std::atoi(type.c_str() + open + 1);
    info.sql_type = size >= 1 && size <= 254 ? SQL_VARCHAR : SQL_LONGVARCHAR;
    info.size = size >= 1 && size <= 254 ? static_cast<SQLULEN>(size) : 65535;
  } else if (Has(type, "TIMESTAMP") || Has(type, "DATETIME")) {
    info.sql_type = SQL_TYPE_TIMESTAMP;
    info.size = 19;
  } else if (Has(type, "DATE")) {
    info.sql_type = SQL_TYPE_DATE;
    info.size = 10;
  } else if (Has(type, "BOOL") || Has(type, "BIT") || Has(type, "YESNO")) {
    info.sql_type = SQL_BIT;
    info.size = 1;
  } else if (Has(type, "BLOB") || Has(type, "BINARY")) {
    info.sql_type = SQL_LONGVARBINARY;
    info.size = 65535;
  } else {
    info.sql_type = SQL_DOUBLE;
    info.size = 15;
  }
  return info;
}

AnswersStatement::AnswersStatement(AnswersDataSource& source, sqlite3* database, sqlite3_stmt* statement)
    : source_(source), database_(database), statement_(statement) {}

AnswersStatement::~AnswersStatement() { sqlite3_finalize(statement_); }

int AnswersStatement::ParameterCount() const { return sqlite3_bind_parameter_count(statement_); }

std::vector<ColumnInfo> AnswersStatement::Columns() {
  std::vector<ColumnInfo> columns;
  for (int i = 0; i < sqlite3_column_count(statement_); ++i) {
    columns.push_back(DescribeDeclaredType(sqlite3_column_name(statement_, i), sqlite3_column_decltype(statement_, i)));
  }
  return columns;
}

void AnswersStatement::Bind(int number, const Value& value) {
  int result = SQLITE_OK;
  if (IsNull(value)) {
    result = sqlite3_bind_null(statement_, number);
  } else if (const auto* integer = std::get_if<int64_t>(&value)) {
    result = sqlite3_bind_int64(statement_, number, *integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    result = sqlite3_bind_double(statement_, number, *real);
  } else {
    std::string text;
    if (const auto* ansi = std::get_if<std::string>(&value)) {
      text = Windows1251ToUtf8(*ansi);
    } else if (const auto* date = std::get_if<Date>(&value)) {
      text = IsoDate(*date);
    } else {
      const Timestamp& stamp = std::get<Timestamp>(value);
      char clock[16];
      std::snprintf(clock, sizeof clock, " %02d:%02d:%02d", stamp.hour, stamp.minute, stamp.second);
      text = IsoDate(stamp.date) + clock;
    }
    result = sqlite3_bind_text(statement_, number, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  if (result != SQLITE_OK) ThrowSqliteError(database_, result, "Cannot bind parameter " + std::to_string(number));
}

Value AnswersStatement::Read(int column, const ColumnInfo& info) const {
  switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_NULL:
      return Value{};
    case SQLITE_INTEGER:
      return static_cast<int64_t>(sqlite3_column_int64(statement_, column));
    case SQLITE_FLOAT:
      return sqlite3_column_double(statement_, column);
    case SQLITE_BLOB: {
      const void* bytes = sqlite3_column_blob(statement_, column);
      return std::string(static_cast<const char*>(bytes),
                         static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
    }
    default:
      break;
  }
  const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  const std::string utf8(text, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
  if (info.sql_type == SQL_TYPE_DATE || info.sql_type == SQL_TYPE_TIMESTAMP) {
    Timestamp stamp;
    char tail = 0;
    const int fields = std::sscanf(utf8.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &stamp.date.year, &stamp.date.month,
                                   &stamp.date.day, &tail, &stamp.hour, &stamp.minute, &stamp.second);
    if (fields >= 3 && stamp.date.month >= 1 && stamp.date.month <= 12 && stamp.date.day >= 1 && stamp.date.day <= 31) {
      if (info.sql_type == SQL_TYPE_DATE) return stamp.date;
      return stamp;
    }
  }
  return Utf8ToWindows1251(utf8);
}

ExecutionResult AnswersStatement::Execute(const std::vector<Value>& parameters) {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  for (size_t i = 0; i < parameters.size(); ++i) Bind(static_cast<int>(i + 1), parameters[i]);
  ExecutionResult result;
  const int column_count = sqlite3_column_count(statement_);
  if (column_count > 0) {
    result.has_result_set = true;
    result.result_set.columns = Columns();
  }
  for (;;) {
    const int step = sqlite3_step(statement_);
    if (step == SQLITE_DONE) break;
    if (step != SQLITE_ROW) {
      const char* sql = sqlite3_sql(statement_);
      sqlite3_reset(statement_);
      ThrowSqliteError(
          database_, step,
          "Cannot run \"" + Utf8ToWindows1251(sql != nullptr ? sql : "") + "\" on \"" + source_.Path() + "\"");
    }
    std::vector<Value> row;
    for (int i = 0; i < column_count; ++i) row.push_back(Read(i, result.result_set.columns[static_cast<size_t>(i)]));
    result.result_set.rows.push_back(std::move(row));
  }
  result.affected_rows = column_count > 0 ? -1 : sqlite3_changes(database_);
  sqlite3_reset(statement_);
  return result;
}
