// Big-endian reads and writes over byte strings, the byte order of handheld database files.
// Reads check the range they touch and throw Exception when it lies outside the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/exceptions.h"

inline void CheckRange(std::string_view bytes, size_t offset, size_t width) {
  if (offset > bytes.size() || width > bytes.size() - offset)
    throw Exception("read of " + std::to_string(width) + " bytes at offset " + std::to_string(offset) +
                    " past the end of " + std::to_string(bytes.size()) + " bytes");
}

inline uint32_t ReadBigEndian(std::string_view bytes, size_t offset, size_t width) {
  CheckRange(bytes, offset, width);
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

inline uint8_t ReadU8(std::string_view bytes, size_t offset) {
  return static_cast<uint8_t>(ReadBigEndian(bytes, offset, 1));
}
inline uint16_t ReadU16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(ReadBigEndian(bytes, offset, 2));
}
inline uint32_t ReadU24(std::string_view bytes, size_t offset) { return ReadBigEndian(bytes, offset, 3); }
inline uint32_t ReadU32(std::string_view bytes, size_t offset) { return ReadBigEndian(bytes, offset, 4); }

inline void AppendBigEndian(std::string& out, uint32_t value, size_t width) {
  for (size_t i = width; i-- > 0;) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void AppendU8(std::string& out, uint8_t value) { AppendBigEndian(out, value, 1); }
inline void AppendU16(std::string& out, uint16_t value) { AppendBigEndian(out, value, 2); }
inline void AppendU24(std::string& out, uint32_t value) { AppendBigEndian(out, value, 3); }
inline void AppendU32(std::string& out, uint32_t value) { AppendBigEndian(out, value, 4); }
