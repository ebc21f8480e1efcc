// Fixed-width unsigned numbers inside byte buffers, most significant byte first (the handheld's
// order) or least significant first (the host's records). Every access checks its bytes first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/exceptions.h"

// An access to bytes outside the buffer, or of a width outside 1..8.
class EByteRangeError : public Exception {
 public:
  using Exception::Exception;
};

// True when `width` bytes at `offset` lie inside a buffer of `size` bytes.
constexpr bool BytesFit(size_t size, size_t offset, size_t width) { return offset <= size && width <= size - offset; }

// The bytes of a string, as the byte helpers take them.
inline std::span<const uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Throws the EByteRangeError of an access that does not fit (see below).
[[noreturn, gnu::cold]] void RefuseByteAccess(const char* what, size_t size, size_t offset, size_t width);

inline void CheckByteAccess(const char* what, size_t size, size_t offset, size_t width) {
  if (width < 1 || width > 8 || !BytesFit(size, offset, width)) [[unlikely]]
    RefuseByteAccess(what, size, offset, width);
}

// The `width` (1..8) bytes at `offset` as an unsigned number; throws EByteRangeError
// "read of <width> bytes at offset <offset> past the end of <size> bytes" when they do not fit.
inline uint64_t ReadBigEndian(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  CheckByteAccess("read", bytes.size(), offset, width);
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value = (value << 8) | bytes[offset + i];
  return value;
}
inline uint64_t ReadLittleEndian(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  CheckByteAccess("read", bytes.size(), offset, width);
  uint64_t value = 0;
  for (size_t i = width; i-- > 0;) value = (value << 8) | bytes[offset + i];
  return value;
}

// Stores the `width` (1..8) low bytes of `value` at `offset`; throws EByteRangeError
// "write of <width> bytes at offset <offset> past the end of <size> bytes" when they do not fit.
inline void WriteBigEndian(std::span<uint8_t> bytes, size_t offset, size_t width, uint64_t value) {
  CheckByteAccess("write", bytes.size(), offset, width);
  for (size_t i = width; i-- > 0; value >>= 8) bytes[offset + i] = static_cast<uint8_t>(value);
}
inline void WriteLittleEndian(std::span<uint8_t> bytes, size_t offset, size_t width, uint64_t value) {
  CheckByteAccess("write", bytes.size(), offset, width);
  for (size_t i = 0; i < width; ++i, value >>= 8) bytes[offset + i] = static_cast<uint8_t>(value);
}

inline uint32_t ReadLittle32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(ReadLittleEndian(bytes, offset, 4));
}
inline void WriteLittle32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
  WriteLittleEndian(bytes, offset, 4, value);
}
