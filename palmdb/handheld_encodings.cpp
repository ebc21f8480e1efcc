#include "palmdb/handheld_encodings.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/exceptions.h"
#include "core/text_conversions.h"
#include "palmdb/big_endian.h"
#include "palmdb/palm_errors.h"

namespace {

constexpr int kFirstDateYear = 1904;
constexpr int kLastDateYear = 1904 + 127;

// The desktop keeps the time of day as a positive fraction also for days before day 0.
TDateTime CombineDateAndTime(TDateTime date, TDateTime time) {
  return TDateTime{date.Value < 0 ? date.Value - time.Value : date.Value + time.Value};
}

int16_t Signed16(const uint8_t* data, size_t size, size_t offset) {
  return static_cast<int16_t>(static_cast<uint16_t>(ReadBigEndian(data, size, offset, 2)));
}

std::string DecodeDateTime(const uint8_t* data, size_t size, const TFormatSettings& formats) {
  const int second = Signed16(data, size, 0), minute = Signed16(data, size, 2), hour = Signed16(data, size, 4);
  const int day = Signed16(data, size, 6), month = Signed16(data, size, 8), year = Signed16(data, size, 10);
  if (day == 0 && month == 0 && year == 0) return DateTimeToStr(TDateTime{}, formats);
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time)) return "0";
  return DateTimeToStr(CombineDateAndTime(date, time), formats);
}

std::string DecodeFloat(double value, const TFormatSettings& formats) {
  // A bit pattern that is no finite number reads like any other unreadable value.
  return std::isfinite(value) ? FloatToStr(value, formats) : "0";
}

void EncodeDateTime(std::string_view text, uint8_t* out, size_t size, const TFormatSettings& formats) {
  const TDateTime value = text.empty() ? TDateTime{} : StrToDateTime(text, formats);
  std::memset(out, 0, size);
  if (value.Value == 0.0) return;
  int year, month, day, hour, minute, second, millisecond;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, millisecond);
  const int parts[] = {second, minute, hour, day, month, year, DayOfWeekSundayZero(value)};
  for (size_t i = 0; i < 7; ++i) WriteBigEndian(out, size, i * 2, 2, static_cast<uint16_t>(parts[i]));
}

void EncodeTime(std::string_view text, uint8_t* out, size_t size, const TFormatSettings& formats) {
  if (text.empty()) {
    WriteBigEndian(out, size, 0, 2, 0xFFFF);
    return;
  }
  int hour, minute, second, millisecond;
  DecodeTime(StrToTime(text, formats), hour, minute, second, millisecond);
  WriteBigEndian(out, size, 0, 1, static_cast<uint8_t>(hour));
  WriteBigEndian(out, size, 1, 1, static_cast<uint8_t>(minute));
}

}  // namespace

bool TryPalmDateWordToDate(uint16_t word, TDateTime& date) {
  return TryEncodeDate((word >> 9) + kFirstDateYear, (word >> 5) & 15, word & 31, date);
}

uint16_t DateToPalmDateWord(TDateTime date) {
  if (date.Value == 0.0) return 0;
  int year, month, day;
  DecodeDate(date, year, month, day);
  if (year < kFirstDateYear || year > kLastDateYear) {
    throw EPalmDBError("The date \"" + DateToStr(date) + "\" is outside the handheld's years 1904 to 2031");
  }
  return static_cast<uint16_t>((year - kFirstDateYear) * 512 + month * 32 + day);
}

std::string DecodePalmField(TpfgPalmFieldType type, const uint8_t* data, size_t width, const TFormatSettings& formats) {
  switch (type) {
    case ptByte:
      return IntToStr(ReadBigEndian(data, width, 0, 1));
    case ptWord:
      return IntToStr(ReadBigEndian(data, width, 0, 2));
    case ptLong:
      return IntToStr(static_cast<int32_t>(ReadBigEndian(data, width, 0, 4)));
    case ptInt64:
      return IntToStr(static_cast<int64_t>(ReadBigEndian(data, width, 0, 8)));
    case ptSingle:
      return DecodeFloat(std::bit_cast<float>(static_cast<uint32_t>(ReadBigEndian(data, width, 0, 4))), formats);
    case ptDouble:
      return DecodeFloat(std::bit_cast<double>(ReadBigEndian(data, width, 0, 8)), formats);
    case ptDate: {
      TDateTime date;
      if (!TryPalmDateWordToDate(static_cast<uint16_t>(ReadBigEndian(data, width, 0, 2)), date)) return "0";
      return DateToStr(date, formats);
    }
    case ptTime: {
      const auto word = static_cast<uint16_t>(ReadBigEndian(data, width, 0, 2));
      if (word == 0xFFFF) return {};
      TDateTime time;
      if (!TryEncodeTime(word >> 8, word & 0xFF, 0, 0, time)) return "0";
      return TimeToStr(time, formats);
    }
    case ptDateTime:
      return DecodeDateTime(data, width, formats);
    case ptCustom:
      return std::string(reinterpret_cast<const char*>(data), width);
    case ptString:
      break;
  }
  throw EPalmDBError("The field kind " + std::to_string(static_cast<int>(type)) + " has no fixed width");
}

