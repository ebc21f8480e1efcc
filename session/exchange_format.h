// The exchange file format chosen in the settings, and its text form in the settings file.
// "TXT" and "TXTINDBFOUT" are the two text-file formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TExchangeFormat : uint8_t { DBF = 0, XML = 1, TXT = 2, TXTINDBFOUT = 3 };

// "DBF", "XML", "TXT" or "TXTINDBFOUT".
std::string ExchangeFormatName(TExchangeFormat format);
// The format a settings text names, compared with letter case; none for any other text.
std::optional<TExchangeFormat> ExchangeFormatFromName(std::string_view name);
bool IsTextFormat(TExchangeFormat format);
