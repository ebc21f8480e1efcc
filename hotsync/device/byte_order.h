// Big-endian numbers of handheld database files, read from and appended to byte strings.
// Reads go through the checked helpers of core/byte_order.h and throw EByteRangeError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_order.h"

inline uint8_t ReadU8(std::string_view bytes, size_t offset) {
  return static_cast<uint8_t>(ReadBigEndian(AsBytes(bytes), offset, 1));
}
inline uint16_t ReadU16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(ReadBigEndian(AsBytes(bytes), offset, 2));
}
inline uint32_t ReadU24(std::string_view bytes, size_t offset) {
  return static_cast<uint32_t>(ReadBigEndian(AsBytes(bytes), offset, 3));
}
inline uint32_t ReadU32(std::string_view bytes, size_t offset) {
  return static_cast<uint32_t>(ReadBigEndian(AsBytes(bytes), offset, 4));
}

inline void AppendBigEndian(std::string& out, uint32_t value, size_t width) {
  const size_t start = out.size();
  out.resize(start + width);
  WriteBigEndian(std::span(reinterpret_cast<uint8_t*>(out.data()), out.size()), start, width, value);
}

inline void AppendU8(std::string& out, uint8_t value) { AppendBigEndian(out, value, 1); }
inline void AppendU16(std::string& out, uint16_t value) { AppendBigEndian(out, value, 2); }
inline void AppendU24(std::string& out, uint32_t value) { AppendBigEndian(out, value, 3); }
inline void AppendU32(std::string& out, uint32_t value) { AppendBigEndian(out, value, 4); }
