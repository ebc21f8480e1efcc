// TcsTXTField: the value of one column of the text table's current line, kept as text and
// converted by the desktop's regional rules when read or written as a number or a date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"

class TcsTXTField {
 public:
  explicit TcsTXTField(std::string name) : name_(std::move(name)) {}

  const std::string& FieldName() const { return name_; }

  const std::string& AsString() const { return value_; }
  void SetAsString(std::string_view text) { value_.assign(text); }

  // Strict 32-bit integer; an empty text is an error (EConvertError).
  int32_t AsInteger() const;
  void SetAsInteger(int32_t value);

  // The regional decimal separator; written in the general format with 15 significant digits.
  double AsFloat() const;
  void SetAsFloat(double value);

  // Fixed point with four decimal places: the parsed value rounded to the nearest 0.0001.
  // EConvertError when the text is no number or lies outside the fixed-point range.
  double AsCurrency() const;

  // Read in the regional short date (and time) format; written as "dd.mm.yyyy" of the date part.
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);

 private:
  std::string name_;
  std::string value_;
};
