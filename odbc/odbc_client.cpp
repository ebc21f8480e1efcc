#include "odbc/odbc_client.h"

#include <stdlib.h>

#include <cstring>

OdbcClient::OdbcClient() {
  const char* bin = getenv("ZP_BIN_DIR");
  const std::string etc = std::string(bin != nullptr ? bin : "bin") + "/../etc";
  setenv("ODBCSYSINI", etc.c_str(), 1);
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
}

OdbcClient::~OdbcClient() {
  if (statement_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, statement_);
  SQLDisconnect(connection_);
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

SQLRETURN OdbcClient::Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle) {
  error_.clear();
  if (result == SQL_ERROR) {
    SQLCHAR state[6] = {};
    SQLCHAR message[1000] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length))) {
      error_ = std::string(reinterpret_cast<char*>(state)) + ": " + reinterpret_cast<char*>(message);
    }
  }
  return result;
}

SQLRETURN OdbcClient::Connect(const std::string& connection_string) {
  SQLCHAR out[1024];
  SQLSMALLINT length = 0;
  const SQLRETURN result = SQLDriverConnect(connection_, nullptr, (SQLCHAR*)connection_string.c_str(), SQL_NTS, out,
                                            sizeof out, &length, SQL_DRIVER_COMPLETE_REQUIRED);
  Check(result, SQL_HANDLE_DBC, connection_);
  if (SQL_SUCCEEDED(result)) SQLAllocHandle(SQL_HANDLE_STMT, connection_, &statement_);
  return result;
}

SQLRETURN OdbcClient::Run(const std::string& sql, const std::vector<std::string>& parameters) {
  SQLFreeStmt(statement_, SQL_CLOSE);
  SQLFreeStmt(statement_, SQL_RESET_PARAMS);
  SQLRETURN result = Check(SQLPrepare(statement_, (SQLCHAR*)sql.c_str(), SQL_NTS), SQL_HANDLE_STMT, statement_);
  if (!SQL_SUCCEEDED(result)) return result;
  std::vector<SQLINTEGER> integers(parameters.size());
  std::vector<SQLDOUBLE> doubles(parameters.size());
  std::vector<SQL_DATE_STRUCT> dates(parameters.size());
  std::vector<SQLLEN> indicators(parameters.size());
  for (size_t i = 0; i < parameters.size(); ++i) {
    const std::string& value = parameters[i];
    const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(i + 1);
    char* end = nullptr;
    const long integer = std::strtol(value.c_str(), &end, 10);
    if (value == "\x01") {
      indicators[i] = SQL_NULL_DATA;
      SQLBindParameter(statement_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 1, 0, nullptr, 0, &indicators[i]);
    } else if (value.rfind("D:", 0) == 0) {
      dates[i] = {static_cast<SQLSMALLINT>(std::atoi(value.c_str() + 2)),
                  static_cast<SQLUSMALLINT>(std::atoi(value.c_str() + 7)),
                  static_cast<SQLUSMALLINT>(std::atoi(value.c_str() + 10))};
      SQLBindParameter(statement_, number, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, &dates[i], 0,
                       nullptr);
    } else if (value.rfind("F:", 0) == 0) {
      doubles[i] = std::strtod(value.c_str() + 2, nullptr);
      SQLBindParameter(statement_, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &doubles[i], 0, nullptr);
    } else if (!value.empty() && *end == '\0') {
      integers[i] = static_cast<SQLINTEGER>(integer);
      SQLBindParameter(statement_, number, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &integers[i], 0, nullptr);
    } else {
      indicators[i] = SQL_NTS;
      SQLBindParameter(statement_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, value.size(), 0,
                       (SQLPOINTER)value.c_str(), static_cast<SQLLEN>(value.size() + 1), &indicators[i]);
    }
  }
  return Check(SQLExecute(statement_), SQL_HANDLE_STMT, statement_);
}

std::vector<std::vector<std::string>> OdbcClient::Rows() {
  std::vector<std::vector<std::string>> rows;
  SQLSMALLINT columns = 0;
  SQLNumResultCols(statement_, &columns);
  while (SQL_SUCCEEDED(SQLFetch(statement_))) {
    std::vector<std::string> row;
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
      char text[512];
      SQLLEN indicator = 0;
      SQLGetData(statement_, column, SQL_C_CHAR, text, sizeof text, &indicator);
      row.push_back(indicator == SQL_NULL_DATA ? "NULL" : text);
    }
    rows.push_back(row);
  }
  return rows;
}

SQLLEN OdbcClient::RowCount() {
  SQLLEN count = 0;
  SQLRowCount(statement_, &count);
  return count;
}

SQLUSMALLINT OdbcClient::TransactionCapable() {
  SQLUSMALLINT capable = 99;
  SQLGetInfo(connection_, SQL_TXN_CAPABLE, &capable, sizeof capable, nullptr);
  return capable;
}

SQLRETURN OdbcClient::SetAutoCommit(bool on) {
  return Check(SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0),
               SQL_HANDLE_DBC, connection_);
}

SQLRETURN OdbcClient::Commit() {
  return Check(SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT), SQL_HANDLE_DBC, connection_);
}
