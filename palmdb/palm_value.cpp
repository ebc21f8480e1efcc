#include "palmdb/palm_value.h"

#include "core/exceptions.h"
#include "core/text_conversions.h"

std::string PalmValueText(const TPalmValue& value, const TFormatSettings& formats) {
  struct Visitor {
    const TFormatSettings& formats;
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(int32_t number) const { return IntToStr(number); }
    std::string operator()(double number) const { return FloatToStr(number, formats); }
    std::string operator()(TDateTime date_time) const { return DateTimeToStr(date_time, formats); }
    std::string operator()(const TPalmBytes& bytes) const { return std::string(bytes.begin(), bytes.end()); }
  };
  return std::visit(Visitor{formats}, value);
}

TDateTime ParsePalmDateTime(const std::string& text, const TFormatSettings& formats) {
  if (const auto parsed = TryStrToDateTime(text, formats)) return *parsed;
  if (const auto days = TryStrToFloat(text, formats)) return TDateTime{*days};
  return StrToDateTime(text, formats);
}
