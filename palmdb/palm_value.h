// The typed value of a handheld field (what Value reads): a text, an integer, a floating
// number, a date-time or a byte array, with its text form (what Value stores).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/date_time.h"
#include "core/regional_formats.h"

using TPalmBytes = std::vector<uint8_t>;
using TPalmValue = std::variant<std::string, int32_t, double, TDateTime, TPalmBytes>;

// The value as text in the regional formats: integers in decimal, floating numbers in the
// general format, date-times as short date (and long time when there is a time of day),
// byte arrays as their bytes.
std::string PalmValueText(const TPalmValue& value, const TFormatSettings& formats = CurrentFormats());

// A non-empty date-time text: a date and/or time in the regional formats, or the number of days
// the handheld layout stores for a date it could not read ("0"). Throws EConvertError otherwise.
TDateTime ParsePalmDateTime(const std::string& text, const TFormatSettings& formats = CurrentFormats());
