// A small ODBC client for the drivers' tests: connects through unixODBC with the build tree's
// odbcinst.ini, runs statements with bound parameters and reads rows back as text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

class OdbcClient {
 public:
  OdbcClient();
  ~OdbcClient();
  // The SQLDriverConnect result; on failure Error() holds "SQLSTATE: message".
  SQLRETURN Connect(const std::string& connection_string);
  // Prepares and executes sql with text parameters bound as CHAR (a "\x01" entry binds null),
  // integers as INTEGER, dates (given as "D:yyyy-mm-dd") as DATE and "F:x" as DOUBLE.
  SQLRETURN Run(const std::string& sql, const std::vector<std::string>& parameters = {});
  // The rows of the last select, each column as text ("NULL" for null).
  std::vector<std::vector<std::string>> Rows();
  SQLLEN RowCount();
  SQLUSMALLINT TransactionCapable();
  SQLRETURN SetAutoCommit(bool on);
  SQLRETURN Commit();
  const std::string& Error() const { return error_; }
  SQLHSTMT Statement() const { return statement_; }
  SQLHDBC Connection() const { return connection_; }

 private:
  SQLRETURN Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle);
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
  std::string error_;
};
