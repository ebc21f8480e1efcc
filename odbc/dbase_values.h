// The values an INSERT may put into a dBase field, made to fit it: numbers within the declared
// width and decimals, dates as dates, texts as bytes within the width.
#pragma once

#include "odbc/dbase_table.h"
#include "odbc/sql_statement.h"

// Throws DriverError 22001 (text too long), 22003 (number too wide), 22007 (not a date),
// 22018 (not a number).
Value FitToField(const Value& value, const DbaseField& field);

// The field a CREATE TABLE column becomes. Throws DriverError 42000 for widths dBase cannot hold.
DbaseField FieldFor(const ColumnDefinition& column);
