#include "exchange/packet_values.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/cp1251.h"
#include "core/float_format.h"
#include "core/parse_integer.h"
#include "core/text_conversions.h"
#include "core/text_pieces.h"

namespace {

// The digits of a fixed-width unsigned field, or -1.
int Digits(std::string_view text) {
  if (text.empty()) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<TDateTime> ParseTimePart(std::string_view text) {
  // hh:nn:sssss (seconds * 1000 + milliseconds, 1 to 5 digits)
  if (text.size() < 7 || text.size() > 11 || text[2] != ':' || text[5] != ':') return std::nullopt;
  const int hour = Digits(text.substr(0, 2));
  const int minute = Digits(text.substr(3, 2));
  const int millis = Digits(text.substr(6));
  TDateTime time;
  if (hour < 0 || minute < 0 || millis < 0 || !TryEncodeTime(hour, minute, millis / 1000, millis % 1000, time)) {
    return std::nullopt;
  }
  return time;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (code & 0x3F));
}

std::optional<uint32_t> ParseCharacterReference(std::string_view body) {
  // body is what stands between "&#" and ';'
  int base = 10;
  if (!body.empty() && (body.front() == 'x' || body.front() == 'X')) {
    base = 16;
    body.remove_prefix(1);
  }
  const std::optional<uint32_t> parsed = ParseInteger<uint32_t>(body, base);
  if (!parsed) return std::nullopt;
  const uint32_t code = *parsed;
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return code;
}

// The entity written for a character a packet value may not hold as it is; none for the others.
std::string_view EntityFor(char c) {
  switch (c) {
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '&':
      return "&amp;";
    case '\'':
      return "&apos;";
    case '"':
      return "&quot;";
    case '\r':
      return "&#013;";
    case '\n':
      return "&#010;";
    case '\t':
      return "&#009;";
    case '\\':
      return "&#092;";
    default:
      return {};
  }
}

}  // namespace

constexpr TFloatFormat kPacketFloat{16, '.', -5, 15};

std::optional<std::string> FormatPacketFloat(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  return FormatFloat(value, kPacketFloat);
}

char* WritePacketFloat(char* out, double value) {
  if (!std::isfinite(value)) return nullptr;
  return out + WriteFloat(out, value, kPacketFloat);
}

std::optional<double> ParsePacketFloat(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (const std::optional<double> value = ParseShortDecimal(text, '.')) return value;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int32_t> ParsePacketInteger(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  return ParseInteger<int32_t>(text);
}

std::string FormatPacketDateTime(TDateTime value) {
  char text[kPacketDateTimeRoom];
  return std::string(text, WritePacketDateTime(text, value));
}

char* WritePacketDateTime(char* out, TDateTime value) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  out = WritePaddedInteger(out, year, 4);
  out = WritePaddedInteger(out, month, 2);
  out = WritePaddedInteger(out, day, 2);
  if (!HasTimeOfDay(value)) return out;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeTime(value, hour, minute, second, millisecond);
  *out++ = 'T';
  out = WritePaddedInteger(out, hour, 2);
  *out++ = ':';
  out = WritePaddedInteger(out, minute, 2);
  *out++ = ':';
  return WritePaddedInteger(out, second * 1000 + millisecond, 5);
}

std::optional<TDateTime> ParsePacketDateTime(std::string_view text) {
  text = Trim(text);
  if (text.size() >= 3 && text[2] == ':') return ParseTimePart(text);
  if (text.size() < 8) return std::nullopt;
  const int year = Digits(text.substr(0, 4));
  const int month = Digits(text.substr(4, 2));
  const int day = Digits(text.substr(6, 2));
  TDateTime date;
  if (year < 0 || month < 0 || day < 0 || !TryEncodeDate(year, month, day, date)) return std::nullopt;
  if (text.size() == 8) return date;
  if (text[8] != 'T') return std::nullopt;
  const std::optional<TDateTime> time = ParseTimePart(text.substr(9));
  if (!time) return std::nullopt;
  return TDateTime{date.Value >= 0 ? date.Value + time->Value : date.Value - time->Value};
}

char* WriteEscaped(char* out, std::string_view text) {
  // The runs between the characters that need an entity go in whole.
  size_t run = 0;
  const auto copy = [&out](std::string_view piece) {
    if (piece.empty()) return;
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view entity = EntityFor(text[i]);
    if (entity.empty()) continue;
    copy(text.substr(run, i - run));
    copy(entity);
    run = i + 1;
  }
  copy(text.substr(run));
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string scratch;
  const std::optional<std::string_view> unescaped = UnescapeView(text, scratch);
  if (!unescaped) return std::nullopt;
  return std::string(*unescaped);
}

std::optional<std::string_view> UnescapeView(std::string_view text, std::string& scratch) {
  if (text.find('&') == std::string_view::npos) return text;
  std::string& out = scratch;
  out.clear();
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const size_t amp = text.find('&', at);
    if (amp == std::string_view::npos) {
      out.append(text.substr(at));
      break;
    }
    out.append(text.substr(at, amp - at));
    const size_t semicolon = text.find(';', amp);
    if (semicolon == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    if (name == "lt") {
      out += '<';
    } else if (name == "gt") {
      out += '>';
    } else if (name == "amp") {
      out += '&';
    } else if (name == "apos") {
      out += '\'';
    } else if (name == "quot") {
      out += '"';
    } else if (!name.empty() && name.front() == '#') {
      const std::optional<uint32_t> code = ParseCharacterReference(name.substr(1));
      if (!code) return std::nullopt;
      if (*code < 0x80) {
        out += static_cast<char>(*code);
      } else {
        std::string utf8;
        AppendUtf8(utf8, *code);
        out += Utf8ToCp1251(utf8);
      }
    } else {
      return std::nullopt;
    }
    at = semicolon + 1;
  }
  return std::string_view(out);
}
