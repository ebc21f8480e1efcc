// TField: one column of the in-memory table seen through a table's current row. Reads convert
// by the column's type; a null cell reads as 0, empty text or the zero date-time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "exchange/field_defs.h"

class TClientDataSet;

class TField {
 public:
  TField(TClientDataSet& dataset, int column) : dataset_(dataset), column_(column) {}

  const std::string& FieldName() const;
  TFieldType DataType() const;
  int Size() const;
  bool IsNull() const;
  void Clear();

  // A text is parsed by the regional rules (EConvertError); a float is rounded to an integer;
  // a date-time read as an integer fails (EDatabaseError "Cannot access field ...").
  int32_t AsInteger() const;
  void SetAsInteger(int32_t value);
  double AsFloat() const;
  void SetAsFloat(double value);
  // AsFloat rounded to four decimal places.
  double AsCurrency() const;
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);
  // Integers in decimal, floats in the regional general format, date-times in the regional
  // date (and time) format. Setting an empty text on a non-text column makes it null.
  std::string AsString() const;
  void SetAsString(std::string_view text);

 private:
  [[noreturn]] void CannotAccess(const char* type_name) const;
  int WritableRow() const;

  TClientDataSet& dataset_;
  int column_;
};
