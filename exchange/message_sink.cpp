#include "exchange/message_sink.h"

#include <cstdio>

#include "core/cp1251.h"

void WriteMessageToStderr(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", Cp1251ToTerminal(caption).c_str(), Cp1251ToTerminal(text).c_str());
}
