// The answers driver's connection: the SQLite database named by DBQ=, whose texts are UTF-8, seen
// by the conduit as Windows-1251 texts and ISO dates.
#pragma once

#include <sqlite3.h>

#include <string>

#include "odbc/data_source.h"

class AnswersDataSource : public DataSource {
 public:
  // Throws DriverError 08001 naming the file when it is missing or not an SQLite database.
  explicit AnswersDataSource(const ConnectionAttributes& attributes);
  ~AnswersDataSource() override;

  std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) override;
  bool SupportsTransactions() const override { return true; }
  void SetAutoCommit(bool on) override;
  void EndTransaction(bool commit) override;
  std::string DbmsName() const override { return "SQLite"; }
  int MaxColumnNameLength() const override { return 64; }

  const std::string& Path() const { return path_; }
  // Runs a statement without results; throws DriverError with SQLite's message.
  void Run(const char* sql);

 private:
  std::string path_;
  sqlite3* database_ = nullptr;
  bool auto_commit_ = true;
};

// The SQLSTATE for an SQLite result code and the DriverError carrying its message.
[[noreturn]] void ThrowSqliteError(sqlite3* database, int code, const std::string& context);
