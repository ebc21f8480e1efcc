// Where the exchange tables show their error messages: a modal box with an OK button in the
// conduit, stderr until the conduit wires its message box in. Texts are Windows-1251.
#pragma once

#include <functional>
#include <string>

using TMessageSink = std::function<void(const std::string& text, const std::string& caption)>;

// Writes "caption: text" on stderr in the terminal's encoding.
void WriteMessageToStderr(const std::string& text, const std::string& caption);
