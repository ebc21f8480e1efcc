// What a test saw of the user-facing services: one message box, one HotSync log line.
#pragma once

#include <cstdint>
#include <string>

struct ShownMessage {
  std::string Text;
  std::string Caption;
  uint32_t Style;

  bool operator==(const ShownMessage&) const = default;
};

struct TLoggedLine {
  std::string Text;
  int Activity;

  bool operator==(const TLoggedLine&) const = default;
};
