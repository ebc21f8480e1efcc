// The three ODBC handles a driver hands out: environment, connection and statement, each with
// its own diagnostic records.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "odbc/buffers.h"
#include "odbc/data_source.h"
#include "odbc/diagnostics.h"

enum class HandleKind : uint32_t { Environment = 0x5a50454e, Connection = 0x5a50434e, Statement = 0x5a505354 };

struct Handle {
  explicit Handle(HandleKind kind) : kind(kind) {}
  HandleKind kind;
  Diagnostics diagnostics;
};

struct Connection;
struct Statement;

struct Environment : Handle {
  Environment() : Handle(HandleKind::Environment) {}
  SQLINTEGER odbc_version = SQL_OV_ODBC3;
  std::set<Connection*> connections;
};

struct Connection : Handle {
  explicit Connection(Environment* environment) : Handle(HandleKind::Connection), environment(environment) {}
  Environment* environment;
  std::unique_ptr<DataSource> data_source;
  std::string connection_string;
  bool auto_commit = true;
  SQLUINTEGER access_mode = SQL_MODE_READ_WRITE;
  SQLUINTEGER txn_isolation = SQL_TXN_SERIALIZABLE;
  std::set<Statement*> statements;
};

struct Statement : Handle {
  explicit Statement(Connection* connection) : Handle(HandleKind::Statement), connection(connection) {}
  Connection* connection;
  std::unique_ptr<PreparedStatement> prepared;
  std::map<SQLUSMALLINT, BufferBinding> parameters;
  std::map<SQLUSMALLINT, BufferBinding> columns;
  std::optional<ResultSet> result;  // an open cursor
  long row = -1;                    // the current row of the cursor, -1 before the first
  std::map<SQLUSMALLINT, size_t> get_data_offsets;
  SQLLEN affected_rows = -1;
  SQLULEN cursor_type = SQL_CURSOR_FORWARD_ONLY;
  SQLULEN* rows_fetched = nullptr;
  SQLUSMALLINT* row_status = nullptr;
  // Stand-ins the driver manager may ask for; the drivers keep no descriptors of their own.
  char descriptors[4] = {};
};

// The handle behind an ODBC handle of the expected kind, or nullptr.
template <typename T, HandleKind Kind>
T* HandleCast(void* handle) {
  auto* base = static_cast<Handle*>(handle);
  return base != nullptr && base->kind == Kind ? static_cast<T*>(base) : nullptr;
}
inline Environment* AsEnvironment(void* handle) { return HandleCast<Environment, HandleKind::Environment>(handle); }
inline Connection* AsConnection(void* handle) { return HandleCast<Connection, HandleKind::Connection>(handle); }
inline Statement* AsStatement(void* handle) { return HandleCast<Statement, HandleKind::Statement>(handle); }
