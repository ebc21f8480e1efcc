// The one wrapper at the conduit's C boundary: runs an entry point's body and turns every
// exception into that entry point's result code, so nothing ever escapes to the host.
#pragma once

#include <cstdint>

#include "conduit/sync_error.h"

// What an entry point makes of an escaped EPalmSyncError.
enum class SyncErrorResult {
  Failure,    // the entry point's failure code, like any other error
  Code,       // the error's own code
  ShownCode,  // the error's message in a message box, then its code
};

// Shows an escaped error's message in a message box; never throws.
void ShowExportError(const char* message) noexcept;

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
    return failure;
  }
}
