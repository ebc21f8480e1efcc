#include "core/float_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

namespace {

// The significant digits of a value in scientific form, without trailing zeros, and its
// decimal exponent: value = d.ddd × 10^exponent.
struct TDecimalDigits {
  bool negative = false;
  char digits[24];
  size_t count = 0;
  int exponent = 0;
};

// The digits of the text `to_chars` wrote in scientific form ([-]d.ddde[+-]xx).
TDecimalDigits ScientificDigits(const char* at, const char* end) {
  TDecimalDigits decimal;
  if (*at == '-') {
    decimal.negative = true;
    ++at;
  }
  for (; *at != 'e'; ++at) {
    if (*at != '.') decimal.digits[decimal.count++] = *at;
  }
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
  ++at;
  if (*at == '+') ++at;
  std::from_chars(at, end, decimal.exponent);
  return decimal;
}

// The shortest digits that read back as the value, when there are at most `significant_digits`
// of them and at most 15: a normal double then lies closer to them than half a step of the
// 15-digit grid, so they are also the value rounded to that many digits. Subnormal values are
// coarser than that and take the long way.
bool ShortestDigits(double value, int significant_digits, TDecimalDigits& decimal) {
  if (significant_digits > 15 || !(std::fabs(value) >= std::numeric_limits<double>::min())) return false;
  char buffer[48];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  decimal = ScientificDigits(buffer, result.ptr);
  return decimal.count <= static_cast<size_t>(significant_digits);
}

// A value as a whole number over a power of ten.
struct TScaledDecimal {
  int64_t Whole;
  int Decimals;
};

constexpr double kScales[] = {1, 10, 100, 1000, 10000};

// Amounts and quantities mostly have a few decimals: a value that is a whole number of at most
// `significant_digits` (at most 15) digits over 10^k, k at most 4, is the double nearest to that
// decimal, so those digits are its rounding too (as for ShortestDigits), found without the
// shortest-digit search.
std::optional<TScaledDecimal> FewDecimals(double value, int significant_digits) {
  static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (significant_digits > 15 || significant_digits < 1) return std::nullopt;
  const double limit = kPowers[significant_digits];
  const double magnitude = std::fabs(value);
  // A value of fewer decimals is a whole number at the finest scale too, with trailing zeros, so
  // while that scale stays within the digits one product decides (the zeros are left on).
  const double finest = magnitude * kScales[4];
  if (finest < limit) {
    const double scaled = (finest + 0x1p52) - 0x1p52;
    if (!(scaled < limit) || scaled == 0 || std::fabs(finest - scaled) > finest * 1e-15 ||
        scaled / kScales[4] != magnitude) {
      return std::nullopt;
    }
    return TScaledDecimal{static_cast<int64_t>(scaled), 4};
  }
  for (int k = 0; k < 5; ++k) {
    const double product = magnitude * kScales[k];
    if (!(product < limit)) return std::nullopt;
    // Below 2^52, adding and taking away 2^52 rounds to the nearest whole number.
    const double scaled = (product + 0x1p52) - 0x1p52;
    if (!(scaled < limit)) return std::nullopt;
    // The product of a true case lies within an ulp of its whole number; the division, slower,
    // decides only the near ones.
    if (scaled == 0 || std::fabs(product - scaled) > product * 1e-15 || scaled / kScales[k] != magnitude) continue;
    return TScaledDecimal{static_cast<int64_t>(scaled), k};
  }
  return std::nullopt;
}

// magnitude · scale − whole, exactly up to one rounding, for a whole number near the product
// (Dekker's exact product).
double ScaledError(double magnitude, double scale, double whole) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  const double product = magnitude * scale;
  double t = kSplit * magnitude;
  const double magnitude_high = t - (t - magnitude), magnitude_low = magnitude - magnitude_high;
  t = kSplit * scale;
  const double scale_high = t - (t - scale), scale_low = scale - scale_high;
  const double product_error =
      ((magnitude_high * scale_high - product) + magnitude_high * scale_low + magnitude_low * scale_high) +
      magnitude_low * scale_low;
  return (product - whole) + product_error;
}

