#include "palmdb/palm_cell.h"

#include <cmath>

#include "core/text_conversions.h"

void TPalmCell::Clear() {
  kind_ = TKind::Text;
  text_.clear();
}

void TPalmCell::SetText(std::string_view text) {
  kind_ = TKind::Text;
  text_.assign(text);
}

void TPalmCell::SetText(std::string&& text) {
  kind_ = TKind::Text;
  text_ = std::move(text);
}

void TPalmCell::SetInteger(int64_t value) {
  kind_ = TKind::Integer;
  integer_ = value;
}

void TPalmCell::SetFloat(double value, const TFormatSettings& formats) {
  if (!std::isfinite(value)) {
    SetText(FloatToStr(value, formats));
    return;
  }
  kind_ = TKind::Float;
  float_ = value;
}

void TPalmCell::SetDate(TDateTime value) {
  kind_ = TKind::Date;
  date_ = value;
}

std::optional<double> TPalmCell::RoundedFloat() const {
  const double rounded = RoundToGeneralDigits(float_);
  if (!std::isfinite(rounded)) return std::nullopt;
  return rounded;
}

std::string TPalmCell::Text(const TFormatSettings& formats) const {
  switch (kind_) {
    case TKind::Integer:
      return IntToStr(integer_);
    case TKind::Float:
      return FloatToStr(float_, formats);
    case TKind::Date:
      return DateTimeToStr(date_, formats);
    case TKind::Text:
      break;
  }
  return text_;
}
