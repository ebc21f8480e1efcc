#include "palmdb/palm_cell.h"

#include <cmath>

#include "core/text_conversions.h"

void TPalmCell::SetNonFiniteFloat(double value, const TFormatSettings& formats) { SetText(FloatToStr(value, formats)); }

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
