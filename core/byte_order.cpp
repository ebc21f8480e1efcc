#include "core/byte_order.h"

#include <string>

void RefuseByteAccess(const char* what, size_t size, size_t offset, size_t width) {
  if (width < 1 || width > 8) throw EByteRangeError("a number of " + std::to_string(width) + " bytes");
  throw EByteRangeError(std::string(what) + " of " + std::to_string(width) + " bytes at offset " +
                        std::to_string(offset) + " past the end of " + std::to_string(size) + " bytes");
}
