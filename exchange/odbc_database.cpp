#include "exchange/odbc_database.h"

#include <sqlext.h>

#include <algorithm>

#include "core/collation.h"
#include "exchange/odbc_api.h"
#include "exchange/odbc_diagnostics.h"
#include "exchange/odbc_error.h"
#include "exchange/odbc_query.h"

namespace {

constexpr SQLSMALLINT kCompletedBufferSize = 1024;

SQLUSMALLINT CompletionMode(TDriverCompletion completion) {
  switch (completion) {
    case TDriverCompletion::sdPrompt:
      return SQL_DRIVER_PROMPT;
    case TDriverCompletion::sdComplete:
      return SQL_DRIVER_COMPLETE;
    case TDriverCompletion::sdCompleteReq:
      return SQL_DRIVER_COMPLETE_REQUIRED;
    case TDriverCompletion::sdNoPrompt:
      return SQL_DRIVER_NOPROMPT;
  }
  return SQL_DRIVER_COMPLETE_REQUIRED;
}

SQLULEN CursorLibrary(TOdbcCursors cursors) {
  switch (cursors) {
    case TOdbcCursors::ocUSE_IF_NEEDED:
      return SQL_CUR_USE_IF_NEEDED;
    case TOdbcCursors::ocUSE_ODBC:
      return SQL_CUR_USE_ODBC;
    case TOdbcCursors::ocUSE_DRIVER:
      return SQL_CUR_USE_DRIVER;
  }
  return SQL_CUR_USE_DRIVER;
}

SQLULEN Isolation(TTransIsolation isolation) {
  switch (isolation) {
    case TTransIsolation::TxnDirtyRead:
      return SQL_TXN_READ_UNCOMMITTED;
    case TTransIsolation::TxnReadCommitted:
      return SQL_TXN_READ_COMMITTED;
    case TTransIsolation::TxnRepeatableRead:
      return SQL_TXN_REPEATABLE_READ;
    default:
      return SQL_TXN_SERIALIZABLE;
  }
}

bool IsDsnLine(const std::string& line) { return line.size() >= 4 && SameText(line.substr(0, 4), "DSN="); }

}  // namespace

TmDataBase::~TmDataBase() {
  try {
    Disconnect();
  } catch (...) {
  }
  const std::vector<TmQuery*> attached = queries_;
  for (TmQuery* query : attached) query->DataBaseDestroyed();
}

std::string TmDataBase::DataBaseName() const {
  for (const std::string& line : Params)
    if (IsDsnLine(line)) return line.substr(4);
  return "";
}

void TmDataBase::SetDataBaseName(const std::string& name) {
  for (std::string& line : Params)
    if (IsDsnLine(line)) {
      line = "DSN=" + name;
      return;
    }
  Params.push_back("DSN=" + name);
}

std::string TmDataBase::ConnectionString() const {
  std::string text;
  for (const std::string& line : Params) {
    if (!text.empty()) text += ';';
    text += line;
  }
  return text;
}

void TmDataBase::Connect() {
  if (Connected()) return;
  const SQLHENV environment = session_.Environment();
  const TOdbcApi& api = OdbcApi();
  SQLHDBC connection = SQL_NULL_HDBC;
  const SQLRETURN allocated = api.SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
  if (allocated != SQL_SUCCESS && allocated != SQL_SUCCESS_WITH_INFO)
    throw ESQLerror("Can`t allocate HDBC handle", "", allocated, {});
  connection_ = connection;
  bool driver_connected = false;
  try {
    ConfigureBeforeConnect();
    DriverConnect();
    driver_connected = true;
    ConfigureAfterConnect();
  } catch (...) {
    if (driver_connected) api.SQLDisconnect(connection_);
    api.SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    connection_ = SQL_NULL_HDBC;
    completed_.clear();
    throw;
  }
}

void TmDataBase::ConfigureBeforeConnect() {
  const TOdbcApi& api = OdbcApi();
  const SQLULEN mode = ReadOnly ? SQL_MODE_READ_ONLY : SQL_MODE_READ_WRITE;
  CheckConnection(api.SQLSetConnectAttr(connection_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(mode), 0),
                  connection_, SQL_HANDLE_DBC, OnSuccessWithInfo);
  CheckConnection(api.SQLSetConnectAttr(connection_, SQL_ATTR_ODBC_CURSORS,
                                        reinterpret_cast<SQLPOINTER>(CursorLibrary(OdbcCursors)), 0),
                  connection_, SQL_HANDLE_DBC, OnSuccessWithInfo);
}

void TmDataBase::DriverConnect() {
  const TOdbcApi& api = OdbcApi();
  std::string text = ConnectionString();
  SQLCHAR completed[kCompletedBufferSize + 1] = {};
  SQLSMALLINT completed_length = 0;
  const SQLRETURN code =
      api.SQLDriverConnect(connection_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, completed,
                           kCompletedBufferSize, &completed_length, CompletionMode(DriverCompletion));
  CheckDriverConnect(
      code, [this] { return ReadDiagRecords(SQL_HANDLE_DBC, connection_); }, OnSuccessWithInfo);
  completed_.assign(reinterpret_cast<const char*>(completed),
                    std::clamp<SQLSMALLINT>(completed_length, 0, kCompletedBufferSize));
}

void TmDataBase::ConfigureAfterConnect() {
  if (TransIsolation == TTransIsolation::TxnDefault) return;
  CheckConnection(OdbcApi().SQLSetConnectAttr(connection_, SQL_ATTR_TXN_ISOLATION,
                                              reinterpret_cast<SQLPOINTER>(Isolation(TransIsolation)), 0),
                  connection_, SQL_HANDLE_DBC, OnSuccessWithInfo);
}

void TmDataBase::Disconnect() {
  if (!Connected()) return;
  const std::vector<TmQuery*> attached = queries_;
  for (TmQuery* query : attached) query->FreeStatement();
  const TOdbcApi& api = OdbcApi();
  api.SQLDisconnect(connection_);
  api.SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  connection_ = SQL_NULL_HDBC;
  completed_.clear();
}

void TmDataBase::StartTransaction() {
  Connect();
  const TOdbcApi& api = OdbcApi();
  SQLUSMALLINT capable = SQL_TC_NONE;
  CheckDriverInfo(api.SQLGetInfo(connection_, SQL_TXN_CAPABLE, &capable, sizeof capable, nullptr), connection_);
  if (capable == SQL_TC_NONE) throw Exception("Driver not support transactions");
  CheckConnection(
      api.SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
      connection_, SQL_HANDLE_DBC, OnSuccessWithInfo);
}

void TmDataBase::Commit() {
  CheckConnection(OdbcApi().SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT), connection_, SQL_HANDLE_DBC,
                  OnSuccessWithInfo);
}

void TmDataBase::Attach(TmQuery* query) {
  if (std::find(queries_.begin(), queries_.end(), query) == queries_.end()) queries_.push_back(query);
}

void TmDataBase::Detach(TmQuery* query) { std::erase(queries_, query); }