void EncodePalmField(TpfgPalmFieldType type, std::string_view text, uint8_t* out, size_t width,
                     const TFormatSettings& formats) {
  switch (type) {
    case ptByte:
    case ptWord:
    case ptLong: {
      const int32_t value = text.empty() ? 0 : StrToInt(text);
      WriteBigEndian(out, width, 0, PalmFieldTypeWidth(type), static_cast<uint32_t>(value));
      return;
    }
    case ptInt64:
      WriteBigEndian(out, width, 0, 8, static_cast<uint64_t>(text.empty() ? 0 : StrToInt64(text)));
      return;
    case ptSingle: {
      const auto value = static_cast<float>(text.empty() ? 0.0 : StrToFloat(text, formats));
      WriteBigEndian(out, width, 0, 4, std::bit_cast<uint32_t>(value));
      return;
    }
    case ptDouble:
      WriteBigEndian(out, width, 0, 8, std::bit_cast<uint64_t>(text.empty() ? 0.0 : StrToFloat(text, formats)));
      return;
    case ptDate:
      WriteBigEndian(out, width, 0, 2, DateToPalmDateWord(text.empty() ? TDateTime{} : StrToDate(text, formats)));
      return;
    case ptTime:
      EncodeTime(text, out, width, formats);
      return;
    case ptDateTime:
      EncodeDateTime(text, out, width, formats);
      return;
    case ptCustom: {
      const size_t copied = text.size() < width ? text.size() : width;
      std::memcpy(out, text.data(), copied);
      std::memset(out + copied, 0, width - copied);
      return;
    }
    case ptString:
      break;
  }
  throw EPalmDBError("The field kind " + std::to_string(static_cast<int>(type)) + " has no fixed width");
}

void EncodePalmCell(TpfgPalmFieldType type, const TPalmCell& cell, uint8_t* out, size_t width,
                    const TFormatSettings& formats) {
  const int64_t integer = cell.Integer();
  const bool int32_integer = cell.Kind() == TPalmCell::TKind::Integer && integer >= INT32_MIN && integer <= INT32_MAX;
  switch (type) {
    case ptByte:
    case ptWord:
    case ptLong:
      if (!int32_integer) break;
      WriteBigEndian(out, width, 0, PalmFieldTypeWidth(type), static_cast<uint32_t>(static_cast<int32_t>(integer)));
      return;
    case ptInt64:
      if (cell.Kind() != TPalmCell::TKind::Integer) break;
      WriteBigEndian(out, width, 0, 8, static_cast<uint64_t>(integer));
      return;
    case ptSingle:
    case ptDouble: {
      double value;
      if (cell.Kind() == TPalmCell::TKind::Float) {
        const std::optional<double> rounded = cell.RoundedFloat();
        if (!rounded) break;
        value = *rounded;
      } else if (int32_integer) {
        value = static_cast<double>(integer);
      } else {
        break;
      }
      if (type == ptSingle) {
        WriteBigEndian(out, width, 0, 4, std::bit_cast<uint32_t>(static_cast<float>(value)));
      } else {
        WriteBigEndian(out, width, 0, 8, std::bit_cast<uint64_t>(value));
      }
      return;
    }
    case ptDate:
      // A date-time with a time of day is no date: the text path raises its error.
      if (cell.Kind() != TPalmCell::TKind::Date || HasTimeOfDay(cell.Date())) break;
      WriteBigEndian(out, width, 0, 2, DateToPalmDateWord(cell.Date()));
      return;
    default:
      break;
  }
  if (cell.Kind() == TPalmCell::TKind::Text) {
    EncodePalmField(type, cell.StoredText(), out, width, formats);
  } else {
    EncodePalmField(type, cell.Text(formats), out, width, formats);
  }
}
