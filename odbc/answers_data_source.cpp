#include "odbc/answers_data_source.h"

#include <filesystem>

#include "odbc/answers_statement.h"
#include "odbc/driver_error.h"
#include "odbc/sql_statement.h"
#include "odbc/text_recoding.h"

namespace {

const char* SqlStateOf(int code, const std::string& message) {
  switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
      return "23000";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "HYT00";
    case SQLITE_NOMEM:
      return "HY001";
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN:
      return "08001";
    case SQLITE_ERROR:
      if (message.rfind("no such table", 0) == 0) return "42S02";
      if (message.rfind("no such column", 0) == 0 || message.find("has no column named") != std::string::npos) {
        return "42S22";
      }
      return "42000";
    default:
      return "HY000";
  }
}

}  // namespace

void ThrowSqliteError(sqlite3* database, int code, const std::string& context) {
  const std::string message = Utf8ToWindows1251(database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(code));
  throw DriverError(SqlStateOf(code, message), context + ": " + message);
}

AnswersDataSource::AnswersDataSource(const ConnectionAttributes& attributes) {
  const auto dbq = attributes.find("DBQ");
  if (dbq == attributes.end() || dbq->second.empty()) {
    throw DriverError("08001", "The connection string names no database (DBQ=)");
  }
  path_ = dbq->second;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error)) {
    throw DriverError("08001", "The answers database \"" + path_ + "\" does not exist");
  }
  const int opened = sqlite3_open_v2(path_.c_str(), &database_, SQLITE_OPEN_READWRITE, nullptr);
  if (opened != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(database_);
    sqlite3_close(database_);
    throw DriverError("08001", "Cannot open the answers database \"" + path_ + "\": " + message);
  }
  sqlite3_extended_result_codes(database_, 1);
  sqlite3_busy_timeout(database_, 5000);
  const int checked = sqlite3_exec(database_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (checked != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(database_);
    sqlite3_close(database_);
    throw DriverError("08001", "\"" + path_ + "\" is not an SQLite database: " + message);
  }
}

AnswersDataSource::~AnswersDataSource() { sqlite3_close_v2(database_); }

std::unique_ptr<PreparedStatement> AnswersDataSource::Prepare(const std::string& sql) {
  if (std::holds_alternative<CreateTableStatement>(ParseSqlStatement(sql))) {
    throw DriverError("42000", "The answers database accepts only SELECT and INSERT statements, not \"" + sql + "\"");
  }
  sqlite3_stmt* statement = nullptr;
  const std::string text = Windows1251ToUtf8(sql);
  const int prepared = sqlite3_prepare_v2(database_, text.c_str(), static_cast<int>(text.size()), &statement, nullptr);
  if (prepared != SQLITE_OK)
    ThrowSqliteError(database_, prepared, "Cannot prepare \"" + sql + "\" on \"" + path_ + "\"");
  return std::make_unique<AnswersStatement>(*this, database_, statement);
}

void AnswersDataSource::Run(const char* sql) {
  const int result = sqlite3_exec(database_, sql, nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) ThrowSqliteError(database_, result, std::string(sql) + " on \"" + path_ + "\"");
}

void AnswersDataSource::SetAutoCommit(bool on) {
  if (on == auto_commit_) return;
  Run(on ? "COMMIT" : "BEGIN");
  auto_commit_ = on;
}

void AnswersDataSource::EndTransaction(bool commit) {
  if (auto_commit_) return;
  Run(commit ? "COMMIT" : "ROLLBACK");
  Run("BEGIN");
}

std::unique_ptr<DataSource> OpenDataSource(const ConnectionAttributes& attributes) {
  return std::make_unique<AnswersDataSource>(attributes);
}

const char* DriverLibraryName() { return "libzp_answers_odbc.so"; }
