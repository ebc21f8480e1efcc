#include "exchange/odbc_session.h"

#include <sqlext.h>

#include "exchange/odbc_api.h"
#include "exchange/odbc_error.h"

TmSession::~TmSession() {
  if (environment_ != SQL_NULL_HENV) OdbcApi().SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

SQLHENV TmSession::Environment() {
  if (environment_ != SQL_NULL_HENV) return environment_;
  const TOdbcApi& api = OdbcApi();
  SQLHENV environment = SQL_NULL_HENV;
  const SQLRETURN allocated = api.SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
  if (allocated != SQL_SUCCESS && allocated != SQL_SUCCESS_WITH_INFO)
    throw ESQLerror("Can`t allocate enviroument handle", "", allocated, {});
  const SQLRETURN versioned =
      api.SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (versioned != SQL_SUCCESS && versioned != SQL_SUCCESS_WITH_INFO) {
    api.SQLFreeHandle(SQL_HANDLE_ENV, environment);
    throw ESQLerror("Can`t set enviroument attribute", "", versioned, {});
  }
  environment_ = environment;
  return environment_;
}

TmSession& DefaultSession() {
  static TmSession session;
  return session;
}
