#include "odbc/c_boundary.h"

#include <cstring>

namespace {

template <typename Length>
bool CopyTextTo(std::string_view text, void* buffer, SQLLEN capacity, Length* length) {
  if (length != nullptr) *length = static_cast<Length>(text.size());
  if (buffer == nullptr || capacity <= 0) return buffer != nullptr && !text.empty();
  const size_t count = std::min(text.size(), static_cast<size_t>(capacity) - 1);
  std::memcpy(buffer, text.data(), count);
  static_cast<char*>(buffer)[count] = '\0';
  return count < text.size();
}

}  // namespace

bool CopyText(std::string_view text, void* buffer, SQLLEN capacity, SQLSMALLINT* length) {
  return CopyTextTo(text, buffer, capacity, length);
}

bool CopyText(std::string_view text, void* buffer, SQLLEN capacity, SQLINTEGER* length) {
  return CopyTextTo(text, buffer, capacity, length);
}

SQLRETURN TextResult(Handle* handle, bool truncated) {
  if (!truncated) return SQL_SUCCESS;
  handle->diagnostics.Add("01004", "String data, right truncated");
  return SQL_SUCCESS_WITH_INFO;
}

std::string_view InputText(const SQLCHAR* text, SQLINTEGER length) {
  if (text == nullptr) return {};
  const char* chars = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS) return std::string_view(chars);
  if (length < 0) throw DriverError("HY090", "Invalid string or buffer length");
  return std::string_view(chars, static_cast<size_t>(length));
}
