// The fields a result's columns become: the field type by the column's ODBC type, the field's
// name, and reading one column of the current row as a typed value.
#pragma once

#include <sql.h>

#include <optional>
#include <string>
#include <vector>

#include "exchange/odbc_value.h"

// The field type of a column, or none for a type that gets no field. Variable-length texts of
// size 1 to 254 are texts, longer (or unsized) ones memos.
std::optional<TOdbcDataType> FieldTypeForColumn(SQLSMALLINT sql_type, SQLULEN column_size);

// "COLUMN" for an empty name; a name already taken (compared without regard to case) becomes
// name + "_" + counter, the first free of 1, 2, ...
std::string UniqueFieldName(const std::string& name, const std::vector<std::string>& taken);

// The value of a column of the fetched row, read as its field type wants it (null for SQL NULL).
TOdbcValue ReadColumnValue(SQLHSTMT statement, SQLUSMALLINT column, TOdbcDataType type);
