#include "exchange/txt_field.h"

#include <charconv>
#include <cmath>

#include "core/exceptions.h"
#include "core/text_conversions.h"
#include "exchange/currency.h"

namespace {

// The largest magnitude a 64-bit fixed-point amount with four decimal places holds.
constexpr double kMaxCurrency = 922337203685477.0;

}  // namespace

int32_t TcsTXTField::AsInteger() const { return StrToInt(value_); }

double TcsTXTField::AsFloat() const { return StrToFloat(value_); }

void TcsTXTField::SetAsFloat(double value) { value_ = std::string_view(number_, WriteFloatToStr(number_, value)); }

double TcsTXTField::AsCurrency() const {
  const double value = StrToFloat(value_);
  if (!(std::fabs(value) <= kMaxCurrency)) {
    throw EConvertError("'" + std::string(value_) + "' is not a valid floating point value");
  }
  return RoundToCurrency(value);
}

TDateTime TcsTXTField::AsDateTime() const { return StrToDateTime(value_); }

void TcsTXTField::SetAsDateTime(TDateTime value) { SetAsString(FormatDdMmYyyy(DateOf(value))); }
