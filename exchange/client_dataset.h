// TClientDataSet: a typed table in memory, filled by appending rows or by loading an XML data
// packet, walked by a cursor in append order or through an ascending index, saved as a packet.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/date_time.h"
#include "exchange/dataset_index.h"
#include "exchange/field.h"
#include "exchange/field_defs.h"

class TTableData;

enum class TDataSetState { dsInactive, dsBrowse, dsInsert, dsEdit };

// A key value for FindKey/FindNearest; converted to the type of its index column.
using TFieldValue = std::variant<std::monostate, int32_t, double, TDateTime, std::string>;

class TClientDataSet {
 public:
  TClientDataSet();
  ~TClientDataSet();
  TClientDataSet(const TClientDataSet&) = delete;
  TClientDataSet& operator=(const TClientDataSet&) = delete;

  TFieldDefs& FieldDefs() { return field_defs_; }

  // An empty open table with the columns of FieldDefs.
  void CreateDataSet();
  // Reopens the rows kept since the last CreateDataSet or load; EDatabaseError when there are none.
  void Open();
  // Leaves the table inactive; its rows stay for Open until the next CreateDataSet or load.
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }

  // Loads an XML data packet (whatever the file's extension) and opens the table; FieldDefs
  // become the packet's columns. EDataPacketError naming the file when it is not a packet.
  void LoadFromFile(const std::string& path);
  // Writes the table as an XML data packet, atomically. The name must end with ".xml" (any case).
  void SaveToFile(const std::string& path);
  // The packet's bytes.
  std::string XmlPacket();

  // Removes every row; columns and index definitions stay.
  void EmptyDataSet();
  // Makes this table a second cursor over source's rows and indexes (same index, own position).
  void CloneCursor(TClientDataSet& source);

  int RecordCount() const;
  void First();
  void Next();
  bool Eof() const { return eof_; }

  // Room for that many more rows, asked for at once.
  void Reserve(int rows);
  // A new row of nulls, current and in insert state until Post (navigation posts it too).
  void Append();
  void Edit();
  void Post();

  // Fields, and references to them, live until the next CreateDataSet, load or CloneCursor.
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index) { return *fields_.at(index); }
  // Name compared ignoring case; EDatabaseError "Field '%s' not found".
  TField& FieldByName(std::string_view name);
  TField* FindField(std::string_view name);

  // An ascending index on fields ("IdParent;Name"); texts optionally compared ignoring case.
  void AddIndex(const std::string& name, const std::string& fields, bool case_insensitive = false);
  // Walks through the named index ("" for append order) and goes to its first row.
  void SetIndexName(const std::string& name);
  const std::string& IndexName() const { return index_name_; }
  // Walks through an ascending index on the fields (made when needed), from its first row.
  void SetIndexFieldNames(const std::string& fields);

  // Goes to the first row whose leading index values equal key; false (position kept) if none.
  bool FindKey(const std::vector<TFieldValue>& key);
  // Goes to the first row whose key is not below key; Eof when there is none.
  void FindNearest(const std::vector<TFieldValue>& key);

 private:
  friend class TField;

  void CheckActive() const;
  void UseData(std::shared_ptr<TTableData> data, TDataSetState state);
  void PostIfEditing();
  TDataSetIndex* ActiveIndex() const;
  TDataSetIndex& RequireIndex() const;
  std::vector<int> ColumnsOf(const std::string& fields) const;
  std::vector<TKeyValue> ConvertKey(const std::vector<TFieldValue>& key) const;

  TFieldDefs field_defs_;
  std::shared_ptr<TTableData> data_;
  std::vector<std::unique_ptr<TField>> fields_;
  TDataSetState state_ = TDataSetState::dsInactive;
  std::string index_name_;
  int row_ = -1;
  bool eof_ = true;
};
