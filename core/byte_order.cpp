#include "core/byte_order.h"

#include <string>

namespace {

enum class TByteOrder { MostSignificantFirst, LeastSignificantFirst };

[[noreturn, gnu::cold, gnu::noinline]] void RefuseAccess(const char* what, size_t size, size_t offset, size_t width) {
  if (width < 1 || width > 8) throw EByteRangeError("a number of " + std::to_string(width) + " bytes");
  throw EByteRangeError(std::string(what) + " of " + std::to_string(width) + " bytes at offset " +
                        std::to_string(offset) + " past the end of " + std::to_string(size) + " bytes");
}

inline void CheckAccess(const char* what, size_t size, size_t offset, size_t width) {
  if (width < 1 || width > 8 || !BytesFit(size, offset, width)) [[unlikely]]
    RefuseAccess(what, size, offset, width);
}

// The position of the byte with significance `rank` (0: the lowest) among `width` bytes.
size_t BytePosition(TByteOrder order, size_t width, size_t rank) {
  return order == TByteOrder::LeastSignificantFirst ? rank : width - 1 - rank;
}

uint64_t Read(std::span<const uint8_t> bytes, size_t offset, size_t width, TByteOrder order) {
  CheckAccess("read", bytes.size(), offset, width);
  uint64_t value = 0;
  for (size_t rank = 0; rank < width; ++rank) {
    value |= uint64_t{bytes[offset + BytePosition(order, width, rank)]} << (8 * rank);
  }
  return value;
}

void Write(std::span<uint8_t> bytes, size_t offset, size_t width, uint64_t value, TByteOrder order) {
  CheckAccess("write", bytes.size(), offset, width);
  for (size_t rank = 0; rank < width; ++rank) {
    bytes[offset + BytePosition(order, width, rank)] = static_cast<uint8_t>(value >> (8 * rank));
  }
}

}  // namespace

uint64_t ReadBigEndian(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  return Read(bytes, offset, width, TByteOrder::MostSignificantFirst);
}

uint64_t ReadLittleEndian(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  return Read(bytes, offset, width, TByteOrder::LeastSignificantFirst);
}

void WriteBigEndian(std::span<uint8_t> bytes, size_t offset, size_t width, uint64_t value) {
  Write(bytes, offset, width, value, TByteOrder::MostSignificantFirst);
}

void WriteLittleEndian(std::span<uint8_t> bytes, size_t offset, size_t width, uint64_t value) {
  Write(bytes, offset, width, value, TByteOrder::LeastSignificantFirst);
}
