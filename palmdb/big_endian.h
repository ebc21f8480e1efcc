// Big-endian numbers inside handheld records: the handheld stores every multi-byte number most
// significant byte first. Every read and write checks its bytes against the buffer first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_order.h"

// The value whose `bytes` low bytes are the `bytes` low bytes of `value` in reverse order.
// A count outside 1..8 throws Exception "Illegal # Bytes for ReverseVal".
uint64_t ReverseVal(int bytes, uint64_t value);

// Throw the errors below; kept out of line, away from the packing loops.
[[noreturn, gnu::cold]] void RefuseRecordRead();
[[noreturn, gnu::cold]] void RefuseRecordWrite();

// The `width` (1..8) bytes at `offset` as an unsigned big-endian number; throws EPalmDBError
// "A mapped field went beyond the end of the physical record structure" when they do not fit.
inline uint64_t ReadBigEndian(const uint8_t* data, size_t size, size_t offset, int width) {
  if (width < 1 || width > 8 || !BytesFit(size, offset, static_cast<size_t>(width))) RefuseRecordRead();
  return ReadBigEndian(std::span(data, size), offset, static_cast<size_t>(width));
}

// Stores the `width` low bytes of `value` big-endian at `offset`; throws Exception
// "LocalToRemoteRecord: Record went beyond it's limits" when they do not fit.
inline void WriteBigEndian(uint8_t* data, size_t size, size_t offset, int width, uint64_t value) {
  if (width < 1 || width > 8 || !BytesFit(size, offset, static_cast<size_t>(width))) RefuseRecordWrite();
  WriteBigEndian(std::span(data, size), offset, static_cast<size_t>(width), value);
}
