// How a message box looks and answers without a person to ask: the caption and the text in the
// terminal's encoding, and the default button of each box style.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// IDNO for Yes/No boxes, IDCANCEL for OK/Cancel boxes, IDOK otherwise.
int32_t DefaultAnswer(uint32_t style);

// Caption and text (Windows-1251) as terminal lines: "caption: " then the text, each carriage
// return of the text starting a new line, and a final line end.
std::string MessageBoxForTerminal(std::string_view text, std::string_view caption);

// Windows-1251 text in the terminal's encoding, with "\r\n" and a lone "\r" turned into "\n".
std::string TextForTerminal(std::string_view ansi);
