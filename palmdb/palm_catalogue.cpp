#include "palmdb/palm_catalogue.h"

#include <vector>

namespace {

struct TFieldDefinition {
  const char* name;
  TpfgPalmFieldType type;
};

struct TTableDefinition {
  TpfgPalmRemoteTable TPalmCatalogue::*table;
  const char* database;
  const char* type;
  uint16_t version;
  TpfgPalmRemoteTableOptions options;
  std::vector<TFieldDefinition> fields;
};

constexpr const char* kCreatorID = "Wqtz";

// clang-format off
const TTableDefinition kTables[] = {
    {&TPalmCatalogue::ptOrder, "Zembra_OrderDB", "ORDR", 0, {},
     {{"Id", ptLong}, {"OrderDate", ptDate}, {"OrderTime", ptString}, {"DeliverDate", ptDate},
      {"IdCustomer", ptLong}, {"IdPayment", ptLong}, {"Total", ptDouble}, {"CountRow", ptLong},
      {"NPrice", ptLong}, {"PercentDiscount", ptDouble}, {"Note", ptString}, {"Note1", ptString},
      {"Note2", ptString}}},
    {&TPalmCatalogue::ptOrderItem, "Zembra_OrderItemDB", "ORDI", 0, {},
     {{"IdOrder", ptLong}, {"IdProduct", ptLong}, {"Quantity", ptDouble}, {"Price", ptDouble}}},
    {&TPalmCatalogue::ptProduct, "Zembra_ProductDB", "PROD", 256, {},
     {{"Id", ptLong}, {"IdCategory", ptLong}, {"Code", ptString}, {"Name", ptString}, {"FullName", ptString},
      {"Ed", ptString}, {"Standard", ptDouble}, {"Quantity", ptDouble}, {"Price1", ptDouble},
      {"Price2", ptDouble}, {"Price3", ptDouble}, {"Price4", ptDouble}, {"Aliquot", ptLong}}},
    {&TPalmCatalogue::ptProductIndex, "Zembra_ProductIndexDB", "PROD", 256, {},
     {{"Name", ptLong}, {"Code", ptLong}, {"CatName", ptLong}, {"CatCode", ptLong}}},
    {&TPalmCatalogue::ptCustomer, "Zembra_CustomerDB", "CUST", 256, {opStringsAlign},
     {{"Id", ptLong}, {"Code", ptString}, {"Name", ptString}, {"Address", ptString}, {"IDQuest", ptLong},
      {"DateForDelivery", ptString}, {"CurrentSaldo", ptDouble}, {"Nprice", ptLong},
      {"PercentDiscount", ptDouble}, {"IdCategory", ptLong}}},
    {&TPalmCatalogue::ptCategory, "Zembra_CategoryDB", "PRCA", 256, {},
     {{"Id", ptLong}, {"IdParent", ptLong}, {"Name", ptString}, {"Level", ptLong}, {"ProductCount", ptLong},
      {"Expanded", ptLong}, {"Childcount", ptLong}}},
    {&TPalmCatalogue::ptTypePayment, "Zembra_TypePaymentDB", "TPAY", 256, {},
     {{"Id", ptLong}, {"Name", ptString}, {"DayToOpl", ptLong}}},
    {&TPalmCatalogue::ptTypePrice, "Zembra_TypePriceDB", "TPRI", 256, {}, {{"Id", ptLong}, {"Name", ptString}}},
    {&TPalmCatalogue::ptDoc, "Zembra_DocDB", "ORDR", 0, {},
     {{"Id", ptLong}, {"IdOwner", ptLong}, {"IdInOwner", ptLong}, {"DateDoc", ptDate}, {"DatePaid", ptDate},
      {"NDoc", ptString}, {"Note", ptString}, {"NotePay", ptString}, {"TimePay", ptString},
      {"IdCustomer", ptLong}, {"IdTradeAgent", ptLong}, {"IdCurrency", ptLong}, {"CurrencyCurs", ptDouble},
      {"CurrencySumma", ptDouble}, {"Summa", ptDouble}, {"SummaSaldo", ptDouble}, {"SummaReturn", ptDouble},
      {"SummaPaid", ptDouble}, {"SummaPay", ptDouble}, {"DatePay", ptDate}, {"IdCashOrder", ptLong},
      {"Selected", ptWord}}},
    {&TPalmCatalogue::ptCurrency, "Zembra_CurrencyDB", "ORDR", 0, {},
     {{"Id", ptLong}, {"Code", ptString}, {"Name", ptString}, {"IsMain", ptLong}}},
    {&TPalmCatalogue::ptCurrencyCurs, "Zembra_CurrencyCursDB", "ORDR", 0, {},
     {{"IdCurrency", ptLong}, {"DateCurs", ptDate}, {"Curs", ptDouble}}},
    {&TPalmCatalogue::ptCash, "Zembra_CashDB", "ORDR", 0, {},
     {{"Id", ptLong}, {"CashDate", ptDate}, {"IdCustomer", ptLong}, {"IdCurrency", ptLong},
      {"CurrencyCurs", ptDouble}, {"CurrencySumma", ptDouble}, {"Summa", ptDouble}, {"Note", ptString},
      {"IdDoc", ptLong}}},
    {&TPalmCatalogue::ptCustomerIndex, "Zembra_CustomerIndexDB", "PROD", 256, {},
     {{"Name", ptLong}, {"Code", ptLong}, {"CatName", ptLong}, {"CatCode", ptLong}}},
    {&TPalmCatalogue::ptRoute, "Zembra_RouteDB", "ROUT", 256, {},
     {{"Id", ptLong}, {"Code", ptString}, {"Name", ptString}, {"Address", ptString}, {"Note", ptString},
      {"RouteTime", ptString}, {"DayOfWeek", ptLong}, {"Nomer", ptLong}, {"OdometrStartValue", ptLong},
      {"OdometrValue", ptLong}, {"RouteDate", ptDate}, {"IdCategory", ptLong}, {"IdCustomer", ptLong},
      {"MakeOrder", ptLong}, {"MakeQuest", ptLong}, {"MakeCash", ptLong}, {"MakePay", ptLong},
      {"SummaOrder", ptDouble}, {"SummaCash", ptDouble}, {"SummaPay", ptDouble}, {"IdWorks", ptLong},
      {"CompletedQuest", ptLong}, {"CompletedPoint", ptLong}}},
    {&TPalmCatalogue::ptRouteIndex, "Zembra_RouteIndexDB", "PROC", 256, {},
     {{"Name", ptLong}, {"Code", ptLong}, {"CatName", ptLong}, {"CatCode", ptLong}}},
    {&TPalmCatalogue::ptTradeAgent, "Zembra_TradeAgentsDB", "TRAG", 256, {}, {{"Id", ptLong}, {"Name", ptString}}},
    {&TPalmCatalogue::ptQuest, "Zembra_QuestDb", "ANIT", 256, {}, {{"Id", ptLong}, {"Name", ptString}}},
    {&TPalmCatalogue::ptQuestItem, "Zembra_QuestItemDb", "ANIT", 256, {},
     {{"Id", ptLong}, {"IdQuest", ptLong}, {"Msg1", ptString}, {"Msg2", ptString}, {"Msg3", ptString},
      {"Msg4", ptString}, {"Msg5", ptString}, {"QuestType", ptString}}},
    {&TPalmCatalogue::ptAnswer, "Zembra_AnswerDb", "ANIT", 256, {},
     {{"Id", ptLong}, {"IDQUEST", ptLong}, {"IDCUSTOMER", ptLong}, {"DATEANSWER", ptDate}, {"TIMEANSWER", ptLong}}},
    {&TPalmCatalogue::ptAnswerItem, "Zembra_AnswerItemDb", "ANIT", 256, {},
     {{"Id", ptLong}, {"IDANSWER", ptLong}, {"IDQUESTITEM", ptLong}, {"ANSWERVALUE", ptString}}},
    {&TPalmCatalogue::ptNote1, "Zembra_Note1DB", "NOTE", 0, {}, {{"Name", ptString}}},
    {&TPalmCatalogue::ptNote2, "Zembra_Note2DB", "NOTE", 0, {}, {{"Name", ptString}}},
    {&TPalmCatalogue::ptProtocol, "Zembra_ProtocolDB", "Prot", 0, {},
     {{"ACTIONDATE", ptDate}, {"ACTIONTIME", ptString}, {"IdRoute", ptLong}, {"IdCustomer", ptLong},
      {"IdDoc", ptLong}, {"Action", ptString}}},
};
// clang-format on

static_assert(std::size(kTables) == TPalmCatalogue::kTableCount);

}  // namespace

TPalmCatalogue::TPalmCatalogue() {
  size_t index = 0;
  for (const TTableDefinition& definition : kTables) {
    TpfgPalmRemoteTable& table = this->*definition.table;
    table.SetTableName(definition.database);
    table.SetCreatorID(kCreatorID);
    table.SetTableType(definition.type);
    table.SetVersion(definition.version);
    table.SetOptions(definition.options);
    for (const TFieldDefinition& field : definition.fields) table.FieldDefs().Add(field.name, field.type);
    tables_[index++] = &table;
  }
}

TpfgPalmRemoteTable* TPalmCatalogue::FindByDatabaseName(std::string_view name) const {
  for (TpfgPalmRemoteTable* table : tables_) {
    if (table->TableName() == name) return table;
  }
  return nullptr;
}
