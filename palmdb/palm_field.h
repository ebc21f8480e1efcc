// TpfgPalmField: a light accessor for one field of a handheld table's current record. It
// knows its table and index and converts through the table's GetFieldValue/SetFieldValue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "palmdb/palm_field_type.h"
#include "palmdb/palm_value.h"

class TpfgPalmTable;

class TpfgPalmField {
 public:
  TpfgPalmField(TpfgPalmTable& table, int index) : table_(&table), index_(index) {}

  int Index() const { return index_; }
  const std::string& FieldName() const;
  TpfgPalmFieldType DataType() const;

  // The typed value (Value) and its conversions. An empty value reads 0, 0.0 or the zero
  // date-time; a text that does not convert throws EConvertError (AsInteger of "1.5" too).
  TPalmValue Value() const;
  int32_t AsInteger() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  std::string AsString() const;

  // Writes store the value's regional text: decimal integers, general floating text with 15
  // significant digits, short date (and long time when there is a time of day), texts as given.
  void SetValue(const TPalmValue& value);
  void SetAsInteger(int32_t value);
  void SetAsFloat(double value);
  void SetAsDateTime(TDateTime value);
  void SetAsString(std::string_view value);

 private:
  TpfgPalmTable* table_;
  int index_;
};
