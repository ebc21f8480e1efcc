#include "palmdb/big_endian.h"

#include "core/byte_order.h"
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
  if (width < 1 || width > 8 || !BytesFit(size, offset, static_cast<size_t>(width))) {
    throw EPalmDBError(kFieldBeyondRecord);
  }
  return ReadBigEndian(std::span(data, size), offset, static_cast<size_t>(width));
}

void WriteBigEndian(uint8_t* data, size_t size, size_t offset, int width, uint64_t value) {
  if (width < 1 || width > 8 || !BytesFit(size, offset, static_cast<size_t>(width))) {
    throw Exception(kRecordBeyondLimits);
  }
  WriteBigEndian(std::span(data, size), offset, static_cast<size_t>(width), value);
}
