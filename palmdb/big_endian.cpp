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

void RefuseRecordRead() { throw EPalmDBError(kFieldBeyondRecord); }

void RefuseRecordWrite() { throw Exception(kRecordBeyondLimits); }
