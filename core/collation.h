// Case-insensitive comparison "under the desktop locale" for Windows-1251 texts: Latin and
// Cyrillic letters (Ё/ё too) fold to upper case; order: punctuation < digits < Latin < Cyrillic.
#pragma once

#include <string>
#include <string_view>

// <0, 0, >0 as a sorts before, equal to, after b without regard to case.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Upper case of Latin and Cyrillic letters of Windows-1251.
std::string AnsiUpperCase(std::string_view text);
// Upper case of the letters a to z only; every other byte unchanged.
std::string UpperCaseLatin(std::string_view text);