constexpr auto kPowersOfTen = [] {
  std::array<uint64_t, 20> powers{};
  powers[0] = 1;
  for (size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

size_t DigitCount(uint64_t whole) {
  // 1233 / 4096 is just above log10(2): the bit width gives the digit count or one more.
  const auto estimate = static_cast<size_t>(std::bit_width(whole | 1) * 1233 >> 12);
  return estimate + 1 - (whole < kPowersOfTen[estimate] ? 1 : 0);
}

// The value as a whole number over a power of ten when those digits are also its rounding to
// `significant_digits`.
std::optional<TScaledDecimal> RoundedFewDecimals(double value, int significant_digits) {
  static constexpr double kSteps[] = {1,    1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7, 1e-8,
                                      1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16};
  const std::optional<TScaledDecimal> scaled = FewDecimals(value, std::min(significant_digits, 15));
  if (!scaled || significant_digits <= 15) return scaled;
  // Past 15 digits a double's own error may show: the decimal is the value's rounding only when
  // the value lies well within half a step of that many digits from it, and not just below a
  // power of ten, where the steps are ten times finer.
  const auto whole = static_cast<uint64_t>(scaled->Whole);
  const size_t length = DigitCount(whole);
  const double error = ScaledError(std::fabs(value), kScales[scaled->Decimals], static_cast<double>(whole));
  const size_t step = static_cast<size_t>(significant_digits) - length;
  if (step >= std::size(kSteps) || !(std::fabs(error) < 0.49 * kSteps[step])) return std::nullopt;
  if (error < 0 && whole == kPowersOfTen[length - 1]) return std::nullopt;
  return scaled;
}

bool FewDecimalsDigits(double value, int significant_digits, TDecimalDigits& decimal) {
  const std::optional<TScaledDecimal> scaled = RoundedFewDecimals(value, significant_digits);
  if (!scaled) return false;
  const auto written = std::to_chars(decimal.digits, decimal.digits + sizeof decimal.digits, scaled->Whole);
  const size_t length = static_cast<size_t>(written.ptr - decimal.digits);
  decimal.negative = value < 0;
  decimal.exponent = static_cast<int>(length) - 1 - scaled->Decimals;
  decimal.count = length;
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
  return true;
}

TDecimalDigits DecimalDigits(double value, int significant_digits) {
  TDecimalDigits decimal;
  if (FewDecimalsDigits(value, significant_digits, decimal)) return decimal;
  if (ShortestDigits(value, significant_digits, decimal)) return decimal;
  char buffer[48];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant_digits - 1);
  return ScientificDigits(buffer, result.ptr);
}

// "00" to "99", for writing a number two digits at a time.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes the `length` decimal digits of a whole number at `at`, two at a time; returns where
// they end.
char* WriteWhole(char* at, uint64_t value, size_t length) {
  char* const end = at + length;
  char* digit = end;
  while (value >= 100) {
    digit -= 2;
    std::memcpy(digit, &kDigitPairs[2 * (value % 100)], 2);
    value /= 100;
  }
  if (value >= 10) {
    std::memcpy(digit - 2, &kDigitPairs[2 * value], 2);
  } else {
    digit[-1] = static_cast<char>('0' + value);
  }
  return end;
}

// The fixed form of a value of a few decimals, written from its whole number: the digits before
// the separator, then the decimals without trailing zeros ("0" before the separator when it is
// below 1). Returns 0 when its exponent calls for the other forms. The four decimal places are
// written whole, within the room of a float text, and only the shown ones counted.
size_t WriteScaledDecimal(char* out, bool negative, TScaledDecimal scaled, const TFloatFormat& format) {
  const auto whole = static_cast<uint64_t>(scaled.Whole);
  const auto decimals = static_cast<size_t>(scaled.Decimals);
  const uint64_t unit = kPowersOfTen[decimals];
  const uint64_t integral = whole / unit;
  // The decimals in ten-thousandths, whatever their count: 0.05 is 500.
  const auto fraction = static_cast<uint32_t>((whole - integral * unit) * kPowersOfTen[4 - decimals]);
  const size_t integral_length = DigitCount(integral);
  const int exponent =
      integral != 0 ? static_cast<int>(integral_length) - 1 : static_cast<int>(DigitCount(fraction)) - 5;
  if (exponent < format.MinFixedExponent || exponent > format.MaxFixedExponent) return 0;
  char* at = out;
  if (negative) *at++ = '-';
  at = WriteWhole(at, integral, std::max<size_t>(integral_length, 1));
  if (fraction != 0) {
    const size_t shown = fraction % 100 != 0 ? (fraction % 10 != 0 ? 4 : 3) : (fraction % 1000 != 0 ? 2 : 1);
    *at++ = format.DecimalSeparator;
    std::memcpy(at, &kDigitPairs[2 * (fraction / 100)], 2);
    std::memcpy(at + 2, &kDigitPairs[2 * (fraction % 100)], 2);
    at += shown;
  }
  return static_cast<size_t>(at - out);
}

}  // namespace

