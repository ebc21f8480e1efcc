// Case-insensitive comparison "under the desktop locale" for Windows-1251 texts: Latin and
// Cyrillic letters (Ё/ё too) fold to upper case; order: punctuation < digits < Latin < Cyrillic.
#pragma once

#include <string>
#include <string_view>

// <0, 0, >0 as a sorts before, equal to, after b without regard to case.
int CompareText(std::string_view a, std::string_view b);
// The text's bytes replaced by their sort weights (each fits a byte): two keys compared byte by
// byte, as unsigned bytes with the shorter first on a tie, order as CompareText orders their texts.
std::string CollationKey(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// Upper case of Latin and Cyrillic letters of Windows-1251.
std::string AnsiUpperCase(std::string_view text);
// Upper case of the letters a to z only; every other byte unchanged.
std::string UpperCaseLatin(std::string_view text);
