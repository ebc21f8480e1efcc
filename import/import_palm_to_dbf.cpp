#include "import/import_palm_to_dbf.h"

#include <string>

#include "api/hotsync_api.h"
#include "core/file_lookup.h"
#include "core/fixed_point_text.h"
#include "core/text_conversions.h"
#include "exchange/odbc_connection_lines.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_query.h"
#include "import/clear_order_tables.h"
#include "import/dbf_order_statements.h"
#include "palmdb/palm_table_closer.h"
#include "session/step_header.h"

namespace {

constexpr int kOrderHeadersRow = 2;
constexpr int kOrderLinesRow = 3;
constexpr size_t kNoteLength = 200;

// The working objects of one run; members are freed in reverse order, the queries before the connection.
class TDbfOrderWriter {
 public:
  TDbfOrderWriter(TExchangeSession& session, TPalmCatalogue& catalogue)
      : session_(session), catalogue_(catalogue), foxpro_(IsVfpDriver(session.Settings.ODBCDriverName)) {
    for (TmQuery* query : {&combined_, &headers_, &lines_}) {
      query->MessageSink = [this](const std::string& text, const std::string& caption) {
        session_.MessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
      };
    }
  }

  int32_t Run();

 private:
  void Connect();
  void CreateTables();
  void OpenLive(TmQuery& query, const TLiveQueryTexts& texts);
  void WriteOrderHeaders();
  void WriteOrderLines();
  void WriteCombinedTable();
  void AppendHeaderRow();
  void AppendLineRow(int line_number);
  void DeleteFile(const char* name) { DeleteFileNoCase(session_.Directory, name); }

