// A text value as it goes into one cell of a semicolon-delimited exchange file: the value must
// stay in its own column and on its own line, whatever the agent typed on the handheld.
#pragma once

#include <string>
#include <string_view>

// text with every delimiter written as ',' and every CR or LF written as a blank.
std::string DelimitedCellText(std::string_view text, char delimiter);
// True when the text goes into a cell unchanged (it holds no delimiter, CR or LF).
bool IsCellTextAsItIs(std::string_view text, char delimiter);
