// The records of one export step held typed in memory before the handheld is touched: how each
// input column becomes a handheld field (conversion, whether the column must be there in each
// form, the value when it is not, the width a text is cut to), the whole file read and
// converted, the rows ordered, packed (which checks that they pack), and only then written.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/date_time.h"
#include "core/regional_formats.h"
#include "export/packed_records.h"
#include "export/reference_reader.h"
#include "palmdb/palm_remote_table.h"
#include "session/exchange_session.h"

// How an input value is read: "Currency" is a fixed-point amount with four decimal places.
enum class TInputKind { Integer, Float, Currency, Date, Text };

// Whether a column is read in one form of the files: it must be there, it may be missing, or it
// is never read.
enum class TColumnUse { Required, Optional, Ignored };

struct TExportMapping {
  const char* Input;     // column or packet field, matched ignoring case
  const char* Handheld;  // handheld field written
  TInputKind Kind;
  TColumnUse Text = TColumnUse::Required;  // "TXT" and "TXTINDBFOUT"
  TColumnUse Xml = TColumnUse::Required;   // "XML"
  int Width = 0;                           // texts: cut to this many characters; 0 keeps all
  int32_t AbsentText = 0;                  // integers: the value when the text file lacks the column
  int32_t AbsentXml = 0;                   // integers: the value when the packet lacks the field
};

// A text held in the records' text store: where it starts there and how many bytes it has.
struct TStagedText {
  uint32_t Offset = 0;
  uint32_t Size = 0;
  bool operator==(const TStagedText&) const = default;
};

// One field's value as the records hold it; monostate writes an empty value.
using TStagedValue = std::variant<std::monostate, int32_t, double, TDateTime, TStagedText>;
// One field's value as it is given to the records or read back: a text is a view.
using TStagedInput = std::variant<std::monostate, int32_t, double, TDateTime, std::string_view>;

class TStagedRecords;

// One row of the records as a view: its values by field position.
class TStagedRow {
 public:
  TStagedRow(const TStagedRecords& records, size_t row) : records_(&records), row_(row) {}
  TStagedValue operator[](size_t field) const;
  size_t size() const;

 private:
  const TStagedRecords* records_;
  size_t row_;
};

// The values are kept as their kind and their eight bytes apart, nine bytes a value.
class TStagedRecords {
 public:
  std::vector<std::string> Fields;  // handheld field names, one per value of a row
  std::string Texts;                // every text value's bytes, one after another
  // Where the rows are walked: the row read at Order[i] is the i-th; rows past the order's end
  // follow in reading order (all rows when there is no order).
  std::vector<uint32_t> Order;

  size_t RowCount() const { return Fields.empty() ? 0 : kinds_.size() / Fields.size(); }
  // The row at `position` of the walk.
  TStagedRow Row(size_t position) const {
    return TStagedRow(*this, position < Order.size() ? Order[position] : position);
  }
  // The value of a field of the row read `row`-th.
  TStagedValue ValueAt(size_t row, size_t field) const;
  // Appends one value of the row being read; a row is whole after one value per field.
  void Add(const TStagedValue& value);
  // The same for a value given with its text, which the text store keeps.
  void AddInput(const TStagedInput& value);
  // Room for that many values in all.
  void Reserve(size_t values);
  // Lets go of every row and of the room they took.
  void Release() { [[maybe_unused]] const TStagedRecords released = std::exchange(*this, TStagedRecords()); }
  // Appends a row; throws Exception unless it holds one value per field.
  void AddRow(std::initializer_list<TStagedInput> values);
  // Keeps a text's bytes in the text store; throws Exception past 4 GB of texts.
  TStagedText AddText(std::string_view text);
  std::string_view Text(TStagedText text) const { return {Texts.data() + text.Offset, text.Size}; }
  // The value with its text, if it is one, as a view into the text store.
  TStagedInput View(const TStagedValue& value) const;
  std::vector<TStagedInput> RowView(size_t position) const;
  // The column of a handheld field name (ignoring case); throws Exception when there is none.
  int FieldIndex(std::string_view name) const;

 private:
  std::vector<uint8_t> kinds_;      // the alternative each value holds
  std::vector<uint64_t> payloads_;  // its bytes
};

inline TStagedValue TStagedRow::operator[](size_t field) const { return records_->ValueAt(row_, field); }
inline size_t TStagedRow::size() const { return records_->Fields.size(); }

// Sets the cell to the value as the typed field writes set the field: a number, a date, a text,
// or empty for nothing. Defined here: every value of a reference file passes through it.
inline void SetCellInput(TPalmCell& cell, const TStagedInput& value, const TFormatSettings& formats) {
  if (const auto* integer = std::get_if<int32_t>(&value)) {
    cell.SetInteger(*integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    cell.SetFloat(*real, formats);
  } else if (const auto* date = std::get_if<TDateTime>(&value)) {
    cell.SetDate(*date);
  } else if (const auto* text = std::get_if<std::string_view>(&value)) {
    cell.SetText(*text);
  } else {
    cell.Clear();
  }
}

// Reads every row of the opened reader through the mappings, in the reader's order. A required
// column that is missing, or a value that does not convert, throws the reader's error.
TStagedRecords ReadStagedRecords(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                 TExchangeFormat format);

// Orders the walk ascending by the integer values of the named fields, equal rows in their order;
// the rows themselves stay where they were read.
void SortStagedRecords(TStagedRecords& records, std::span<const char* const> fields);

// Packs, on the closed table, every value that may not fit its field (a date-time in a date
// field), so a value that cannot be stored (a date with a time of day) fails with the error Post
// would give, before anything is written.
void CheckRecordsPack(TpfgPalmRemoteTable& table, const TStagedRecords& records);

// Appends every row to the open table (Insert, fields, Post), one progress step per record.
void AppendStagedRecords(TExchangeSession& session, TpfgPalmRemoteTable& table, const TStagedRecords& records);

// Packs every row, on the closed table, into the bytes Insert, fields and Post would write, when
// the table packs records alone; none when it does not. A row that does not pack fails with the
// error CheckRecordsPack gives, before anything is written.
std::optional<TPackedRecords> PackStagedRecords(TpfgPalmRemoteTable& table, const TStagedRecords& records);

// Appends the packed records to the open table, one progress step per record, letting them go.
void AppendPackedRecords(TExchangeSession& session, TpfgPalmRemoteTable& table, TPackedRecords& records);
