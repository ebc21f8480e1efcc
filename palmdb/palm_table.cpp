#include "palmdb/palm_table.h"

#include "core/collation.h"
#include "core/text_conversions.h"
#include "palmdb/palm_errors.h"

TpfgPalmTable::TpfgPalmTable(std::string name) : name_(std::move(name)), field_defs_(this) {}

void TpfgPalmTable::FieldDefsChanged() {
  fields_.clear();
  fields_.reserve(field_defs_.Count());
  for (int i = 0; i < field_defs_.Count(); ++i) fields_.emplace_back(*this, i);
  ClearRecord();
}

TpfgPalmField* TpfgPalmTable::FindField(std::string_view name) {
  for (TpfgPalmField& field : fields_) {
    if (SameText(field.FieldName(), name)) return &field;
  }
  return nullptr;
}

TpfgPalmField& TpfgPalmTable::FieldByName(std::string_view name) {
  if (TpfgPalmField* field = FindField(name)) return *field;
  throw EPalmDBError("The specified field \"" + std::string(name) + "\" was not found");
}

void TpfgPalmTable::ClearRecord() {
  record_cells_.resize(field_defs_.Count());
  for (TPalmCell& cell : record_cells_) cell.Clear();
  no_data_ = false;
}

int32_t TpfgPalmTable::GetFieldInteger(int index) {
  const TPalmValue value = GetFieldValue(index);
  if (const auto* number = std::get_if<int32_t>(&value)) return *number;
  const std::string text = PalmValueText(value);
  return text.empty() ? 0 : StrToInt(text);
}

double TpfgPalmTable::GetFieldFloat(int index) {
  const TPalmValue value = GetFieldValue(index);
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* number = std::get_if<int32_t>(&value)) return *number;
  if (const auto* date_time = std::get_if<TDateTime>(&value)) return date_time->Value;
  const std::string text = PalmValueText(value);
  return text.empty() ? 0.0 : StrToFloat(text);
}
