// One full-screen ncurses session on the controlling terminal: the locale's character type is
// switched on for its lifetime (so Cyrillic texts and typed characters pass), then restored.
#pragma once

#include <string>

#include "core/exceptions.h"

// There is no terminal to draw on (standard input or output is not one, or it is unknown).
class ETerminalError : public Exception {
 public:
  using Exception::Exception;
};

class TCursesScreen {
 public:
  // Throws ETerminalError when no screen can be opened.
  TCursesScreen();
  ~TCursesScreen();
  TCursesScreen(const TCursesScreen&) = delete;
  TCursesScreen& operator=(const TCursesScreen&) = delete;

  // True while a screen is open in this process.
  static bool Active();

 private:
  std::string saved_ctype_;
  void* screen_;
};

// A Windows-1251 text in the terminal's encoding.
std::string ScreenText(const std::string& ansi);
