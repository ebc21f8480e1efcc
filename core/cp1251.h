// The one converter between UTF-8 (the source code's and the terminal's texts) and Windows-1251
// (every text the conduit keeps, logs and writes). Data never passes through it, only our own texts.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to Windows-1251; a character without a Windows-1251 form becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 to UTF-8; every byte has a form (0x98 becomes U+FFFD).
std::string Cp1251ToUtf8(std::string_view ansi);

// Our own Russian texts are written in UTF-8 in the source: Ansi("Ошибка") is their Windows-1251 form.
inline std::string Ansi(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// Windows-1251 to the terminal's encoding (the process locale's; UTF-8 when the locale names none).
std::string Cp1251ToTerminal(std::string_view ansi);

// The terminal's encoding to Windows-1251 (command-line arguments such as a user name).
std::string TerminalToCp1251(std::string_view text);