size_t WriteFloat(char* out, double value, const TFloatFormat& format) {
  if (value == 0) {
    out[0] = '0';
    return 1;
  }
  if (const std::optional<TScaledDecimal> scaled = RoundedFewDecimals(value, format.SignificantDigits)) {
    if (const size_t length = WriteScaledDecimal(out, value < 0, *scaled, format)) return length;
  }
  const TDecimalDigits decimal = DecimalDigits(value, format.SignificantDigits);
  const char* digits = decimal.digits;
  const size_t count = decimal.count;
  char* at = out;
  if (decimal.negative) *at++ = '-';
  if (decimal.exponent < format.MinFixedExponent || decimal.exponent > format.MaxFixedExponent) {
    *at++ = digits[0];
    if (count > 1) {
      *at++ = format.DecimalSeparator;
      std::memcpy(at, digits + 1, count - 1);
      at += count - 1;
    }
    *at++ = 'E';
    at = std::to_chars(at, out + kFloatTextRoom, decimal.exponent).ptr;
  } else if (decimal.exponent < 0) {
    *at++ = '0';
    *at++ = format.DecimalSeparator;
    const size_t zeros = static_cast<size_t>(-decimal.exponent - 1);
    std::memset(at, '0', zeros);
    at += zeros;
    std::memcpy(at, digits, count);
    at += count;
  } else {
    const size_t whole = static_cast<size_t>(decimal.exponent) + 1;
    if (count <= whole) {
      std::memcpy(at, digits, count);
      at += count;
      std::memset(at, '0', whole - count);
      at += whole - count;
    } else {
      std::memcpy(at, digits, whole);
      at += whole;
      *at++ = format.DecimalSeparator;
      std::memcpy(at, digits + whole, count - whole);
      at += count - whole;
    }
  }
  return static_cast<size_t>(at - out);
}

std::string FormatFloat(double value, const TFloatFormat& format) {
  char text[kFloatTextRoom];
  return std::string(text, WriteFloat(text, value, format));
}

double RoundToSignificantDigits(double value, int significant_digits) {
  if (value == 0) return 0.0;
  if (FewDecimals(value, significant_digits)) return value;
  TDecimalDigits shortest;
  if (ShortestDigits(value, significant_digits, shortest)) return value;
  char buffer[48];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant_digits - 1);
  double rounded = 0.0;
  const auto read = std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
  if (read.ec == std::errc::result_out_of_range) {
    // Only rounding up past the largest double gets here; tiny values stay subnormal.
    return value < 0 ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  return rounded;
}
