#include "palmdb/big_endian.h"

#include "palmdb/palm_errors.h"
#include "palmdb/record_errors.h"

uint64_t ReverseVal(int bytes, uint64_t value) {
  if (bytes < 1 || bytes > 8) throw Exception("Illegal # Bytes for ReverseVal");
  uint64_t result = 0;
  for (int i = 0; i < bytes; ++i) {
    result = (result << 8) | (value & 0xFF);
    value >>= 8;
  }
  return result;
}

uint64_t ReadBigEndian(const uint8_t* data, size_t size, size_t offset, int width) {
  if (width < 1 || width > 8 || offset > size || size - offset < static_cast<size_t>(width)) {
    throw EPalmDBError(kFieldBeyondRecord);
  }
  uint64_t first_byte_lowest = 0;
  for (int i = 0; i < width; ++i) first_byte_lowest |= static_cast<uint64_t>(data[offset + i]) << (8 * i);
  return ReverseVal(width, first_byte_lowest);
}

void WriteBigEndian(uint8_t* data, size_t size, size_t offset, int width, uint64_t value) {
  if (width < 1 || width > 8 || offset > size || size - offset < static_cast<size_t>(width)) {
    throw Exception(kRecordBeyondLimits);
  }
  uint64_t first_byte_lowest = ReverseVal(width, value);
  for (int i = 0; i < width; ++i) {
    data[offset + i] = static_cast<uint8_t>(first_byte_lowest & 0xFF);
    first_byte_lowest >>= 8;
  }
}
