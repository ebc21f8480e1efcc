#include "palmdb/palm_table.h"

#include "core/collation.h"
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