  TExchangeSession& session_;
  TPalmCatalogue& catalogue_;
  const bool foxpro_;
  TmDataBase database_;
  TmQuery combined_{&database_};
  TmQuery headers_{&database_};
  TmQuery lines_{&database_};
  int32_t orders_ = 0;
};

std::string FirstNoteCharacters(const std::string& note) { return note.substr(0, kNoteLength); }

void TDbfOrderWriter::Connect() {
  database_.Params.clear();
  for (std::string& line : DbaseConnectionLines(session_.Settings.ODBCDriverName, session_.Directory)) {
    database_.Params.push_back(std::move(line));
  }
  database_.Connect();
}

void TDbfOrderWriter::CreateTables() {
  for (const std::vector<std::string>& creation : DbfOrderTableCreations(foxpro_, session_.Directory)) {
    combined_.ClearSQL();
    combined_.SetSQL(creation);
    combined_.ExecSQL();
  }
}

void TDbfOrderWriter::OpenLive(TmQuery& query, const TLiveQueryTexts& texts) {
  query.SetSQL(texts.Select);
  query.InsertSQL = texts.Insert;
  query.RequestLive = true;
  query.Open();
}

void TDbfOrderWriter::WriteOrderHeaders() {
  AnnounceStep(session_, "PALM-ПК: Импорт заголовков документов", kOrderHeadersRow);
  if (foxpro_) database_.StartTransaction();
  TpfgPalmRemoteTable& table = catalogue_.ptOrder;
  TTableCloser closer(table);
  table.Open();
  session_.Progress->ProgressBar.SetMax(table.RecordCount());
  OpenLive(headers_, OrderHeadersQueryTexts());
  orders_ = 0;
  while (!table.Eof()) {
    headers_.Append();
    headers_.FieldByName("id").SetAsInteger(table.FieldByName("Id").AsInteger());
    headers_.FieldByName("IdCustomer").SetAsInteger(table.FieldByName("IdCustomer").AsInteger());
    headers_.FieldByName("OrderDate").SetAsDateTime(table.FieldByName("OrderDate").AsDateTime());
    headers_.FieldByName("DelivDate").SetAsDateTime(table.FieldByName("DeliverDate").AsDateTime());
    headers_.FieldByName("IDPAYMENT").SetAsInteger(table.FieldByName("IdPayment").AsInteger());
    headers_.FieldByName("Countrow").SetAsInteger(table.FieldByName("CountRow").AsInteger());
    headers_.FieldByName("NPrice").SetAsInteger(table.FieldByName("NPrice").AsInteger());
    headers_.FieldByName("Discount").SetAsFloat(table.FieldByName("PercentDiscount").AsFloat());
    headers_.FieldByName("Total").SetAsFloat(table.FieldByName("Total").AsFloat());
    headers_.FieldByName("Prim").SetAsString(FirstNoteCharacters(table.FieldByName("Note").AsString()));
    headers_.FieldByName("OrderTime").SetAsString(table.FieldByName("OrderTime").AsString());
    headers_.FieldByName("Note1").SetAsString(FirstNoteCharacters(table.FieldByName("Note1").AsString()));
    headers_.FieldByName("Note2").SetAsString(FirstNoteCharacters(table.FieldByName("Note2").AsString()));
    ++orders_;
    headers_.Post();
    session_.Progress->ProgressBar.StepIt();
    table.Next();
  }
  table.Close();
  headers_.Close();
}

void TDbfOrderWriter::WriteOrderLines() {
  AnnounceStep(session_, "PALM-ПК: Импорт строк документов", kOrderLinesRow);
  TpfgPalmRemoteTable& table = catalogue_.ptOrderItem;
  TTableCloser closer(table);
  table.Open();
  session_.Progress->ProgressBar.SetMax(table.RecordCount());
  OpenLive(lines_, OrderLinesQueryTexts());
  while (!table.Eof()) {
    lines_.Append();
    lines_.FieldByName("idorder").SetAsInteger(table.FieldByName("IdOrder").AsInteger());
    lines_.FieldByName("IdProduct").SetAsInteger(table.FieldByName("IdProduct").AsInteger());
    lines_.FieldByName("Quantity").SetAsFloat(table.FieldByName("Quantity").AsFloat());
    lines_.FieldByName("Price").SetAsFloat(table.FieldByName("Price").AsFloat());
    lines_.Post();
    session_.Progress->ProgressBar.StepIt();
    table.Next();
  }
  table.Close();
  lines_.Close();
  if (foxpro_) {
    database_.Commit();
    database_.StartTransaction();
  }
}

void TDbfOrderWriter::AppendHeaderRow() {
  combined_.Append();
  combined_.FieldByName("Idorder").SetAsString(IntToStr(headers_.FieldByName("id").AsInteger()));
  combined_.FieldByName("Iditem").SetAsString("0");
  combined_.FieldByName("OrderDate").SetAsString(FormatDdMmYyyy(headers_.FieldByName("OrderDate").AsDateTime()));
  combined_.FieldByName("DelivDate").SetAsString(FormatDdMmYyyy(headers_.FieldByName("DelivDate").AsDateTime()));
  combined_.FieldByName("IdCustomer").SetAsString(IntToStr(headers_.FieldByName("IdCustomer").AsInteger()));
  combined_.FieldByName("IdPayment").SetAsString(IntToStr(headers_.FieldByName("IDPAYMENT").AsInteger()));
  combined_.FieldByName("Total").SetAsString(FormatFixed(headers_.FieldByName("Total").AsFloat(), 2));
  combined_.FieldByName("CountRow").SetAsString(IntToStr(headers_.FieldByName("Countrow").AsInteger()));
  combined_.FieldByName("IdPrice").SetAsString(IntToStr(headers_.FieldByName("NPrice").AsInteger()));
  combined_.FieldByName("Discount").SetAsString(FormatFixed(headers_.FieldByName("Discount").AsFloat(), 2));
  combined_.FieldByName("Prim").SetAsString(FirstNoteCharacters(headers_.FieldByName("Prim").AsString()));
  combined_.FieldByName("OrderTime").SetAsString(headers_.FieldByName("OrderTime").AsString());
  combined_.FieldByName("Note1").SetAsString(FirstNoteCharacters(headers_.FieldByName("Note1").AsString()));
  combined_.FieldByName("Note2").SetAsString(FirstNoteCharacters(headers_.FieldByName("Note2").AsString()));
  combined_.Post();
}

// The line's columns reuse the header's: product, quantity, price and the line's sum.
void TDbfOrderWriter::AppendLineRow(int line_number) {
  const double quantity = lines_.FieldByName("Quantity").AsFloat();
  const double price = lines_.FieldByName("Price").AsFloat();
  combined_.Append();
  combined_.FieldByName("Idorder").SetAsString(IntToStr(lines_.FieldByName("idorder").AsInteger()));
  combined_.FieldByName("Iditem").SetAsString(IntToStr(line_number));
  combined_.FieldByName("OrderDate").SetAsString(IntToStr(lines_.FieldByName("IdProduct").AsInteger()));
  combined_.FieldByName("DelivDate").SetAsString(FormatFixed(quantity, 3));
  combined_.FieldByName("IdCustomer").SetAsString(FormatFixed(price, 2));
  combined_.FieldByName("Total").SetAsString(FormatFixed(price * quantity, 2));
  combined_.Post();
}

void TDbfOrderWriter::WriteCombinedTable() {
  headers_.AddSQL("Order by Id");
  lines_.AddSQL("Order by IdOrder");
  headers_.Open();
  lines_.Open();
  int line_number = 0;
  while (!headers_.Eof()) {
    AppendHeaderRow();
    const int32_t order_id = headers_.FieldByName("id").AsInteger();
    while (!lines_.Eof() && lines_.FieldByName("idorder").AsInteger() <= order_id) {
      if (lines_.FieldByName("idorder").AsInteger() == order_id) AppendLineRow(++line_number);
      lines_.Next();
    }
    headers_.Next();
  }
  headers_.Close();
  combined_.Close();
  lines_.Close();
  if (foxpro_) database_.Commit();
}

int32_t TDbfOrderWriter::Run() {
  Connect();
  for (const char* name : {"order.dbf", "orders.dbf", "orderitem.dbf", "cash.dbf"}) DeleteFile(name);
  CreateTables();
  OpenLive(combined_, CombinedOrdersQueryTexts());
  WriteOrderHeaders();
  WriteOrderLines();
  WriteCombinedTable();
  DeleteFile("Cash.dbf");
  if (orders_ == 0) {
    for (const char* name : {"Order.dbf", "OrderItem.dbf", "Orders.dbf"}) DeleteFile(name);
  } else {
    // Every row is in the files by now: inserted, committed under FoxPro, the queries closed.
    ClearOrderTables(session_, catalogue_, /*include_cash=*/false);
  }
  return orders_;
}

}  // namespace

int32_t ImportPalmToDbf(TExchangeSession& session, TPalmCatalogue& catalogue) {
  TDbfOrderWriter writer(session, catalogue);
  return writer.Run();
}
