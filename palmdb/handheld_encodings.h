// How each fixed-width field kind is stored on the handheld and read back as regional text:
// integers and IEEE numbers big-endian, the packed date word, the time bytes and the
// fourteen-byte date-time. Texts and strings are handled by the record layout itself.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/regional_formats.h"
#include "palmdb/big_endian.h"
#include "palmdb/palm_cell.h"
#include "palmdb/palm_field_type.h"

// The date word: bits 15..9 year - 1904, bits 8..5 month, bits 4..0 day.
// False for a word that names no calendar date (the word 0 among them).
bool TryPalmDateWordToDate(uint16_t word, TDateTime& date);
// The zero date-time gives 0; a date outside the years 1904..2031 throws EPalmDBError.
uint16_t DateToPalmDateWord(TDateTime date);

// The regional text of the `width` bytes at `data` for a fixed-width kind (every kind but
// ptString); "0" when the bytes name no valid number, date or time, empty for the null time.
std::string DecodePalmField(TpfgPalmFieldType type, const uint8_t* data, size_t width, const TFormatSettings& formats);

// Stores the text of a fixed-width kind (every kind but ptString) into `width` bytes at `out`.
// An empty text stores 0 (FF FF for a time). Throws EConvertError for a text that is not a
// value of the kind, EPalmDBError for a date the handheld cannot hold.
void EncodePalmField(TpfgPalmFieldType type, std::string_view text, uint8_t* out, size_t width,
                     const TFormatSettings& formats);

// DecodePalmField into a cell that keeps integers, finite floating numbers and valid dates as
// numbers: the cell's text is the text DecodePalmField gives. Defined here, since every field
// of every record read takes this way.
inline void DecodePalmCell(TpfgPalmFieldType type, const uint8_t* data, size_t width, TPalmCell& cell,
                           const TFormatSettings& formats) {
  switch (type) {
    case ptLong:  // the one signed kind narrower than its cell
      cell.SetInteger(static_cast<int32_t>(ReadBigEndian(data, width, 0, 4)));
      return;
    case ptByte:
    case ptWord:
    case ptInt64:
      cell.SetInteger(static_cast<int64_t>(ReadBigEndian(data, width, 0, PalmFieldTypeWidth(type))));
      return;
    case ptSingle:
    case ptDouble: {
      const double value = type == ptSingle
                               ? std::bit_cast<float>(static_cast<uint32_t>(ReadBigEndian(data, width, 0, 4)))
                               : std::bit_cast<double>(ReadBigEndian(data, width, 0, 8));
      if (std::isfinite(value)) {
        cell.SetFloat(value, formats);
      } else {
        cell.SetText(std::string_view("0"));
      }
      return;
    }
    case ptDate: {
      TDateTime date;
      if (TryPalmDateWordToDate(static_cast<uint16_t>(ReadBigEndian(data, width, 0, 2)), date)) {
        cell.SetDate(date);
      } else {
        cell.SetText(std::string_view("0"));
      }
      return;
    }
    default:
      cell.SetText(DecodePalmField(type, data, width, formats));
      return;
  }
}

// EncodePalmField of the cell's text, without making the text where the cell already holds a
// number of the field's kind; the same bytes and the same errors.
void EncodePalmCell(TpfgPalmFieldType type, const TPalmCell& cell, uint8_t* out, size_t width,
                    const TFormatSettings& formats);
