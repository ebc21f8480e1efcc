#include "core/byte_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ByteOrder, ReadsBothOrdersOfTheSameBytes) {
  const std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  EXPECT_EQ(ReadBigEndian(bytes, 1, 2), 0x0203u);
  EXPECT_EQ(ReadLittleEndian(bytes, 1, 2), 0x0302u);
  EXPECT_EQ(ReadBigEndian(bytes, 0, 3), 0x010203u);
  EXPECT_EQ(ReadBigEndian(bytes, 1, 8), 0x0203040506070809ull);
  EXPECT_EQ(ReadLittleEndian(bytes, 0, 8), 0x0807060504030201ull);
  EXPECT_EQ(ReadLittle32(bytes, 0), 0x04030201u);
}

TEST(ByteOrder, WritesRoundTripAndTouchOnlyTheirBytes) {
  std::vector<uint8_t> bytes(6, 0xEE);
  WriteBigEndian(bytes, 1, 2, 0x1234);
  WriteLittle32(bytes, 2, 0xAABBCCDD);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xEE, 0x12, 0xDD, 0xCC, 0xBB, 0xAA}));
  WriteLittleEndian(bytes, 0, 6, 0x0000060504030201ull);
  EXPECT_EQ(ReadLittleEndian(bytes, 0, 6), 0x060504030201ull);
  WriteBigEndian(bytes, 0, 1, 0x1FF);
  EXPECT_EQ(bytes[0], 0xFF);
}

TEST(ByteOrder, AccessesOutsideTheBufferNameWhatWasAsked) {
  std::vector<uint8_t> bytes(3, 0);
  try {
    ReadBigEndian(bytes, 2, 2);
    FAIL() << "a read past the end must throw";
  } catch (const EByteRangeError& error) {
    EXPECT_STREQ(error.what(), "read of 2 bytes at offset 2 past the end of 3 bytes");
  }
  try {
    WriteLittle32(bytes, 0, 1);
    FAIL() << "a write past the end must throw";
  } catch (const EByteRangeError& error) {
    EXPECT_STREQ(error.what(), "write of 4 bytes at offset 0 past the end of 3 bytes");
  }
  EXPECT_THROW(ReadLittleEndian(bytes, SIZE_MAX, 1), EByteRangeError);
  EXPECT_THROW(ReadBigEndian(bytes, 0, 0), EByteRangeError);
  EXPECT_THROW(WriteBigEndian(bytes, 0, 9, 0), EByteRangeError);
  EXPECT_EQ(ReadBigEndian(AsBytes("\x01\x02"), 0, 2), 0x0102u);
}

}  // namespace
