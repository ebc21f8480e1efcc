// Conversions of the layer's typed values: a value made fit for a data type (set into a field or
// parameter) and a value read as an integer, float, date-time or text. Failures throw EConvertError.
#pragma once

#include <cstdint>
#include <string>

#include "exchange/odbc_value.h"

// The form the type keeps: texts, memos and blobs as bytes, integer types as integers, float
// types as floats, date and time types as date-times, booleans as booleans; null stays null.
// A text of a numeric or date type is parsed by the regional rules.
TOdbcValue ConvertForType(const TOdbcValue& value, TOdbcDataType type);

// Null reads as 0, 0.0, the zero date-time or empty text. Floats are rounded to integers;
// an integer outside 32 bits throws.
int32_t ValueAsInteger(const TOdbcValue& value);
double ValueAsFloat(const TOdbcValue& value);
TDateTime ValueAsDateTime(const TOdbcValue& value);
// Integers in decimal, floats in the general format, dates, times and date-times in the
// regional formats (by the type), booleans as "True" / "False".
std::string ValueAsString(const TOdbcValue& value, TOdbcDataType type);
