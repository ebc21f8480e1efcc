// Texts to numbers, dates and times and back, with the desktop's semantics and error texts.
// Every function takes the regional formats explicitly or uses CurrentFormats().
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/float_format.h"
#include "core/regional_formats.h"

// Integers: optional blanks before, optional sign, decimal digits (or '$'/0x hexadecimal).
// Failure throws EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
std::optional<int32_t> TryStrToInt(std::string_view text);
std::optional<int64_t> TryStrToInt64(std::string_view text);
std::string IntToStr(int64_t value);
// The value in decimal appended to out.
inline void AppendInteger(std::string& out, int64_t value) {
  char text[24];
  out.append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
}
// The value in decimal, at least `width` characters with zeros after a '-' sign, as printf's
// "%0*d" writes it, at `out` (room for 11 characters or `width`); returns where it ends.
char* WritePaddedInteger(char* out, int value, int width);

// Floating numbers with the regional decimal separator; blanks around are allowed, an exponent too.
// Failure throws EConvertError "'%s' is not a valid floating point value".
double StrToFloat(std::string_view text, const TFormatSettings& formats = CurrentFormats());
std::optional<double> TryStrToFloat(std::string_view text, const TFormatSettings& formats = CurrentFormats());
// A number written as an optional '-', digits and at most one `separator`, with at least one and
// at most 15 digits: converted by one exact division, which rounds as the full conversion does.
// None for every other text, which needs the full conversion.
std::optional<double> ParseShortDecimal(std::string_view text, char separator);
// The general format with 15 significant digits: shortest round trip at 15 digits, no trailing
// zeros, exponent form (1E20, 1,5E-7) only outside the fixed range.
std::string FloatToStr(double value, const TFormatSettings& formats = CurrentFormats());
// FloatToStr's text written at `out` (kFloatTextRoom bytes of room); returns its length.
size_t WriteFloatToStr(char* out, double value, const TFormatSettings& formats = CurrentFormats());
// What FloatToStr's text of a finite value reads back as: the value rounded to 15 significant
// digits, found without making the text.
double RoundToGeneralDigits(double value);

// Dates and times in the regional short date and long time formats (day.month.year, hh:nn:ss).
std::string DateToStr(TDateTime value, const TFormatSettings& formats = CurrentFormats());
std::string TimeToStr(TDateTime value, const TFormatSettings& formats = CurrentFormats());
// Short date, then a blank and the long time only when the value has a time of day.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& formats = CurrentFormats());
// "dd.mm.yyyy" whatever the region: dates in outgoing text files.
std::string FormatDdMmYyyy(TDateTime value);

// Parsing throws EConvertError "'%s' is not a valid date" / "... time" / "... date and time".
// Two-digit years follow the desktop's window (within 50 years of this year).
TDateTime StrToDate(std::string_view text, const TFormatSettings& formats = CurrentFormats());
TDateTime StrToTime(std::string_view text, const TFormatSettings& formats = CurrentFormats());
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& formats = CurrentFormats());
std::optional<TDateTime> TryStrToDateTime(std::string_view text, const TFormatSettings& formats = CurrentFormats());
