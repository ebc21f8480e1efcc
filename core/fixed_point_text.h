// Numbers as fixed-point text with a given count of decimals ("0.00", "0.000"), the way the
// desktop writes them: rounded half away from zero on the number's 18 significant digits.
#pragma once

#include <string>

#include "core/regional_formats.h"

// At least one digit before the separator, exactly `decimals` after it (none and no separator
// for 0); a result of zero carries no minus sign. Infinite and NaN values give "INF", "-INF", "NAN".
std::string FormatFixed(double value, int decimals, const TFormatSettings& formats = CurrentFormats());
