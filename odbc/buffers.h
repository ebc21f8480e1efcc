// The application's buffers: reading a bound parameter into a Value, and writing a Value into a
// bound column or an SQLGetData target in the C type asked for.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "odbc/value.h"

struct BufferBinding {
  SQLSMALLINT c_type = SQL_C_DEFAULT;
  SQLSMALLINT sql_type = SQL_VARCHAR;  // for parameters: the declared SQL type
  SQLPOINTER data = nullptr;
  SQLLEN buffer_length = 0;
  SQLLEN* indicator = nullptr;
};

// Throws DriverError (HYC00, HY003) for a buffer type the drivers do not read.
Value ReadParameter(const BufferBinding& binding);

enum class WriteOutcome { Written, Truncated, NoMoreData };

// Writes value (of a column of type column_type) from byte `offset` of its character or binary
// form; offset moves past what was written, so SQLGetData can deliver long data in parts.
// Throws DriverError 22018, 22003, 07006, HY003 for values the C type cannot hold.
WriteOutcome WriteValue(const Value& value, SQLSMALLINT column_type, const BufferBinding& target, size_t& offset);
