// The one wrapper at the conduit's C boundary: runs an entry point's body and turns every
// exception into that entry point's result code, so nothing ever escapes to the host.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>

#include "conduit/sync_error.h"

// What an entry point makes of an escaped EPalmSyncError.
enum class SyncErrorResult {
  Failure,    // the entry point's failure code, like any other error
  Code,       // the error's own code
  ShownCode,  // the error's message in a message box, then its code
};

// Shows an escaped error's message in a message box; never throws.
void ShowExportError(const char* message) noexcept;

// The library-wide handler of exceptions that escaped an entry point (the library's top file
// installs it; by default nobody hears of them). Reporting never throws.
using TUnhandledExceptionHandler = std::function<void(std::exception_ptr error)>;
void SetUnhandledExceptionHandler(TUnhandledExceptionHandler handler);
void ReportUnhandledException(std::exception_ptr error) noexcept;

// body's result; failure for an exception, or what sync_errors says for an EPalmSyncError.
template <typename Body>
int32_t Guarded(int32_t failure, SyncErrorResult sync_errors, Body&& body) noexcept {
  try {
    return body();
  } catch (const EPalmSyncError& error) {
    if (sync_errors == SyncErrorResult::Failure) return failure;
    if (sync_errors == SyncErrorResult::ShownCode) ShowExportError(error.what());
    return error.ErrorCode();
  } catch (...) {
    ReportUnhandledException(std::current_exception());
    return failure;
  }
}
