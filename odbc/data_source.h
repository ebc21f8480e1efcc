// What each driver supplies behind the shared ODBC entry points: a connection to its storage and
// the statements prepared on it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "odbc/value.h"

class PreparedStatement {
 public:
  virtual ~PreparedStatement() = default;
  virtual int ParameterCount() const = 0;
  // The result columns a run would produce (empty for statements that return no rows).
  virtual std::vector<ColumnInfo> Columns() = 0;
  virtual ExecutionResult Execute(const std::vector<Value>& parameters) = 0;
};

class DataSource {
 public:
  virtual ~DataSource() = default;
  virtual std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) = 0;
  virtual bool SupportsTransactions() const = 0;
  // Auto-commit off starts a transaction that lasts until EndTransaction.
  virtual void SetAutoCommit(bool on) = 0;
  virtual void EndTransaction(bool commit) = 0;
  virtual std::string DbmsName() const = 0;
  virtual int MaxColumnNameLength() const = 0;
};

// Connection-string keys in upper case, values as given.
using ConnectionAttributes = std::map<std::string, std::string>;

// Defined by each driver library.
std::unique_ptr<DataSource> OpenDataSource(const ConnectionAttributes& attributes);
const char* DriverLibraryName();
