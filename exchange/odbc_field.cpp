#include "exchange/odbc_field.h"

#include "exchange/odbc_value_conversions.h"

int32_t TmTypedValue::AsInteger() const { return ValueAsInteger(Value); }
double TmTypedValue::AsFloat() const { return ValueAsFloat(Value); }
TDateTime TmTypedValue::AsDateTime() const { return ValueAsDateTime(Value); }
std::string TmTypedValue::AsString() const { return ValueAsString(Value, DataType); }

bool TmTypedValue::AsBoolean() const {
  if (IsNull()) return false;
  return std::get<bool>(ConvertForType(Value, TOdbcDataType::ftBoolean));
}

void TmTypedValue::Assign(const TOdbcValue& value) {
  Value = DataType == TOdbcDataType::ftUnknown ? value : ConvertForType(value, DataType);
}

void TmField::Assign(const TOdbcValue& value) {
  TmTypedValue::Assign(value);
  if (DataType != TOdbcDataType::ftString || Size <= 0) return;
  if (auto* text = std::get_if<std::string>(&Value); text != nullptr && text->size() > static_cast<size_t>(Size))
    text->resize(Size);
}
