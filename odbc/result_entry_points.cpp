// Describing, binding and fetching result columns: the ODBC entry points of an open result set.
#include <sql.h>
#include <sqlext.h>

#include "odbc/c_boundary.h"
#include "odbc/handles.h"

namespace {

std::vector<ColumnInfo> Columns(Statement* statement) {
  if (statement->result) return statement->result->columns;
  if (!statement->prepared) throw DriverError("HY010", "Function sequence error: no statement prepared");
  return statement->prepared->Columns();
}

ColumnInfo Column(Statement* statement, SQLUSMALLINT number) {
  const std::vector<ColumnInfo> columns = Columns(statement);
  if (number < 1 || number > columns.size()) {
    throw DriverError("07009", "Invalid descriptor index " + std::to_string(number));
  }
  return columns[number - 1];
}

SQLLEN DisplaySize(const ColumnInfo& column) {
  switch (column.sql_type) {
    case SQL_INTEGER:
      return 11;
    case SQL_SMALLINT:
      return 6;
    case SQL_BIGINT:
      return 20;
    case SQL_BIT:
      return 1;
    case SQL_DOUBLE:
    case SQL_FLOAT:
      return 24;
    case SQL_TYPE_DATE:
      return 10;
    case SQL_TYPE_TIMESTAMP:
      return 19;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return static_cast<SQLLEN>(column.size) + 2;
    default:
      return static_cast<SQLLEN>(column.size);
  }
}

const char* TypeName(SQLSMALLINT type) {
  switch (type) {
    case SQL_INTEGER:
      return "INTEGER";
    case SQL_SMALLINT:
      return "SMALLINT";
    case SQL_BIGINT:
      return "BIGINT";
    case SQL_BIT:
      return "BIT";
    case SQL_DOUBLE:
      return "DOUBLE";
    case SQL_NUMERIC:
      return "NUMERIC";
    case SQL_TYPE_DATE:
      return "DATE";
    case SQL_TYPE_TIMESTAMP:
      return "TIMESTAMP";
    case SQL_LONGVARCHAR:
      return "LONGVARCHAR";
    case SQL_VARCHAR:
      return "VARCHAR";
    default:
      return "CHAR";
  }
}

// One row moved to by a fetch: the bound columns filled, the parts of SQLGetData reset.
SQLRETURN DeliverRow(Statement* statement) {
  statement->get_data_offsets.clear();
  bool truncated = false;
  const auto& row = statement->result->rows[static_cast<size_t>(statement->row)];
  for (const auto& [number, binding] : statement->columns) {
    if (number < 1 || number > row.size()) continue;
    size_t offset = 0;
    truncated |= WriteValue(row[number - 1], statement->result->columns[number - 1].sql_type, binding, offset) ==
                 WriteOutcome::Truncated;
  }
  if (statement->rows_fetched != nullptr) *statement->rows_fetched = 1;
  if (statement->row_status != nullptr) *statement->row_status = SQL_ROW_SUCCESS;
  return TextResult(statement, truncated);
}

SQLRETURN MoveTo(Statement* statement, long row) {
  if (!statement->result) throw DriverError("24000", "Invalid cursor state: no result set is open");
  const long count = static_cast<long>(statement->result->rows.size());
  if (row < 0 || row >= count) {
    statement->row = row < 0 ? -1 : count;
    if (statement->rows_fetched != nullptr) *statement->rows_fetched = 0;
    return SQL_NO_DATA;
  }
  statement->row = row;
  return DeliverRow(statement);
}

}  // namespace

