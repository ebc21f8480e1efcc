// TmQuery: one SQL statement over a TmDataBase, seen as a dataset of rows and typed fields.
// Named parameters (":name") are parsed from the text; a live query inserts appended rows
// through its insert statement, run by an auxiliary query on the same connection.
#pragma once

#include <sql.h>

#include <memory>
#include <string>
#include <vector>

#include "exchange/message_sink.h"
#include "exchange/odbc_field.h"
#include "exchange/odbc_parameter_binding.h"

class TmDataBase;

enum class TCursorType { ctFwdOnlyCursor, ctStaticCursor, ctKeySetCursor, ctDynamicCursor };

class TmQuery {
 public:
  explicit TmQuery(TmDataBase* database = nullptr);
  ~TmQuery();
  TmQuery(const TmQuery&) = delete;
  TmQuery& operator=(const TmQuery&) = delete;

  TmDataBase* DataBase() const { return database_; }
  void SetDataBase(TmDataBase* database);

  // The statement as lines (joined with line feeds). Every change closes the query, drops
  // its prepared statement and, with ParamCheck on, parses Params anew.
  const std::vector<std::string>& SQL() const { return sql_; }
  void SetSQL(std::vector<std::string> lines);
  void ClearSQL() { SetSQL({}); }
  void AddSQL(const std::string& line);
  // The statement a posted row of a live query is inserted with (its parameters name fields).
  std::vector<std::string> InsertSQL;

  bool ParamCheck = true;
  bool RequestLive = false;
  TCursorType CursorType = TCursorType::ctDynamicCursor;
  // Where "No rows affected" and "More then one rows affected" are shown (caption "ZembraToPalm").
  TMessageSink MessageSink = WriteMessageToStderr;

  std::vector<TmParam>& Params() { return params_; }
  // Exception "Parameter '<name>' not found" when the statement has none of that name.
  TmParam& ParamByName(const std::string& name);

  // Runs a statement that returns no rows; RowsAffected tells how many it changed (-1: unknown).
  void ExecSQL();
  long RowsAffected() const { return rows_affected_; }

  // Runs the statement and makes its columns the fields, positioned on the first row.
  void Open();
  void Close();
  bool Active() const { return active_; }
  void First();
  void Next();
  bool Eof() const { return eof_; }
  // Reads the remaining rows and counts them all.
  int RecordCount();

  std::vector<TmField>& Fields() { return fields_; }
  // Compared without regard to case; FieldByName throws Exception "Field '<name>' not found".
  TmField* FindField(const std::string& name);
  TmField& FieldByName(const std::string& name);

  // A live query's new row: Append empties the fields, Post inserts them and returns how many
  // rows the insert affected (0 when no row was appended).
  void Append();
  long Post();

  // The cursor type the driver granted for the prepared statement.
  TCursorType GrantedCursorType() const { return granted_cursor_; }

  // Called by the connection when it disconnects or dies.
  void FreeStatement();
  void DataBaseDestroyed();

 private:
  void Prepare();
  void SettleCursorType();
  void Execute();
  void DescribeFields();
  bool FetchRow();
  void ShowRow();
  void RequireActive() const;
  TmQuery& InsertQuery();
  void FillInsertParams(TmQuery& insert);

  TmDataBase* database_ = nullptr;
  std::vector<std::string> sql_;
  std::string driver_text_;
  std::vector<TmParam> params_;
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
  bool prepared_ = false;
  TCursorType granted_cursor_ = TCursorType::ctFwdOnlyCursor;
  std::vector<TParameterBuffer> buffers_;
  long rows_affected_ = -1;

  bool active_ = false;
  bool eof_ = true;
  bool fetched_all_ = false;
  bool appending_ = false;
  std::vector<TmField> fields_;
  std::vector<SQLUSMALLINT> field_columns_;
  std::vector<std::vector<TOdbcValue>> rows_;
  size_t current_ = 0;
  std::unique_ptr<TmQuery> insert_query_;
};
