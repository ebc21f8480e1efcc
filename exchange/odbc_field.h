// TmField: one result column of a query in its current row, and TmParam: one parameter of a
// statement. Both hold a typed value; setting converts it to their data type.
#pragma once

#include <cstdint>
#include <string>

#include "exchange/odbc_value.h"

// Common reads and writes of a typed value (see odbc_value_conversions.h for the rules).
class TmTypedValue {
 public:
  TOdbcDataType DataType = TOdbcDataType::ftUnknown;
  TOdbcValue Value;

  bool IsNull() const { return ::IsNull(Value); }
  void Clear() { Value = std::monostate{}; }
  int32_t AsInteger() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  std::string AsString() const;
  bool AsBoolean() const;
  void SetAsInteger(int32_t value) { Assign(int64_t{value}); }
  void SetAsFloat(double value) { Assign(value); }
  void SetAsDateTime(TDateTime value) { Assign(value); }
  void SetAsString(const std::string& value) { Assign(value); }
  void SetAsBoolean(bool value) { Assign(value); }
  // Converts to DataType (an unknown type keeps the value as it comes).
  virtual void Assign(const TOdbcValue& value);

 protected:
  ~TmTypedValue() = default;
};

class TmField final : public TmTypedValue {
 public:
  TmField(std::string name, TOdbcDataType type, int size) : FieldName(std::move(name)), Size(size) { DataType = type; }

  // Texts longer than Size (when Size > 0) keep their first Size bytes.
  void Assign(const TOdbcValue& value) override;

  std::string FieldName;
  int Size;
  // The value before the current change (null for an appended row): what "OLD_" parameters get.
  TOdbcValue OldValue;
};

class TmParam final : public TmTypedValue {
 public:
  explicit TmParam(std::string name) : Name(std::move(name)) {}
  // Takes another value with its data type (a field's, when a row is posted).
  void AssignTyped(TOdbcDataType type, const TOdbcValue& value) {
    DataType = type;
    Value = value;
  }

  std::string Name;
};
