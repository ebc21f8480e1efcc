// Finite floating numbers as text in the general format: the shortest digits that round trip
// at a given number of significant digits, fixed form within a range of exponents, else E form.
#pragma once

#include <cstddef>
#include <string>

struct TFloatFormat {
  int SignificantDigits;  // 1..17
  char DecimalSeparator;
  int MinFixedExponent;  // the smallest decimal exponent still written in fixed form (-30..0)
  int MaxFixedExponent;  // the largest (0..30)
};

// 0 for zero (of either sign); otherwise an optional '-', the digits without trailing zeros
// and, outside the fixed range, 'E' and the decimal exponent ("1,5E-7", "1E20").
// Not for NaN or infinities.
std::string FormatFloat(double value, const TFloatFormat& format);
// Room for a sign, 17 digits, a separator, 30 zeros of a fixed form and an exponent.
inline constexpr size_t kFloatTextRoom = 64;
// The same text written at `out` (kFloatTextRoom bytes of room); returns its length.
size_t WriteFloat(char* out, double value, const TFloatFormat& format);

// The value the text of FormatFloat reads back as: the value rounded to the format's
// significant digits, the same for any decimal separator and exponent range. A value that
// rounds up past the largest double gives an infinity (its text reads as no number).
double RoundToSignificantDigits(double value, int significant_digits);
