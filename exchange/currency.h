// Amounts read "as currency": fixed point with four decimal places, as the accounting system's
// money columns hold them.
#pragma once

#include <cmath>

// value rounded to the nearest 0.0001.
inline double RoundToCurrency(double value) { return std::round(value * 10000.0) / 10000.0; }
