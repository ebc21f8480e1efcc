// The code page a dBase table declares in its language driver byte: tables marked as Russian
// MS-DOS (866) have their texts recoded to Windows-1251; every other table is taken as it is.
#pragma once

#include <string>
#include <string_view>

// Language driver bytes 0x26 and 0x65.
bool IsDosCyrillic(unsigned char language_driver);

// The 866 bytes as Windows-1251, byte for byte; a character without a Windows-1251 form
// (the box-drawing signs) becomes '?'.
std::string DosCyrillicToAnsi(std::string_view text);
