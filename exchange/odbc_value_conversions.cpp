#include "exchange/odbc_value_conversions.h"

#include <cmath>
#include <limits>

#include "core/collation.h"
#include "core/exceptions.h"
#include "core/text_conversions.h"

namespace {

bool IsTextType(TOdbcDataType type) {
  return type == TOdbcDataType::ftString || type == TOdbcDataType::ftMemo || type == TOdbcDataType::ftBlob ||
         type == TOdbcDataType::ftUnknown;
}

bool IsIntegerType(TOdbcDataType type) {
  return type == TOdbcDataType::ftSmallint || type == TOdbcDataType::ftWord || type == TOdbcDataType::ftInteger ||
         type == TOdbcDataType::ftAutoInc;
}

bool IsFloatType(TOdbcDataType type) {
  return type == TOdbcDataType::ftFloat || type == TOdbcDataType::ftCurrency || type == TOdbcDataType::ftBCD;
}

bool IsDateTimeType(TOdbcDataType type) {
  return type == TOdbcDataType::ftDate || type == TOdbcDataType::ftTime || type == TOdbcDataType::ftDateTime;
}

int64_t RoundToInteger(double value) {
  const double rounded = std::nearbyint(value);
  if (!(std::fabs(rounded) < 9.2e18)) throw EConvertError("Value out of the integer range");
  return static_cast<int64_t>(rounded);
}

bool TextAsBoolean(const std::string& text) {
  if (SameText(text, "True")) return true;
  if (SameText(text, "False") || text.empty()) return false;
  return StrToInt64(text) != 0;
}

TDateTime TextAsDateTime(const std::string& text, TOdbcDataType type) {
  if (type == TOdbcDataType::ftDate) return StrToDate(text);
  if (type == TOdbcDataType::ftTime) return StrToTime(text);
  return StrToDateTime(text);
}

}  // namespace

TOdbcValue ConvertForType(const TOdbcValue& value, TOdbcDataType type) {
  if (IsNull(value)) return value;
  if (IsTextType(type)) return ValueAsString(value, type);
  if (IsIntegerType(type)) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      if (text->empty()) return std::monostate{};
      return StrToInt64(*text);
    }
    if (const auto* real = std::get_if<double>(&value)) return RoundToInteger(*real);
    if (const auto* flag = std::get_if<bool>(&value)) return int64_t{*flag ? 1 : 0};
    if (const auto* stamp = std::get_if<TDateTime>(&value)) return RoundToInteger(stamp->Value);
    return value;
  }
  if (IsFloatType(type)) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      if (text->empty()) return std::monostate{};
      return StrToFloat(*text);
    }
    return ValueAsFloat(value);
  }
  if (IsDateTimeType(type)) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      if (text->empty()) return std::monostate{};
      return TextAsDateTime(*text, type);
    }
    return ValueAsDateTime(value);
  }
  if (const auto* text = std::get_if<std::string>(&value)) return TextAsBoolean(*text);
  return ValueAsFloat(value) != 0.0;
}

int32_t ValueAsInteger(const TOdbcValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return text->empty() ? 0 : StrToInt(*text);
  const int64_t integer =
      std::get<int64_t>(ConvertForType(IsNull(value) ? TOdbcValue{int64_t{0}} : value, TOdbcDataType::ftInteger));
  if (integer < std::numeric_limits<int32_t>::min() || integer > std::numeric_limits<int32_t>::max())
    throw EConvertError("Value out of the integer range");
  return static_cast<int32_t>(integer);
}

double ValueAsFloat(const TOdbcValue& value) {
  if (const auto* integer = std::get_if<int64_t>(&value)) return static_cast<double>(*integer);
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1.0 : 0.0;
  if (const auto* stamp = std::get_if<TDateTime>(&value)) return stamp->Value;
  if (const auto* text = std::get_if<std::string>(&value)) return text->empty() ? 0.0 : StrToFloat(*text);
  return 0.0;
}

TDateTime ValueAsDateTime(const TOdbcValue& value) {
  if (const auto* stamp = std::get_if<TDateTime>(&value)) return *stamp;
  if (const auto* text = std::get_if<std::string>(&value))
    return text->empty() ? TDateTime{} : TextAsDateTime(*text, TOdbcDataType::ftDateTime);
  return TDateTime{ValueAsFloat(value)};
}

std::string ValueAsString(const TOdbcValue& value, TOdbcDataType type) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<int64_t>(&value)) return IntToStr(*integer);
  if (const auto* real = std::get_if<double>(&value)) return FloatToStr(*real);
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "True" : "False";
  if (const auto* stamp = std::get_if<TDateTime>(&value)) {
    if (type == TOdbcDataType::ftDate) return DateToStr(*stamp);
    if (type == TOdbcDataType::ftTime) return TimeToStr(*stamp);
    return DateTimeToStr(*stamp);
  }
  return "";
}
