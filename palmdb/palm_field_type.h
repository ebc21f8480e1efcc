// The kinds of handheld fields and the width each kind occupies in a record.
// Ordinals 0..10 are fixed: they are how a kind is stored in a table's configuration.
#pragma once

#include <cstdint>

enum TpfgPalmFieldType : uint8_t {
  ptByte,      // 1 byte, unsigned
  ptWord,      // 2 bytes, unsigned, big-endian
  ptDate,      // 2 bytes, packed date word
  ptTime,      // 2 bytes: hours, minutes; FF FF = no time
  ptDateTime,  // 14 bytes: second, minute, hour, day, month, year, weekday (signed 16-bit each)
  ptLong,      // 4 bytes, signed, big-endian
  ptString,    // Size 0: text and a zero byte; Size > 0: exactly Size bytes
  ptInt64,     // 8 bytes, signed, big-endian
  ptSingle,    // 4 bytes, IEEE binary32, big-endian
  ptDouble,    // 8 bytes, IEEE binary64, big-endian
  ptCustom     // exactly Size raw bytes
};

// Width in bytes of a kind; -1 for the kinds whose width is the field's Size.
inline constexpr int kPalmFieldTypeWidths[] = {1, 2, 2, 2, 14, 4, -1, 8, 4, 8, -1};
constexpr int PalmFieldTypeWidth(TpfgPalmFieldType type) { return type <= ptCustom ? kPalmFieldTypeWidths[type] : -1; }
