// Preparing and running statements, their parameters and attributes: the ODBC entry points of
// statements up to the result set.
#include <sql.h>
#include <sqlext.h>

#include "odbc/c_boundary.h"
#include "odbc/handles.h"

namespace {

void CloseCursor(Statement* statement) {
  statement->result.reset();
  statement->row = -1;
  statement->get_data_offsets.clear();
}

void Prepare(Statement* statement, std::string_view sql) {
  CloseCursor(statement);
  statement->prepared.reset();
  statement->prepared = statement->connection->data_source->Prepare(std::string(sql));
}

SQLRETURN Execute(Statement* statement) {
  if (!statement->prepared) throw DriverError("HY010", "Function sequence error: no statement prepared");
  CloseCursor(statement);
  std::vector<Value> parameters;
  const int count = statement->prepared->ParameterCount();
  for (int number = 1; number <= count; ++number) {
    const auto bound = statement->parameters.find(static_cast<SQLUSMALLINT>(number));
    if (bound == statement->parameters.end()) {
      throw DriverError("07002", "COUNT field incorrect: parameter " + std::to_string(number) + " of " +
                                     std::to_string(count) + " is not bound");
    }
    parameters.push_back(ReadParameter(bound->second));
  }
  ExecutionResult result = statement->prepared->Execute(parameters);
  statement->affected_rows = result.affected_rows;
  if (result.has_result_set) {
    statement->affected_rows = static_cast<SQLLEN>(result.result_set.rows.size());
    statement->result = std::move(result.result_set);
  }
  return SQL_SUCCESS;
}

SQLULEN AttributeNumber(SQLPOINTER value) { return static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value)); }

}  // namespace

#pragma GCC visibility push(default)

