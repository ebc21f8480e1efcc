// What every exported SQL* function does at the C boundary: one guard turning any exception into
// SQL_ERROR with a diagnostic record, and the copying of texts into the caller's buffers.
#pragma once

#include <new>
#include <string_view>

#include "odbc/driver_error.h"
#include "odbc/handles.h"

// Runs body (returning SQLRETURN) for handle, after clearing the handle's diagnostics.
template <typename Body>
SQLRETURN Guarded(Handle* handle, Body&& body) noexcept {
  if (handle == nullptr) return SQL_INVALID_HANDLE;
  try {
    handle->diagnostics.Clear();
    return body();
  } catch (const DriverError& error) {
    handle->diagnostics.Add(error.SqlState(), error.what());
  } catch (const std::bad_alloc&) {
    handle->diagnostics.Add("HY001", "Memory allocation error");
  } catch (const std::exception& error) {
    handle->diagnostics.Add("HY000", error.what());
  } catch (...) {
    handle->diagnostics.Add("HY000", "Unexpected failure inside the driver");
  }
  return SQL_ERROR;
}

// Copies text with its terminating NUL into a buffer of `capacity` bytes, reporting the full
// length; true when it had to be cut.
bool CopyText(std::string_view text, void* buffer, SQLLEN capacity, SQLSMALLINT* length);
bool CopyText(std::string_view text, void* buffer, SQLLEN capacity, SQLINTEGER* length);

// SQL_SUCCESS, or SQL_SUCCESS_WITH_INFO with an 01004 record when the text was cut.
SQLRETURN TextResult(Handle* handle, bool truncated);

// The text passed with an SQL_NTS or explicit length.
std::string_view InputText(const SQLCHAR* text, SQLINTEGER length);
