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

namespace {

TUnhandledExceptionHandler& UnhandledExceptionHandler() {
  static TUnhandledExceptionHandler handler;
  return handler;
}

}  // namespace

void SetUnhandledExceptionHandler(TUnhandledExceptionHandler handler) {
  UnhandledExceptionHandler() = std::move(handler);
}

void ReportUnhandledException(std::exception_ptr error) noexcept {
  try {
    if (UnhandledExceptionHandler()) UnhandledExceptionHandler()(error);
  } catch (...) {
    // The handler is a courtesy; the entry point's result still tells the host what happened.
  }
}
