#include "palmdb/palm_field_defs.h"

#include "palmdb/palm_errors.h"
#include "palmdb/palm_table.h"

void TpfgPalmFieldDef::SetFieldName(std::string name) {
  field_name_ = std::move(name);
  collection_->Changed();
}

void TpfgPalmFieldDef::SetDataType(TpfgPalmFieldType type) {
  data_type_ = type;
  collection_->Changed();
}

void TpfgPalmFieldDef::SetSize(int32_t size) {
  size_ = size;
  collection_->Changed();
}

void TpfgPalmFieldDef::Assign(std::string name, TpfgPalmFieldType type, int32_t size) {
  field_name_ = std::move(name);
  data_type_ = type;
  size_ = size;
}

TpfgPalmFieldDefs::TpfgPalmFieldDefs(TpfgPalmTable* owner) : owner_(owner) {
  if (owner == nullptr) throw EPalmDBError("Created FieldDefs did not have a table owner");
}

TpfgPalmFieldDef& TpfgPalmFieldDefs::Add() {
  items_.push_back(std::make_unique<TpfgPalmFieldDef>(*this));
  Changed();
  return *items_.back();
}

TpfgPalmFieldDef& TpfgPalmFieldDefs::Add(std::string name, TpfgPalmFieldType type, int32_t size) {
  auto def = std::make_unique<TpfgPalmFieldDef>(*this);
  TpfgPalmFieldDef& added = *def;
  items_.push_back(std::move(def));
  // Filled before the one notification, so the table rebuilds its fields once per definition.
  added.Assign(std::move(name), type, size);
  Changed();
  return added;
}

void TpfgPalmFieldDefs::Delete(int index) {
  if (index < 0 || index >= Count()) throw EPalmDBError("List index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  Changed();
}

void TpfgPalmFieldDefs::Clear() {
  items_.clear();
  Changed();
}

void TpfgPalmFieldDefs::SetAlignment(uint32_t alignment) {
  alignment_ = alignment;
  Changed();
}

void TpfgPalmFieldDefs::Changed() {
  shapes_.clear();
  for (const auto& def : items_) shapes_.push_back({def->DataType(), def->Size(), def->Width()});
  owner_->FieldDefsChanged();
}
