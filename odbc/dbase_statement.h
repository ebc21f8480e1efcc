// One statement prepared on the dBase driver: a table creation, an insert of one row or a select
// of a whole table in file order or sorted.
#pragma once

#include "odbc/data_source.h"
#include "odbc/sql_statement.h"

class DbaseDataSource;

class DbaseStatement : public PreparedStatement {
 public:
  DbaseStatement(DbaseDataSource& source, SqlStatement statement);
  int ParameterCount() const override;
  std::vector<ColumnInfo> Columns() override;
  ExecutionResult Execute(const std::vector<Value>& parameters) override;

 private:
  DbaseDataSource& source_;
  SqlStatement statement_;
};
