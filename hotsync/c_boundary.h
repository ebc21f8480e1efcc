// The one wrapper where a desktop library's C entry point starts: runs the body, and turns any
// escaping exception into the given result code (telling the reason on stderr, with the library's name).
#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

void ReportBoundaryError(std::string_view library, std::string_view reason) noexcept;

template <typename Result, typename Body>
Result GuardedCall(std::string_view library, Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    ReportBoundaryError(library, error.what());
  } catch (...) {
    ReportBoundaryError(library, "unknown error");
  }
  return failure;
}

// Copies text and a terminating zero into buffer, whose capacity is *size. On success *size
// becomes the text's length and the result is true; when it does not fit (or buffer or size is
// null) nothing is copied, *size (if given) becomes the capacity needed, and the result is false.
bool CopyTextToBuffer(std::string_view text, char* buffer, int32_t* size) noexcept;
