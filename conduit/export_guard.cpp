#include "conduit/export_guard.h"

#include "conduit/desktop_libraries.h"
#include "core/cp1251.h"

void ShowExportError(const char* message) noexcept {
  try {
    MessageBox(message, Ansi("Ошибка"), MB_OK | MB_ICONERROR);
  } catch (...) {
    // The box is a courtesy; the entry point's result still tells the host what happened.
  }
}
