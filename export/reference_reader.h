// TReferenceReader: the rows of one reference file of the accounting system, read through the
// session's shared text table ("TXT", "TXTINDBFOUT"), in-memory table ("XML") or a dBase table
// ("DBF"), in file order or in the order of a key column, with its columns found by name
// ignoring case (dBase columns on the first 10 characters of the name).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/date_time.h"
#include "exchange/client_dataset.h"
#include "exchange/txt_table.h"
#include "export/dbase_cursor.h"
#include "session/exchange_session.h"

// One column of the current row, converted by the rules of its file's form. Conversion
// failures throw EConvertError.
class TInputColumn {
 public:
  explicit TInputColumn(TcsTXTField& field) : field_(&field) {}
  explicit TInputColumn(TField& field) : field_(&field) {}
  explicit TInputColumn(const TDbaseColumn& column) : field_(column) {}

  int32_t AsInteger() const;
  double AsFloat() const;
  // Fixed point with four decimal places.
  double AsCurrency() const;
  TDateTime AsDateTime() const;
  // The text: a text file's own cell while its row is current, other forms' text kept in scratch.
  std::string_view AsString(std::string& scratch) const;

 private:
  template <typename Read>
  auto Visit(Read read) const;

  std::variant<TcsTXTField*, TField*, TDbaseColumn> field_;
};

// How a file's rows are visited: in file order (empty keys) or through a key column. Text files
// sort by TextKey as the text table does (zero-padded "ID", upper-cased text otherwise); packets
// walk an ascending index on XmlKey; dBase tables sort by TextKey as text files do.
struct TReadOrder {
  std::string_view TextKey;
  std::string_view XmlKey;
};

class TReferenceReader {
 public:
  TReferenceReader(TExchangeSession& session, TcsTXTTable& text_table, TClientDataSet& packet_table)
      : session_(session), text_(text_table), packet_(packet_table) {}

  // Loads the file of the exchange directory (the name matched ignoring case) and goes to its
  // first row. Throws what the readers throw: a missing key column, a damaged file.
  void Open(const std::string& file_name, const TReadOrder& order);
  int RecordCount() const;
  bool Eof() const;
  void Next();
  // Lets go of the rows after the last one: empties the text table, empties and closes the
  // in-memory table, or drops the dBase records.
  void Close();

  std::optional<TInputColumn> Find(std::string_view name);
  // The column, or the reader's failure for a missing one (the text table shows its message
  // and throws ETXTFieldNotFound; the packet throws EDatabaseError "Field '%s' not found"; a
  // dBase table shows the text table's message and throws EDbaseFieldNotFound).
  TInputColumn Require(std::string_view name);

 private:
  enum class TForm { Text, Packet, Dbase };
  TForm Form() const;
  void OpenDbase(const std::string& file_name, const TReadOrder& order);
  // The dBase column, or the text table's message for a missing one and EDbaseFieldNotFound.
  int RequireDbaseColumn(std::string_view name) const;
  // An "Ошибка" box, as the text table shows its errors.
  void ShowError(const std::string& text) const;

  TExchangeSession& session_;
  TcsTXTTable& text_;
  TClientDataSet& packet_;
  TDbaseCursor dbase_;
  std::string dbase_name_;  // the file name as the step gives it, for messages
};
