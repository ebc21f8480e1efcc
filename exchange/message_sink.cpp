#include "exchange/message_sink.h"

#include <cstdio>

#include "core/message_box_text.h"

void WriteMessageToStderr(const std::string& text, const std::string& caption) {
  std::fputs(MessageBoxForTerminal(text, caption).c_str(), stderr);
}