#pragma GCC visibility push(default)

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT StatementHandle, SQLSMALLINT* ColumnCountPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (ColumnCountPtr != nullptr) *ColumnCountPtr = static_cast<SQLSMALLINT>(Columns(statement).size());
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLCHAR* ColumnName,
                                 SQLSMALLINT BufferLength, SQLSMALLINT* NameLengthPtr, SQLSMALLINT* DataTypePtr,
                                 SQLULEN* ColumnSizePtr, SQLSMALLINT* DecimalDigitsPtr, SQLSMALLINT* NullablePtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    const ColumnInfo column = Column(statement, ColumnNumber);
    if (DataTypePtr != nullptr) *DataTypePtr = column.sql_type;
    if (ColumnSizePtr != nullptr) *ColumnSizePtr = column.size;
    if (DecimalDigitsPtr != nullptr) *DecimalDigitsPtr = column.decimals;
    if (NullablePtr != nullptr) *NullablePtr = SQL_NULLABLE;
    return TextResult(statement, CopyText(column.name, ColumnName, BufferLength, NameLengthPtr));
  });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLUSMALLINT FieldIdentifier,
                                  SQLPOINTER CharacterAttributePtr, SQLSMALLINT BufferLength,
                                  SQLSMALLINT* StringLengthPtr, SQLLEN* NumericAttributePtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (FieldIdentifier == SQL_DESC_COUNT || FieldIdentifier == SQL_COLUMN_COUNT) {
      if (NumericAttributePtr != nullptr) *NumericAttributePtr = static_cast<SQLLEN>(Columns(statement).size());
      return SQL_SUCCESS;
    }
    const ColumnInfo column = Column(statement, ColumnNumber);
    std::string text;
    SQLLEN number = 0;
    bool is_text = false;
    switch (FieldIdentifier) {
      case SQL_DESC_NAME:
      case SQL_DESC_LABEL:
      case SQL_DESC_BASE_COLUMN_NAME:
      case SQL_COLUMN_NAME:
        text = column.name;
        is_text = true;
        break;
      case SQL_DESC_TYPE_NAME:
        text = TypeName(column.sql_type);
        is_text = true;
        break;
      case SQL_DESC_TABLE_NAME:
      case SQL_DESC_BASE_TABLE_NAME:
      case SQL_DESC_CATALOG_NAME:
      case SQL_DESC_SCHEMA_NAME:
      case SQL_DESC_LITERAL_PREFIX:
      case SQL_DESC_LITERAL_SUFFIX:
      case SQL_DESC_LOCAL_TYPE_NAME:
        is_text = true;
        break;
      case SQL_DESC_TYPE:
      case SQL_DESC_CONCISE_TYPE:
        number = column.sql_type;
        break;
      case SQL_DESC_LENGTH:
      case SQL_DESC_OCTET_LENGTH:
      case SQL_DESC_PRECISION:
      case SQL_COLUMN_LENGTH:
      case SQL_COLUMN_PRECISION:
        number = static_cast<SQLLEN>(column.size);
        break;
      case SQL_DESC_DISPLAY_SIZE:
        number = DisplaySize(column);
        break;
      case SQL_DESC_SCALE:
      case SQL_COLUMN_SCALE:
        number = column.decimals;
        break;
      case SQL_DESC_NULLABLE:
      case SQL_COLUMN_NULLABLE:
        number = SQL_NULLABLE;
        break;
      case SQL_DESC_UNSIGNED:
        number = SQL_FALSE;
        break;
      case SQL_DESC_SEARCHABLE:
        number = SQL_PRED_SEARCHABLE;
        break;
      case SQL_DESC_UPDATABLE:
        number = SQL_ATTR_READWRITE_UNKNOWN;
        break;
      case SQL_DESC_AUTO_UNIQUE_VALUE:
      case SQL_DESC_CASE_SENSITIVE:
      case SQL_DESC_FIXED_PREC_SCALE:
      case SQL_DESC_UNNAMED:
        number = SQL_FALSE;
        break;
      case SQL_DESC_NUM_PREC_RADIX:
        number = column.sql_type == SQL_CHAR || column.sql_type == SQL_VARCHAR ? 0 : 10;
        break;
      default:
        throw DriverError("HY091", "Invalid descriptor field identifier " + std::to_string(FieldIdentifier));
    }
    if (is_text) return TextResult(statement, CopyText(text, CharacterAttributePtr, BufferLength, StringLengthPtr));
    if (NumericAttributePtr != nullptr) *NumericAttributePtr = number;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLSMALLINT TargetType,
                             SQLPOINTER TargetValuePtr, SQLLEN BufferLength, SQLLEN* StrLen_or_IndPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (ColumnNumber < 1) throw DriverError("07009", "Bookmark columns are not supported");
    if (TargetValuePtr == nullptr && StrLen_or_IndPtr == nullptr) {
      statement->columns.erase(ColumnNumber);
    } else {
      statement->columns[ColumnNumber] =
          BufferBinding{TargetType, SQL_VARCHAR, TargetValuePtr, BufferLength, StrLen_or_IndPtr};
    }
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN { return MoveTo(statement, statement->row + 1); });
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT StatementHandle, SQLSMALLINT FetchOrientation, SQLLEN FetchOffset) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (FetchOrientation == SQL_FETCH_NEXT) return MoveTo(statement, statement->row + 1);
    if (statement->cursor_type == SQL_CURSOR_FORWARD_ONLY) {
      throw DriverError("HY106", "Fetch type out of range: the cursor is forward-only");
    }
    if (!statement->result) throw DriverError("24000", "Invalid cursor state: no result set is open");
    const long count = static_cast<long>(statement->result->rows.size());
    switch (FetchOrientation) {
      case SQL_FETCH_PRIOR:
        return MoveTo(statement, statement->row - 1);
      case SQL_FETCH_FIRST:
        return MoveTo(statement, 0);
      case SQL_FETCH_LAST:
        return MoveTo(statement, count - 1);
      case SQL_FETCH_ABSOLUTE:
        return MoveTo(statement, FetchOffset > 0 ? FetchOffset - 1 : count + FetchOffset);
      case SQL_FETCH_RELATIVE:
        return MoveTo(statement, statement->row + FetchOffset);
      default:
        throw DriverError("HY106", "Fetch type out of range: " + std::to_string(FetchOrientation));
    }
  });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLSMALLINT TargetType,
                             SQLPOINTER TargetValuePtr, SQLLEN BufferLength, SQLLEN* StrLen_or_IndPtr) {
  Statement* statement = AsStatement(StatementHandle);
  return Guarded(statement, [&]() -> SQLRETURN {
    if (!statement->result || statement->row < 0 ||
        statement->row >= static_cast<long>(statement->result->rows.size())) {
      throw DriverError("24000", "Invalid cursor state: no row is current");
    }
    const auto& row = statement->result->rows[static_cast<size_t>(statement->row)];
    if (ColumnNumber < 1 || ColumnNumber > row.size()) {
      throw DriverError("07009", "Invalid descriptor index " + std::to_string(ColumnNumber));
    }
    const BufferBinding target{TargetType, SQL_VARCHAR, TargetValuePtr, BufferLength, StrLen_or_IndPtr};
    size_t& offset = statement->get_data_offsets[ColumnNumber];
    switch (WriteValue(row[ColumnNumber - 1], statement->result->columns[ColumnNumber - 1].sql_type, target, offset)) {
      case WriteOutcome::NoMoreData:
        return SQL_NO_DATA;
      case WriteOutcome::Truncated:
        return TextResult(statement, true);
      default:
        return SQL_SUCCESS;
    }
  });
}

#pragma GCC visibility pop
