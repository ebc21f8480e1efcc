// One statement prepared on the answers database: SQLite runs it; texts cross as Windows-1251 on
// the ODBC side and UTF-8 in the file, dates as ISO date texts.
#pragma once

#include <sqlite3.h>

#include "odbc/data_source.h"

class AnswersDataSource;

class AnswersStatement : public PreparedStatement {
 public:
  AnswersStatement(AnswersDataSource& source, sqlite3* database, sqlite3_stmt* statement);
  ~AnswersStatement() override;
  AnswersStatement(const AnswersStatement&) = delete;
  AnswersStatement& operator=(const AnswersStatement&) = delete;

  int ParameterCount() const override;
  std::vector<ColumnInfo> Columns() override;
  ExecutionResult Execute(const std::vector<Value>& parameters) override;

 private:
  void Bind(int number, const Value& value);
  Value Read(int column, const ColumnInfo& info) const;

  AnswersDataSource& source_;
  sqlite3* database_;
  sqlite3_stmt* statement_;
};

// The ODBC type of a column declared with `declared` (may be null for expressions).
ColumnInfo DescribeDeclaredType(const char* name, const char* declared);
