// The value texts of XML data packets, fixed whatever the region: r8 numbers with a full stop,
// the two date-time forms, and the escapes of attribute values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"

// 16 significant digits, trailing zeros dropped, full stop; exponent form "1.5E-7" outside
// 1E-5 .. 1E16. Infinity and NaN have no text: nullopt.
std::optional<std::string> FormatPacketFloat(double value);
// The same text written at `out` (kFloatTextRoom bytes of room); returns where it ends, or
// nullptr (nothing written) for infinity and NaN.
char* WritePacketFloat(char* out, double value);
std::optional<double> ParsePacketFloat(std::string_view text);

std::optional<int32_t> ParsePacketInteger(std::string_view text);

// "yyyymmdd" at midnight, else "yyyymmddThh:nn:" and seconds * 1000 + milliseconds in 5 digits.
std::string FormatPacketDateTime(TDateTime value);
// Room for the longer form.
inline constexpr size_t kPacketDateTimeRoom = 32;
// The same text written at `out`; returns where it ends.
char* WritePacketDateTime(char* out, TDateTime value);
// Accepts both forms, and the time part alone ("hh:nn:sssss") for time columns.
std::optional<TDateTime> ParsePacketDateTime(std::string_view text);

// The most a character grows to when escaped.
inline constexpr size_t kEscapedRoomPerChar = 6;
// Writes text at `out` (room for kEscapedRoomPerChar bytes a character) with < > & ' " CR LF
// TAB and backslash replaced by their references; returns where it ends.
char* WriteEscaped(char* out, std::string_view text);
// Undoes the standard entities and character references; a reference above 127 becomes its
// Windows-1251 byte ('?' when it has none). nullopt for a malformed or unknown reference.
std::optional<std::string> Unescape(std::string_view text);
// The same as a view: of `text` itself when it holds no reference, else of `scratch`.
std::optional<std::string_view> UnescapeView(std::string_view text, std::string& scratch);