SQLRETURN SQL_API SQLPrepare(SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    Prepare(statement, InputText(StatementText, TextLength));
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN { return Execute(statement); });
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    Prepare(statement, InputText(StatementText, TextLength));
    return Execute(statement);
  });
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT StatementHandle, SQLUSMALLINT ParameterNumber, SQLSMALLINT InputOutputType,
                                   SQLSMALLINT ValueType, SQLSMALLINT ParameterType, SQLULEN, SQLSMALLINT,
                                   SQLPOINTER ParameterValuePtr, SQLLEN BufferLength, SQLLEN* StrLen_or_IndPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (ParameterNumber < 1) throw DriverError("07009", "Invalid descriptor index 0");
    if (InputOutputType != SQL_PARAM_INPUT) throw DriverError("HYC00", "Only input parameters are supported");
    statement->parameters[ParameterNumber] =
        BufferBinding{ValueType, ParameterType, ParameterValuePtr, BufferLength, StrLen_or_IndPtr};
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT StatementHandle, SQLSMALLINT* ParameterCountPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (!statement->prepared) throw DriverError("HY010", "Function sequence error: no statement prepared");
    if (ParameterCountPtr != nullptr)
      *ParameterCountPtr = static_cast<SQLSMALLINT>(statement->prepared->ParameterCount());
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT StatementHandle, SQLLEN* RowCountPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (RowCountPtr != nullptr) *RowCountPtr = statement->affected_rows;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT StatementHandle, SQLUSMALLINT Option) {
  Statement* statement = AsStatement(StatementHandle);
  if (Option == SQL_DROP) return SQLFreeHandle(SQL_HANDLE_STMT, StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (Option == SQL_CLOSE) {
      CloseCursor(statement);
    } else if (Option == SQL_UNBIND) {
      statement->columns.clear();
    } else if (Option == SQL_RESET_PARAMS) {
      statement->parameters.clear();
    } else {
      throw DriverError("HY092", "Invalid option " + std::to_string(Option));
    }
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (!statement->result) throw DriverError("24000", "Invalid cursor state: no cursor is open");
    CloseCursor(statement);
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN { return SQL_SUCCESS; });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    CloseCursor(statement);
    return SQL_NO_DATA;
  });
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_CURSOR_TYPE: {
        const SQLULEN wanted = AttributeNumber(Value);
        statement->cursor_type = wanted == SQL_CURSOR_FORWARD_ONLY ? SQL_CURSOR_FORWARD_ONLY : SQL_CURSOR_STATIC;
        if (statement->cursor_type != wanted) {
          statement->diagnostics.Add("01S02", "Option value changed: the cursor is static");
          return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
      }
      case SQL_ATTR_ROW_ARRAY_SIZE:
        if (AttributeNumber(Value) != 1) {
          statement->diagnostics.Add("01S02", "Option value changed: rows are fetched one at a time");
          return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
      case SQL_ATTR_ROWS_FETCHED_PTR:
        statement->rows_fetched = static_cast<SQLULEN*>(Value);
        return SQL_SUCCESS;
      case SQL_ATTR_ROW_STATUS_PTR:
        statement->row_status = static_cast<SQLUSMALLINT*>(Value);
        return SQL_SUCCESS;
      default:
        return SQL_SUCCESS;  // timeouts, concurrency, bind types and the like change nothing here
    }
  });
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT StatementHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER,
                                 SQLINTEGER* StringLength) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    SQLULEN number = 0;
    switch (Attribute) {
      case SQL_ATTR_APP_ROW_DESC:
      case SQL_ATTR_APP_PARAM_DESC:
      case SQL_ATTR_IMP_ROW_DESC:
      case SQL_ATTR_IMP_PARAM_DESC: {
        void* descriptor = &statement->descriptors[Attribute - SQL_ATTR_APP_ROW_DESC];
        if (Value != nullptr) *static_cast<SQLPOINTER*>(Value) = descriptor;
        if (StringLength != nullptr) *StringLength = sizeof descriptor;
        return SQL_SUCCESS;
      }
      case SQL_ATTR_CURSOR_TYPE:
        number = statement->cursor_type;
        break;
      case SQL_ATTR_CONCURRENCY:
        number = SQL_CONCUR_READ_ONLY;
        break;
      case SQL_ATTR_CURSOR_SCROLLABLE:
        number = statement->cursor_type == SQL_CURSOR_FORWARD_ONLY ? SQL_NONSCROLLABLE : SQL_SCROLLABLE;
        break;
      case SQL_ATTR_CURSOR_SENSITIVITY:
        number = SQL_INSENSITIVE;
        break;
      case SQL_ATTR_ROW_ARRAY_SIZE:
        number = 1;
        break;
      case SQL_ATTR_ROW_NUMBER:
        number = statement->row >= 0 ? static_cast<SQLULEN>(statement->row + 1) : 0;
        break;
      case SQL_ATTR_ROWS_FETCHED_PTR:
        number = reinterpret_cast<uintptr_t>(statement->rows_fetched);
        break;
      case SQL_ATTR_ROW_STATUS_PTR:
        number = reinterpret_cast<uintptr_t>(statement->row_status);
        break;
      case SQL_ATTR_QUERY_TIMEOUT:
      case SQL_ATTR_MAX_ROWS:
      case SQL_ATTR_MAX_LENGTH:
      case SQL_ATTR_ASYNC_ENABLE:
      case SQL_ATTR_ROW_BIND_TYPE:
      case SQL_ATTR_PARAM_BIND_TYPE:
      case SQL_ATTR_NOSCAN:
      case SQL_ATTR_USE_BOOKMARKS:
      case SQL_ATTR_RETRIEVE_DATA:
        number = Attribute == SQL_ATTR_RETRIEVE_DATA ? SQL_RD_ON : 0;
        break;
      case SQL_ATTR_PARAMSET_SIZE:
        number = 1;
        break;
      default:
        throw DriverError("HY092", "Invalid statement attribute " + std::to_string(Attribute));
    }
    if (Value != nullptr) *static_cast<SQLULEN*>(Value) = number;
    if (StringLength != nullptr) *StringLength = sizeof number;
    return SQL_SUCCESS;
  });
}

#pragma GCC visibility pop
