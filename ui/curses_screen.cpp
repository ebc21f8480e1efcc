#include "ui/curses_screen.h"

#include <curses.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>

#include "core/cp1251.h"

namespace {

bool& ScreenOpen() {
  static bool open = false;
  return open;
}

bool IsPlainLocale(const char* name) {
  return name == nullptr || std::string(name) == "C" || std::string(name) == "POSIX";
}

}  // namespace

TCursesScreen::TCursesScreen() : screen_(nullptr) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
    throw ETerminalError("The settings dialog needs an interactive terminal");
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  saved_ctype_ = current != nullptr ? current : "C";
  if (IsPlainLocale(current) && IsPlainLocale(std::setlocale(LC_CTYPE, ""))) std::setlocale(LC_CTYPE, "C.UTF-8");
  SCREEN* screen = newterm(nullptr, stdout, stdin);
  if (screen == nullptr) {
    std::setlocale(LC_CTYPE, saved_ctype_.c_str());
    throw ETerminalError("The terminal cannot show the settings dialog");
  }
  screen_ = screen;
  set_term(screen);
  ScreenOpen() = true;
  set_escdelay(25);
  cbreak();
  noecho();
  keypad(stdscr, TRUE);
  curs_set(0);
}

TCursesScreen::~TCursesScreen() {
  endwin();
  delscreen(static_cast<SCREEN*>(screen_));
  ScreenOpen() = false;
  std::setlocale(LC_CTYPE, saved_ctype_.c_str());
}

bool TCursesScreen::Active() { return ScreenOpen(); }

std::string ScreenText(const std::string& ansi) { return Cp1251ToTerminal(ansi); }
