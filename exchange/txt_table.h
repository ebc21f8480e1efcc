// TcsTXTTable: one semicolon-delimited exchange file held in memory as its lines, with
// record-by-record access by field name, an optional key index, and writing back whole.
// The lines are views of the file's bytes, or of the texts posted since it was read.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/atomic_file.h"
#include "core/line_file_writer.h"
#include "exchange/message_sink.h"
#include "exchange/text_arena.h"
#include "exchange/txt_field.h"

class TcsTXTTable {
 public:
  explicit TcsTXTTable(TMessageSink sink = WriteMessageToStderr);

  // The exchange directory ('/' at its end or not) and the file name, matched ignoring case.
  std::string Directory;
  std::string FileName;
  char Delimiter = ';';

  // Error messages ("Ошибка" boxes) go here.
  void SetMessageSink(TMessageSink sink) { sink_ = std::move(sink); }

  // Directory, '/' and FileName as given (the file on disk may differ in case).
  std::string Path() const;
  int RecordCount() const { return record_count_; }
  // 1-based; RecordCount() + 1 is after the last record.
  int RecNo() const { return rec_no_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TcsTXTField& Fields(int index) { return *fields_.at(index); }

  // Empties lines, fields and key index; RecordCount and RecNo keep their values until Load.
  void Clear();
  // Reads the file. Missing: message "Файл "<path>" не найден", false. Throws ETXTTableError for a
  // file without header names or with a NUL byte, Exception when it cannot be read.
  // Fields (and references to them) live until the next Load or Clear.
  bool Load();
  // A new file held in memory with that header line only (ETXTTableError when it names no
  // field); nothing reaches the disk before Save, which writes header and records in one step.
  void StartNew(std::string_view header);
  // Parses line n into the fields; n = RecordCount + 1 goes after the end; beyond that (or below 1)
  // message "Попытка обращения к несуществующей записи" and nothing changes.
  void GoTo(int n);
  // A new empty line at the end, made current.
  void Append();
  // Line RecNo := every value followed by the delimiter. ETXTTableError when after the end.
  void Post();
  // Writes the lines, each ending with CR LF, replacing the file atomically, a megabyte at a
  // time; true.
  bool Save();

  // Writing a file out while its records are made, without holding them: the lines held so far
  // (header and records) to out, then per record EmptyFields, the field values and
  // WriteRecordLine, which writes the line Post would make.
  void WriteLines(TLineFileWriter& out) const;
  void EmptyFields();
  void WriteRecordLine(TLineFileWriter& out) const;

  // First field named so, ignoring case. Missing: message "Поля "<name>" нет в таблице <file>",
  // then ETXTFieldNotFound with the same text.
  TcsTXTField& FieldByName(std::string_view name);
  TcsTXTField* FindField(std::string_view name);

  // Key index on the field (FieldByName's failure when it is missing) and the first indexed record.
  void SortBy(std::string_view name);
  void First();
  void Next();
  bool Eof() const;

 private:
  void ShowError(const std::string& text) const;
  // The directory to look the file up in: Directory, or the working directory when it is empty.
  std::string_view LookupDirectory() const;
  void ParseLine(int n);
  // The current values as a record line: each followed by the delimiter.
  size_t RecordLineSize() const;
  char* WriteRecordLine(char* out) const;
  // Takes the lines of a file (the header first) as the table's content.
  void Adopt(TFileBytes content, std::vector<std::string_view> lines);

  TMessageSink sink_;
  TFileBytes content_;  // the bytes read, or the header started; views of them survive moves
  TTextArena posted_;  // every line Post made, never changed once made
  std::vector<std::string_view> lines_;
  std::vector<std::unique_ptr<TcsTXTField>> fields_;
  std::unordered_map<std::string, int> field_index_;  // upper-cased name -> first field
  std::vector<int> key_index_;                        // line numbers in key order
  bool indexed_ = false;
  int key_position_ = -1;
  int record_count_ = 0;
  int rec_no_ = 1;
};
