// Cutting text into pieces: blanks trimmed from both ends, lines taken one at a time, fields
// split at a delimiter. Every piece is a view into the text it came from.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The text without the blanks (spaces and tabs) at either end.
std::string_view Trim(std::string_view text);

// The line that starts at `position`, without its end (CR LF, LF or CR); `position` moves to
// the start of the next line, or to the end of the bytes.
std::string_view NextLine(std::string_view bytes, size_t& position);

// Every line of the bytes; a break at the very end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// The pieces between delimiters: n delimiters give n + 1 pieces, an empty text one empty piece.
std::vector<std::string_view> SplitAt(std::string_view text, char delimiter);
