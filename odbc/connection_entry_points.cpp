// Handle allocation, attributes, connecting and transactions: the ODBC entry points of
// environments and connections.
#include <sql.h>
#include <sqlext.h>

#include "odbc/c_boundary.h"
#include "odbc/connection_string.h"
#include "odbc/handles.h"

namespace {

SQLRETURN AllocateHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (output == nullptr) return SQL_ERROR;
  *output = SQL_NULL_HANDLE;
  if (type == SQL_HANDLE_ENV) {
    *output = new (std::nothrow) Environment();
    return *output != nullptr ? SQL_SUCCESS : SQL_ERROR;
  }
  if (type == SQL_HANDLE_DBC) {
    Environment* environment = AsEnvironment(input);
    return Guarded(environment, [&]() -> SQLRETURN {
      auto connection = std::make_unique<Connection>(environment);
      environment->connections.insert(connection.get());
      *output = connection.release();
      return SQL_SUCCESS;
    });
  }
  if (type == SQL_HANDLE_STMT) {
    Connection* connection = AsConnection(input);
    return Guarded(connection, [&]() -> SQLRETURN {
      if (!connection->data_source) throw DriverError("08003", "Connection not open");
      auto statement = std::make_unique<Statement>(connection);
      connection->statements.insert(statement.get());
      *output = statement.release();
      return SQL_SUCCESS;
    });
  }
  Handle* parent = AsEnvironment(input) != nullptr ? static_cast<Handle*>(AsEnvironment(input)) : AsConnection(input);
  return Guarded(parent, [&]() -> SQLRETURN {
    throw DriverError("HY092", "Descriptor handles are not supported by this driver");
  });
}

SQLRETURN FreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  if (type == SQL_HANDLE_ENV) {
    Environment* environment = AsEnvironment(handle);
    if (environment == nullptr) return SQL_INVALID_HANDLE;
    return Guarded(environment, [&]() -> SQLRETURN {
      if (!environment->connections.empty())
        throw DriverError("HY010", "Connections of the environment are still allocated");
      delete environment;
      return SQL_SUCCESS;
    });
  }
  if (type == SQL_HANDLE_DBC) {
    Connection* connection = AsConnection(handle);
    if (connection == nullptr) return SQL_INVALID_HANDLE;
    return Guarded(connection, [&]() -> SQLRETURN {
      if (connection->data_source) throw DriverError("HY010", "The connection is still open");
      connection->environment->connections.erase(connection);
      delete connection;
      return SQL_SUCCESS;
    });
  }
  if (type == SQL_HANDLE_STMT) {
    Statement* statement = AsStatement(handle);
    if (statement == nullptr) return SQL_INVALID_HANDLE;
    statement->connection->statements.erase(statement);
    delete statement;
    return SQL_SUCCESS;
  }
  return SQL_INVALID_HANDLE;
}

void ApplyAutoCommit(Connection* connection, bool on) {
  if (connection->data_source) connection->data_source->SetAutoCommit(on);
  connection->auto_commit = on;
}

SQLUINTEGER AttributeNumber(SQLPOINTER value) { return static_cast<SQLUINTEGER>(reinterpret_cast<uintptr_t>(value)); }

SQLRETURN EndTransaction(Connection* connection, SQLSMALLINT completion) {
  return Guarded(connection, [&]() -> SQLRETURN {
    if (!connection->data_source) throw DriverError("08003", "Connection not open");
    if (completion != SQL_COMMIT && completion != SQL_ROLLBACK) {
      throw DriverError("HY012", "Invalid transaction operation code");
    }
    connection->data_source->EndTransaction(completion == SQL_COMMIT);
    return SQL_SUCCESS;
  });
}

}  // namespace

