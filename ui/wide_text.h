// Texts edited on screen as wide characters and kept as bytes: bytes that are no character of
// the locale's encoding survive the round trip unchanged.
#pragma once

#include <string>

std::wstring ToWide(const std::string& bytes);
std::string FromWide(const std::wstring& text);
