// The field definitions of a handheld table: an ordered list of (name, kind, size) plus the
// layout settings. Every change notifies the owning table, which rebuilds its field list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "palmdb/palm_field_type.h"

class TpfgPalmTable;
class TpfgPalmFieldDefs;

class TpfgPalmFieldDef {
 public:
  explicit TpfgPalmFieldDef(TpfgPalmFieldDefs& collection) : collection_(&collection) {}

  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(std::string name);
  TpfgPalmFieldType DataType() const { return data_type_; }
  void SetDataType(TpfgPalmFieldType type);
  int32_t Size() const { return size_; }
  void SetSize(int32_t size);
  // The name shown for the item: its FieldName.
  const std::string& DisplayName() const { return field_name_; }
  // The kind's width, or Size for the kinds of variable width.
  int32_t Width() const {
    const int width = PalmFieldTypeWidth(data_type_);
    return width < 0 ? size_ : width;
  }

 private:
  friend class TpfgPalmFieldDefs;
  // Sets all three properties without notifying (the collection notifies once).
  void Assign(std::string name, TpfgPalmFieldType type, int32_t size);

  TpfgPalmFieldDefs* collection_;
  std::string field_name_;
  TpfgPalmFieldType data_type_ = ptWord;
  int32_t size_ = 0;
};

// What the record layout needs of one definition, kept side by side with the others'.
struct TPalmFieldShape {
  TpfgPalmFieldType Type;
  int32_t Size;
  int32_t Width;  // TpfgPalmFieldDef::Width
};

class TpfgPalmFieldDefs {
 public:
  // Throws EPalmDBError "Created FieldDefs did not have a table owner" when owner is null.
  explicit TpfgPalmFieldDefs(TpfgPalmTable* owner);
  TpfgPalmFieldDefs(const TpfgPalmFieldDefs&) = delete;
  TpfgPalmFieldDefs& operator=(const TpfgPalmFieldDefs&) = delete;

  TpfgPalmTable& Owner() const { return *owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TpfgPalmFieldDef& operator[](int index) { return *items_.at(index); }
  const TpfgPalmFieldDef& operator[](int index) const { return *items_.at(index); }
  // One shape per definition, in their order; brought up to date by every change.
  const std::vector<TPalmFieldShape>& Shapes() const { return shapes_; }

  TpfgPalmFieldDef& Add();
  TpfgPalmFieldDef& Add(std::string name, TpfgPalmFieldType type, int32_t size = 0);
  void Delete(int index);
  void Clear();

  uint32_t Alignment() const { return alignment_; }
  void SetAlignment(uint32_t alignment);
  bool StrictFields() const { return strict_fields_; }
  void SetStrictFields(bool strict) { strict_fields_ = strict; }

  // Tells the owning table that the definitions changed.
  void Changed();

 private:
  TpfgPalmTable* owner_;
  std::vector<std::unique_ptr<TpfgPalmFieldDef>> items_;
  std::vector<TPalmFieldShape> shapes_;
  uint32_t alignment_ = 0;
  bool strict_fields_ = true;
};
