// Big-endian numbers inside handheld records: the handheld stores every multi-byte number most
// significant byte first. Every read and write checks its bytes against the buffer first.
#pragma once

#include <cstddef>
#include <cstdint>

// The value whose `bytes` low bytes are the `bytes` low bytes of `value` in reverse order.
// A count outside 1..8 throws Exception "Illegal # Bytes for ReverseVal".
uint64_t ReverseVal(int bytes, uint64_t value);

// The `width` (1..8) bytes at `offset` as an unsigned big-endian number; throws EPalmDBError
// "A mapped field went beyond the end of the physical record structure" when they do not fit.
uint64_t ReadBigEndian(const uint8_t* data, size_t size, size_t offset, int width);

// Stores the `width` low bytes of `value` big-endian at `offset`; throws Exception
// "LocalToRemoteRecord: Record went beyond it's limits" when they do not fit.
void WriteBigEndian(uint8_t* data, size_t size, size_t offset, int width, uint64_t value);
