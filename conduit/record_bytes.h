// The 32-bit little-endian integers of the records the host hands over as raw memory
// (the name request record, the old-style configuration record).
#pragma once

#include <cstddef>
#include <cstdint>

inline uint32_t ReadLittle32(const void* record, size_t offset) {
  const auto* bytes = static_cast<const uint8_t*>(record) + offset;
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

inline void WriteLittle32(void* record, size_t offset, uint32_t value) {
  auto* bytes = static_cast<uint8_t*>(record) + offset;
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}
