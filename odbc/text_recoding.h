// Conversions between the desktop's Windows-1251 bytes and the Unicode forms met at the driver's
// edges: UTF-8 (SQLite storage) and UTF-16LE (wide-character ODBC buffers).
#pragma once

#include <string>
#include <string_view>

// A character without a Windows-1251 form becomes '?'.
std::string Utf8ToWindows1251(std::string_view utf8);
std::string Windows1251ToUtf8(std::string_view ansi);
std::string Utf16ToWindows1251(std::u16string_view utf16);
std::u16string Windows1251ToUtf16(std::string_view ansi);
