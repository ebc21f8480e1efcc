#include "core/float_format.h"

#include <charconv>
#include <string_view>

namespace {

// The significant digits of a value in scientific form, without trailing zeros, and its
// decimal exponent: value = d.ddd × 10^exponent.
struct TDecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

TDecimalDigits DecimalDigits(double value, int significant_digits) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant_digits - 1);
  std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));  // [-]d.ddde[+-]xx
  TDecimalDigits decimal;
  if (text.front() == '-') {
    decimal.negative = true;
    text.remove_prefix(1);
  }
  const size_t e = text.find('e');
  for (const char c : text.substr(0, e)) {
    if (c != '.') decimal.digits += c;
  }
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
  return decimal;
}

}  // namespace

std::string FormatFloat(double value, const TFloatFormat& format) {
  if (value == 0) return "0";
  const TDecimalDigits decimal = DecimalDigits(value, format.SignificantDigits);
  const std::string& digits = decimal.digits;
  std::string out = decimal.negative ? "-" : "";
  if (decimal.exponent < format.MinFixedExponent || decimal.exponent > format.MaxFixedExponent) {
    out += digits[0];
    if (digits.size() > 1) {
      out += format.DecimalSeparator;
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(decimal.exponent);
  } else if (decimal.exponent < 0) {
    out += '0';
    out += format.DecimalSeparator;
    out.append(static_cast<size_t>(-decimal.exponent - 1), '0');
    out += digits;
  } else {
    const size_t whole = static_cast<size_t>(decimal.exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out.append(digits, 0, whole);
      out += format.DecimalSeparator;
      out.append(digits, whole);
    }
  }
  return out;
}
