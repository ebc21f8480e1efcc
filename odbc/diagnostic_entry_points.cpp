// SQLGetDiagRec and SQLGetDiagField: the diagnostic records of any handle, without clearing them.
#include <sql.h>
#include <sqlext.h>

#include "odbc/c_boundary.h"
#include "odbc/handles.h"

namespace {

Handle* AnyHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV:
      return AsEnvironment(handle);
    case SQL_HANDLE_DBC:
      return AsConnection(handle);
    case SQL_HANDLE_STMT:
      return AsStatement(handle);
    default:
      return nullptr;
  }
}

// Like Guarded, but a failure here must not replace the records being read.
template <typename Body>
SQLRETURN Reading(Handle* handle, Body&& body) noexcept {
  if (handle == nullptr) return SQL_INVALID_HANDLE;
  try {
    return body();
  } catch (...) {
    return SQL_ERROR;
  }
}

bool IsOdbcState(const std::string& state) {
  static const char* const kOdbcStates[] = {"01S", "07S", "08S", "21S", "25S", "42S", "HY", "IM"};
  for (const char* prefix : kOdbcStates) {
    if (state.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

}  // namespace

#pragma GCC visibility push(default)

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber, SQLCHAR* Sqlstate,
                                SQLINTEGER* NativeErrorPtr, SQLCHAR* MessageText, SQLSMALLINT BufferLength,
                                SQLSMALLINT* TextLengthPtr) {
  ::Handle* handle = AnyHandle(HandleType, Handle);
  return Reading(handle, [&]() -> SQLRETURN {
    if (RecNumber < 1 || BufferLength < 0) return SQL_ERROR;
    const DiagnosticRecord* record = handle->diagnostics.Record(RecNumber);
    if (record == nullptr) return SQL_NO_DATA;
    if (Sqlstate != nullptr) CopyText(record->sqlstate, Sqlstate, 6, static_cast<SQLSMALLINT*>(nullptr));
    if (NativeErrorPtr != nullptr) *NativeErrorPtr = record->native_error;
    return CopyText(record->message, MessageText, BufferLength, TextLengthPtr) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
                                  SQLSMALLINT DiagIdentifier, SQLPOINTER DiagInfoPtr, SQLSMALLINT BufferLength,
                                  SQLSMALLINT* StringLengthPtr) {
  ::Handle* handle = AnyHandle(HandleType, Handle);
  return Reading(handle, [&]() -> SQLRETURN {
    const auto text = [&](std::string_view value) {
      return CopyText(value, DiagInfoPtr, BufferLength, StringLengthPtr) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
    };
    const auto integer = [&](SQLINTEGER value) {
      if (DiagInfoPtr != nullptr) *static_cast<SQLINTEGER*>(DiagInfoPtr) = value;
      return SQL_SUCCESS;
    };
    switch (DiagIdentifier) {
      case SQL_DIAG_NUMBER:
        return integer(static_cast<SQLINTEGER>(handle->diagnostics.Records().size()));
      case SQL_DIAG_RETURNCODE:
        if (DiagInfoPtr != nullptr) {
          *static_cast<SQLRETURN*>(DiagInfoPtr) = handle->diagnostics.Records().empty() ? SQL_SUCCESS : SQL_ERROR;
        }
        return SQL_SUCCESS;
      case SQL_DIAG_CURSOR_ROW_COUNT:
      case SQL_DIAG_ROW_COUNT: {
        const Statement* statement = AsStatement(Handle);
        if (DiagInfoPtr != nullptr) *static_cast<SQLLEN*>(DiagInfoPtr) = statement ? statement->affected_rows : 0;
        return SQL_SUCCESS;
      }
      case SQL_DIAG_DYNAMIC_FUNCTION:
        return text("");
      case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        return integer(SQL_DIAG_UNKNOWN_STATEMENT);
      default:
        break;
    }
    if (RecNumber < 1) return SQL_ERROR;
    const DiagnosticRecord* record = handle->diagnostics.Record(RecNumber);
    if (record == nullptr) return SQL_NO_DATA;
    switch (DiagIdentifier) {
      case SQL_DIAG_SQLSTATE:
        return text(record->sqlstate);
      case SQL_DIAG_MESSAGE_TEXT:
        return text(record->message);
      case SQL_DIAG_NATIVE:
        return integer(record->native_error);
      case SQL_DIAG_CLASS_ORIGIN:
        return text(record->sqlstate.rfind("IM", 0) == 0 ? "ODBC 3.0" : "ISO 9075");
      case SQL_DIAG_SUBCLASS_ORIGIN:
        return text(IsOdbcState(record->sqlstate) ? "ODBC 3.0" : "ISO 9075");
      case SQL_DIAG_CONNECTION_NAME:
      case SQL_DIAG_SERVER_NAME:
        return text("");
      case SQL_DIAG_ROW_NUMBER: {
        if (DiagInfoPtr != nullptr) *static_cast<SQLLEN*>(DiagInfoPtr) = SQL_ROW_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
      }
      case SQL_DIAG_COLUMN_NUMBER:
        return integer(SQL_COLUMN_NUMBER_UNKNOWN);
      default:
        return SQL_ERROR;
    }
  });
}

#pragma GCC visibility pop
