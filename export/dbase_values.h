// The value of one dBase field as the export reads it: numbers ('N', 'F'), dates ('D') and
// logicals ('L') by their stored form, Visual FoxPro's binary integers ('I'), amounts ('Y'),
// doubles ('B') and date-times ('T') by their bytes, texts ('C' and any other type) by the rules
// of the text files (regional decimal separator and date format). Blank numbers, dates and
// logicals, and values that do not convert, throw EConvertError as an empty or malformed text
// column does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "export/dbase_file.h"

int32_t DbaseAsInteger(const TDbaseField& field, std::string_view stored);
double DbaseAsFloat(const TDbaseField& field, std::string_view stored);
// Fixed point with four decimal places, within the fixed-point range.
double DbaseAsCurrency(const TDbaseField& field, std::string_view stored);
TDateTime DbaseAsDateTime(const TDbaseField& field, std::string_view stored);
// Texts without their trailing blanks, numbers without blanks (binary ones with '.'), dates and
// date-times in the regional formats, logicals as stored.
std::string DbaseAsString(const TDbaseField& field, std::string_view stored);
