// SQLGetInfo: what a driver tells the driver manager and applications about itself.
#include <sql.h>
#include <sqlext.h>

#include <cstring>

#include "odbc/c_boundary.h"
#include "odbc/handles.h"

namespace {

template <typename T>
SQLRETURN Number(T value, SQLPOINTER out, SQLSMALLINT* length) {
  if (out != nullptr) std::memcpy(out, &value, sizeof value);
  if (length != nullptr) *length = sizeof value;
  return SQL_SUCCESS;
}

SQLRETURN Info(Connection* connection, SQLUSMALLINT type, SQLPOINTER out, SQLSMALLINT capacity, SQLSMALLINT* length) {
  const auto text = [&](std::string_view value) {
    return TextResult(connection, CopyText(value, out, capacity, length));
  };
  const auto word = [&](SQLUSMALLINT value) { return Number(value, out, length); };
  const auto integer = [&](SQLUINTEGER value) { return Number(value, out, length); };
  DataSource* source = connection->data_source.get();
  const bool transactions = source != nullptr && source->SupportsTransactions();
  switch (type) {
    case SQL_DRIVER_NAME:
      return text(DriverLibraryName());
    case SQL_DRIVER_VER:
      return text("02.06.0000");
    case SQL_DRIVER_ODBC_VER:
      return text("03.00");
    case SQL_DBMS_NAME:
      return text(source != nullptr ? source->DbmsName() : "");
    case SQL_DBMS_VER:
      return text("02.06.0000");
    case SQL_DATA_SOURCE_NAME:
    case SQL_SERVER_NAME:
    case SQL_DATABASE_NAME:
    case SQL_USER_NAME:
    case SQL_CATALOG_TERM:
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM:
    case SQL_KEYWORDS:
    case SQL_SPECIAL_CHARACTERS:
      return text("");
    case SQL_TABLE_TERM:
      return text("table");
    case SQL_CATALOG_NAME_SEPARATOR:
      return text(".");
    case SQL_IDENTIFIER_QUOTE_CHAR:
      return text("\"");
    case SQL_SEARCH_PATTERN_ESCAPE:
      return text("\\");
    case SQL_DATA_SOURCE_READ_ONLY:
    case SQL_DESCRIBE_PARAMETER:
    case SQL_NEED_LONG_DATA_LEN:
    case SQL_ROW_UPDATES:
    case SQL_MULT_RESULT_SETS:
    case SQL_PROCEDURES:
    case SQL_EXPRESSIONS_IN_ORDERBY:
    case SQL_COLUMN_ALIAS:
    case SQL_INTEGRITY:
      return text("N");
    case SQL_ACCESSIBLE_TABLES:
    case SQL_ACCESSIBLE_PROCEDURES:
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
    case SQL_MULTIPLE_ACTIVE_TXN:
      return text("Y");
    case SQL_TXN_CAPABLE:
      return word(transactions ? SQL_TC_ALL : SQL_TC_NONE);
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION:
      return integer(transactions ? SQL_TXN_SERIALIZABLE : 0);
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
      return word(SQL_CB_PRESERVE);
    case SQL_SCROLL_OPTIONS:
      return integer(SQL_SO_FORWARD_ONLY | SQL_SO_STATIC);
    case SQL_SCROLL_CONCURRENCY:
      return integer(SQL_SCCO_READ_ONLY);
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
      return integer(SQL_CA1_NEXT | SQL_CA1_ABSOLUTE | SQL_CA1_RELATIVE);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
      return integer(SQL_CA1_NEXT);
    case SQL_GETDATA_EXTENSIONS:
      return integer(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
    case SQL_MAX_COLUMN_NAME_LEN:
      return word(static_cast<SQLUSMALLINT>(source ? source->MaxColumnNameLength() : 0));
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_IDENTIFIER_LEN:
      return word(255);
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
    case SQL_ACTIVE_ENVIRONMENTS:
    case SQL_NULL_COLLATION:
    case SQL_CATALOG_LOCATION:
      return word(0);
    case SQL_CONCAT_NULL_BEHAVIOR:
      return word(SQL_CB_NULL);
    case SQL_CORRELATION_NAME:
      return word(SQL_CN_NONE);
    case SQL_GROUP_BY:
      return word(SQL_GB_NOT_SUPPORTED);
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE:
      return word(SQL_IC_MIXED);
    case SQL_NON_NULLABLE_COLUMNS:
      return word(SQL_NNC_NULL);
    case SQL_FILE_USAGE:
      return word(SQL_FILE_TABLE);
    case SQL_CURSOR_SENSITIVITY:
      return integer(SQL_INSENSITIVE);
    case SQL_ODBC_INTERFACE_CONFORMANCE:
      return integer(SQL_OIC_CORE);
    case SQL_SQL_CONFORMANCE:
      return integer(SQL_SC_SQL92_ENTRY);
    case SQL_ASYNC_MODE:
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_POS_OPERATIONS:
    case SQL_LOCK_TYPES:
    case SQL_STATIC_SENSITIVITY:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
    case SQL_DTC_TRANSITION_COST:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_CONVERT_FUNCTIONS:
    case SQL_SCHEMA_USAGE:
    case SQL_CATALOG_USAGE:
    case SQL_MAX_ROW_SIZE:
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_CHAR_LITERAL_LEN:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_ASYNC_DBC_FUNCTIONS:
    case SQL_DRIVER_AWARE_POOLING_SUPPORTED:
      return integer(0);
    case SQL_PARAM_ARRAY_ROW_COUNTS:
      return integer(SQL_PARC_NO_BATCH);
    case SQL_PARAM_ARRAY_SELECTS:
      return integer(SQL_PAS_NO_SELECT);
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT:
      return integer(0);
    default:
      throw DriverError("HY096", "Information type out of range: " + std::to_string(type));
  }
}

}  // namespace

#pragma GCC visibility push(default)

SQLRETURN SQL_API SQLGetInfo(SQLHDBC ConnectionHandle, SQLUSMALLINT InfoType, SQLPOINTER InfoValuePtr,
                             SQLSMALLINT BufferLength, SQLSMALLINT* StringLengthPtr) {
  Connection* connection = AsConnection(ConnectionHandle);
  return Guarded(connection, [&]() -> SQLRETURN {
    return Info(connection, InfoType, InfoValuePtr, BufferLength, StringLengthPtr);
  });
}

#pragma GCC visibility pop
