#include "palmdb/palm_field.h"

#include "core/text_conversions.h"
#include "palmdb/palm_table.h"

const std::string& TpfgPalmField::FieldName() const { return table_->FieldDefs()[index_].FieldName(); }

TpfgPalmFieldType TpfgPalmField::DataType() const { return table_->FieldDefs()[index_].DataType(); }

TPalmValue TpfgPalmField::Value() const { return table_->GetFieldValue(index_); }

int32_t TpfgPalmField::AsInteger() const { return table_->GetFieldInteger(index_); }

double TpfgPalmField::AsFloat() const { return table_->GetFieldFloat(index_); }

TDateTime TpfgPalmField::AsDateTime() const {
  const TPalmValue value = Value();
  if (const auto* date_time = std::get_if<TDateTime>(&value)) return *date_time;
  const std::string text = PalmValueText(value);
  return text.empty() ? TDateTime{} : ParsePalmDateTime(text);
}

std::string TpfgPalmField::AsString() const {
  TPalmValue value = Value();
  if (auto* text = std::get_if<std::string>(&value)) return std::move(*text);
  return PalmValueText(value);
}

void TpfgPalmField::SetValue(const TPalmValue& value) { table_->SetFieldValue(index_, value); }

void TpfgPalmField::SetAsInteger(int32_t value) { table_->SetFieldInteger(index_, value); }

void TpfgPalmField::SetAsFloat(double value) { table_->SetFieldFloat(index_, value); }

void TpfgPalmField::SetAsDateTime(TDateTime value) { table_->SetFieldDate(index_, value); }

void TpfgPalmField::SetAsString(std::string_view value) { table_->SetFieldText(index_, value); }
