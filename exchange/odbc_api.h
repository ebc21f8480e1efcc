// The driver manager's entry points, bound by name from unixODBC's library on first use, so the
// conduit has no link-time dependency on it. Only the calls the access layer makes are bound.
#pragma once

#include <sql.h>
#include <sqlext.h>

struct TOdbcApi {
  SQLRETURN (*SQLAllocHandle)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*);
  SQLRETURN (*SQLSetEnvAttr)(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER);
  SQLRETURN (*SQLFreeHandle)(SQLSMALLINT, SQLHANDLE);
  SQLRETURN (*SQLSetConnectAttr)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER);
  SQLRETURN (*SQLDriverConnect)
  (SQLHDBC, SQLHWND, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*, SQLUSMALLINT);
  SQLRETURN (*SQLDisconnect)(SQLHDBC);
  SQLRETURN (*SQLGetInfo)(SQLHDBC, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*);
  SQLRETURN (*SQLEndTran)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT);
  SQLRETURN (*SQLSetStmtAttr)(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER);
  SQLRETURN (*SQLGetStmtAttr)(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER*);
  SQLRETURN (*SQLPrepare)(SQLHSTMT, SQLCHAR*, SQLINTEGER);
  SQLRETURN (*SQLBindParameter)
  (SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
  SQLRETURN (*SQLExecute)(SQLHSTMT);
  SQLRETURN (*SQLRowCount)(SQLHSTMT, SQLLEN*);
  SQLRETURN (*SQLNumResultCols)(SQLHSTMT, SQLSMALLINT*);
  SQLRETURN (*SQLDescribeCol)
  (SQLHSTMT, SQLUSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*, SQLSMALLINT*, SQLULEN*, SQLSMALLINT*, SQLSMALLINT*);
  SQLRETURN (*SQLFetch)(SQLHSTMT);
  SQLRETURN (*SQLGetData)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
  SQLRETURN (*SQLFreeStmt)(SQLHSTMT, SQLUSMALLINT);
  SQLRETURN (*SQLGetDiagRec)
  (SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
};

// The bound entry points. The first call loads "libodbc.so.2"; a library that cannot be loaded
// throws Exception with the system's error text, a missing entry point throws
// "Error Getting adress for " + name + "\r" + the system's error text. A failed binding is
// tried again on the next call.
const TOdbcApi& OdbcApi();
