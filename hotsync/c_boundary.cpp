#include "hotsync/c_boundary.h"

#include <cstdio>
#include <cstring>

void ReportBoundaryError(std::string_view library, std::string_view reason) noexcept {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(library.size()), library.data(),
               static_cast<int>(reason.size()), reason.data());
}

bool CopyTextToBuffer(std::string_view text, char* buffer, int32_t* size) noexcept {
  if (size == nullptr) return false;
  const auto needed = static_cast<int64_t>(text.size()) + 1;
  if (buffer == nullptr || *size < needed) {
    *size = static_cast<int32_t>(needed);
    return false;
  }
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  *size = static_cast<int32_t>(text.size());
  return true;
}
