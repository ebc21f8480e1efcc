// TcsTXTField: the value of one column of the text table's current line, kept as text and
// converted by the desktop's regional rules when read or written as a number or a date.
// A value read from a line is a view of the table's line; a value written is the field's own
// (a number's text written in place).
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/float_format.h"

class TcsTXTField {
 public:
  explicit TcsTXTField(std::string name) : name_(std::move(name)) {}
  // A field showing `text`, which the caller keeps alive.
  TcsTXTField(std::string name, std::string_view text) : name_(std::move(name)), value_(text) {}
  TcsTXTField(const TcsTXTField&) = delete;
  TcsTXTField& operator=(const TcsTXTField&) = delete;

  const std::string& FieldName() const { return name_; }

  std::string_view AsString() const { return value_; }
  void SetAsString(std::string_view text) {
    owned_.assign(text);
    value_ = owned_;
  }
  // The value is `text`, which the caller keeps alive (the table's line).
  void ShowText(std::string_view text) { value_ = text; }

  // Strict 32-bit integer; an empty text is an error (EConvertError).
  int32_t AsInteger() const;
  void SetAsInteger(int32_t value) {
    value_ = std::string_view(
        number_, static_cast<size_t>(std::to_chars(number_, number_ + sizeof number_, value).ptr - number_));
  }

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
  std::string owned_;
  char number_[kFloatTextRoom];
  std::string_view value_;
};