#pragma GCC visibility push(default)

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT HandleType, SQLHANDLE InputHandle, SQLHANDLE* OutputHandle) {
  return AllocateHandle(HandleType, InputHandle, OutputHandle);
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT HandleType, SQLHANDLE Handle) { return FreeHandle(HandleType, Handle); }

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER) {
  Environment* environment = AsEnvironment(EnvironmentHandle);
  return Guarded(environment, [&]() -> SQLRETURN {
    if (Attribute == SQL_ATTR_ODBC_VERSION) environment->odbc_version = static_cast<SQLINTEGER>(AttributeNumber(Value));
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER,
                                SQLINTEGER* StringLength) {
  Environment* environment = AsEnvironment(EnvironmentHandle);
  return Guarded(environment, [&]() -> SQLRETURN {
    SQLINTEGER number = 0;
    if (Attribute == SQL_ATTR_ODBC_VERSION) {
      number = environment->odbc_version;
    } else if (Attribute == SQL_ATTR_OUTPUT_NTS) {
      number = SQL_TRUE;
    } else if (Attribute != SQL_ATTR_CONNECTION_POOLING && Attribute != SQL_ATTR_CP_MATCH) {
      throw DriverError("HY092", "Invalid environment attribute " + std::to_string(Attribute));
    }
    if (Value != nullptr) *static_cast<SQLINTEGER*>(Value) = number;
    if (StringLength != nullptr) *StringLength = sizeof number;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER) {
  Connection* connection = AsConnection(ConnectionHandle);
  return Guarded(connection, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_AUTOCOMMIT:
        ApplyAutoCommit(connection, AttributeNumber(Value) == SQL_AUTOCOMMIT_ON);
        break;
      case SQL_ATTR_ACCESS_MODE:
        connection->access_mode = AttributeNumber(Value);
        break;
      case SQL_ATTR_TXN_ISOLATION:
        connection->txn_isolation = AttributeNumber(Value);
        break;
      default:
        break;  // timeouts, cursor library, packet size and the like change nothing here
    }
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value,
                                    SQLINTEGER BufferLength, SQLINTEGER* StringLength) {
  Connection* connection = AsConnection(ConnectionHandle);
  return Guarded(connection, [&]() -> SQLRETURN {
    SQLUINTEGER number = 0;
    switch (Attribute) {
      case SQL_ATTR_AUTOCOMMIT:
        number = connection->auto_commit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
        break;
      case SQL_ATTR_ACCESS_MODE:
        number = connection->access_mode;
        break;
      case SQL_ATTR_TXN_ISOLATION:
        number = connection->txn_isolation;
        break;
      case SQL_ATTR_CONNECTION_DEAD:
        number = connection->data_source ? SQL_CD_FALSE : SQL_CD_TRUE;
        break;
      case SQL_ATTR_LOGIN_TIMEOUT:
      case SQL_ATTR_CONNECTION_TIMEOUT:
        break;
      case SQL_ATTR_CURRENT_CATALOG:
        return TextResult(connection, CopyText("", Value, BufferLength, StringLength));
      default:
        throw DriverError("HY092", "Invalid connection attribute " + std::to_string(Attribute));
    }
    if (Value != nullptr) *static_cast<SQLUINTEGER*>(Value) = number;
    if (StringLength != nullptr) *StringLength = sizeof number;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC ConnectionHandle, SQLHWND, SQLCHAR* InConnectionString,
                                   SQLSMALLINT StringLength1, SQLCHAR* OutConnectionString, SQLSMALLINT BufferLength,
                                   SQLSMALLINT* StringLength2Ptr, SQLUSMALLINT) {
  Connection* connection = AsConnection(ConnectionHandle);
  return Guarded(connection, [&]() -> SQLRETURN {
    if (connection->data_source) throw DriverError("08002", "Connection name in use");
    const std::string text(InputText(InConnectionString, StringLength1));
    auto data_source = OpenDataSource(ParseConnectionString(text));
    if (!connection->auto_commit) data_source->SetAutoCommit(false);
    connection->data_source = std::move(data_source);
    connection->connection_string = text;
    return TextResult(connection, CopyText(text, OutConnectionString, BufferLength, StringLength2Ptr));
  });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC ConnectionHandle) {
  Connection* connection = AsConnection(ConnectionHandle);
  return Guarded(connection, [&]() -> SQLRETURN {
    for (Statement* statement : connection->statements) delete statement;
    connection->statements.clear();
    if (connection->data_source && !connection->auto_commit) connection->data_source->EndTransaction(false);
    connection->data_source.reset();
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT CompletionType) {
  if (HandleType == SQL_HANDLE_DBC) return EndTransaction(AsConnection(Handle), CompletionType);
  if (HandleType != SQL_HANDLE_ENV) return SQL_INVALID_HANDLE;
  Environment* environment = AsEnvironment(Handle);
  return Guarded(environment, [&]() -> SQLRETURN {
    SQLRETURN result = SQL_SUCCESS;
    for (Connection* connection : environment->connections) {
      if (connection->data_source && EndTransaction(connection, CompletionType) == SQL_ERROR) result = SQL_ERROR;
    }
    return result;
  });
}

#pragma GCC visibility pop
