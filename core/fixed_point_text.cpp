#include "core/fixed_point_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSignificantDigits = 18;

// Adds one to the decimal digits as a whole number; true when a new leading digit is needed.
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

}  // namespace

std::string FormatFixed(double value, int decimals, const TFormatSettings& formats) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (decimals < 0) decimals = 0;

  char scientific[48];
  std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, std::fabs(value));
  std::string digits(1, scientific[0]);
  digits.append(scientific + 2, kSignificantDigits - 1);
  // digits = d1 d2 ... with the decimal point after `integer_digits` of them (may be <= 0).
  int integer_digits = std::atoi(std::strchr(scientific, 'e') + 1) + 1;

  const int kept = integer_digits + decimals;
  if (kept < 0) {
    digits.clear();
  } else {
    const bool round_up = kept < static_cast<int>(digits.size()) && digits[static_cast<size_t>(kept)] >= '5';
    digits.resize(static_cast<size_t>(kept), '0');
    if (round_up && IncrementDigits(digits)) {
      digits.insert(digits.begin(), '1');
      ++integer_digits;
    }
  }
  // A value below 1: one integer zero, then the zeros between the point and the first digit.
  if (integer_digits < 1) {
    digits.insert(0, static_cast<size_t>(1 - integer_digits), '0');
    integer_digits = 1;
  }
  digits.resize(static_cast<size_t>(integer_digits + decimals), '0');

  std::string text = digits.substr(0, static_cast<size_t>(integer_digits));
  if (decimals > 0) text += formats.DecimalSeparator + digits.substr(static_cast<size_t>(integer_digits));
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  return value < 0 && !zero ? "-" + text : text;
}
