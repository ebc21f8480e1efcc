// TpfgPalmTable: the abstract handheld table. It owns the field definitions, the fields bound
// to them and the current record (one cell per field, read as regional text or as its number);
// navigation, editing and the handheld calls belong to the concrete table (TpfgPalmRemoteTable).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "palmdb/palm_cell.h"
#include "palmdb/palm_field.h"
#include "palmdb/palm_field_defs.h"
#include "palmdb/palm_value.h"

enum class TpfgPalmTableState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TpfgPalmTable {
 public:
  explicit TpfgPalmTable(std::string name);
  virtual ~TpfgPalmTable() = default;
  TpfgPalmTable(const TpfgPalmTable&) = delete;
  TpfgPalmTable& operator=(const TpfgPalmTable&) = delete;

  // The component name (ptOrder, ptCustomer, ...).
  const std::string& Name() const { return name_; }

  TpfgPalmFieldDefs& FieldDefs() { return field_defs_; }
  const TpfgPalmFieldDefs& FieldDefs() const { return field_defs_; }
  // One field per definition, same order; rebuilt whenever the definitions change.
  std::vector<TpfgPalmField>& Fields() { return fields_; }
  virtual void FieldDefsChanged();

  // The first field whose name equals `name` without regard to case, or nullptr.
  virtual TpfgPalmField* FindField(std::string_view name);
  // FindField that throws EPalmDBError "The specified field \"%s\" was not found".
  virtual TpfgPalmField& FieldByName(std::string_view name);

  virtual TPalmValue GetFieldValue(int index) = 0;
  virtual void SetFieldValue(int index, const TPalmValue& value) = 0;
  // The same for a text, taken as it is without a copy of its own.
  virtual void SetFieldText(int index, std::string_view text) = 0;
  // Typed reads of one field: the typed value with the conversions of TpfgPalmField (an empty
  // value reads 0); a concrete table may take a shorter way to the same numbers.
  virtual int32_t GetFieldInteger(int index);
  virtual double GetFieldFloat(int index);
  // Typed writes, the same as SetFieldValue of the typed value.
  virtual void SetFieldInteger(int index, int32_t value) = 0;
  virtual void SetFieldFloat(int index, double value) = 0;
  virtual void SetFieldDate(int index, TDateTime value) = 0;

  virtual uint8_t RecordAttributes() const = 0;
  virtual void SetRecordAttributes(uint8_t attributes) = 0;
  virtual uint32_t RecordId() const = 0;
  virtual void SetRecordId(uint32_t id) = 0;
  virtual int8_t RecordCategory() const = 0;
  virtual void SetRecordCategory(int8_t category) = 0;
  // True when the current record came from a handheld record without data.
  virtual bool NoData() const { return no_data_; }

  virtual bool Active() const = 0;
  virtual void SetActive(bool active) = 0;
  virtual const std::string& TableName() const { return table_name_; }
  virtual void SetTableName(std::string name) { table_name_ = std::move(name); }
  virtual bool ReadOnly() const { return read_only_; }
  virtual void SetReadOnly(bool read_only) { read_only_ = read_only; }
  virtual TpfgPalmTableState State() const = 0;

  virtual int RecordCount() = 0;
  virtual int RecNo() const = 0;
  virtual void SetRecNo(int index) = 0;
  virtual bool Bof() const = 0;
  virtual bool Eof() = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool Exists() = 0;
  virtual void EmptyTable() = 0;
  virtual void CreateTable() = 0;
  virtual void DeleteTable() = 0;
  virtual void First() = 0;
  virtual void Last() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  virtual void Edit() = 0;
  virtual void Insert() = 0;
  virtual void Append() = 0;
  virtual void Post() = 0;
  virtual void Cancel() = 0;
  virtual void Delete() = 0;

 protected:
  // Empties the current record: one empty cell per definition.
  void ClearRecord();
  std::vector<TPalmCell>& RecordCells() { return record_cells_; }
  void SetNoData(bool no_data) { no_data_ = no_data; }

 private:
  std::string name_;
  std::string table_name_;
  bool read_only_ = false;
  TpfgPalmFieldDefs field_defs_;
  std::vector<TpfgPalmField> fields_;
  std::vector<TPalmCell> record_cells_;
  bool no_data_ = false;
};
