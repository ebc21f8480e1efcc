#include "import/import_step_tables.h"

namespace {

using enum THandheldValueKind;
using enum TFieldType;

// Order headers.
constexpr TXmlFieldSpec kOrderFields[] = {
    {"Id", ftInteger},           {"IdCustomer", ftInteger},    {"ORDERDATE", ftDateTime}, {"ORDERTIME", ftString, 12},
    {"DELIVERDATE", ftDateTime}, {"IDPAYMENT", ftInteger},     {"TOTAL", ftFloat},        {"COUNTROW", ftInteger},
    {"NPRICE", ftInteger},       {"PERCENTDISCOUNT", ftFloat}, {"NOTE", ftString, 200},   {"NOTE1", ftString, 200},
    {"NOTE2", ftString, 200}};
constexpr TFieldMapping kOrderMappings[] = {{"ID", "Id", Integer},
                                            {"IDCUSTOMER", "IdCustomer", Integer},
                                            {"ORDERDATE", "OrderDate", Date},
                                            {"DELIVERDATE", "DeliverDate", Date},
                                            {"IDPAYMENT", "IdPayment", Integer},
                                            {"TOTAL", "Total", Float},
                                            {"COUNTROW", "CountRow", Integer},
                                            {"NPRICE", "NPrice", Integer},
                                            {"PERCENTDISCOUNT", "PercentDiscount", Float},
                                            {"NOTE", "Note", Text},
                                            {"ORDERTIME", "OrderTime", Text},
                                            {"NOTE1", "Note1", Text, "Note1"},
                                            {"NOTE2", "Note2", Text, "Note2"}};

// Order lines.
constexpr TXmlFieldSpec kOrderItemFields[] = {
    {"IDORDER", ftInteger}, {"IDPRODUCT", ftInteger}, {"QUANTITY", ftFloat}, {"PRICE", ftFloat}};
constexpr TFieldMapping kOrderItemMappings[] = {{"IDORDER", "IdOrder", Integer},
                                                {"IDPRODUCT", "IdProduct", Integer},
                                                {"QUANTITY", "Quantity", Float},
                                                {"PRICE", "Price", Float}};

// Cash; the handheld's IdDoc stays on the handheld.
constexpr TXmlFieldSpec kCashFields[] = {
    {"ID", ftInteger},         {"CASHDATE", ftDateTime},   {"IDCUSTOMER", ftInteger}, {"IDCURRENCY", ftInteger},
    {"CURRENCYCURS", ftFloat}, {"CURRENCYSUMMA", ftFloat}, {"Summa", ftFloat},        {"Note", ftString, 200}};
constexpr TFieldMapping kCashMappings[] = {{"ID", "Id", Integer},
                                           {"CASHDATE", "CashDate", Date},
                                           {"IDCUSTOMER", "IdCustomer", Integer},
                                           {"IDCURRENCY", "IdCurrency", Integer},
                                           {"CURRENCYCURS", "CurrencyCurs", Float},
                                           {"CURRENCYSUMMA", "CurrencySumma", Float},
                                           {"SUMMA", "Summa", Float},
                                           {"NOTE", "Note", Text}};

// Route work. Recno and MakePay are packet fields that nothing fills; every value is copied only
// when the handheld table defines its presence field. The kind of visit is the handheld's work
// identifier, the result of the visit its completion mark.
constexpr TXmlFieldSpec kRouteFields[] = {{"Recno", ftInteger},
                                          {"Id", ftInteger},
                                          {"CODE", ftString, 15},
                                          {"Name", ftString, 50},
                                          {"Address", ftString, 80},
                                          {"Nomer", ftInteger},
                                          {"IdCategory", ftInteger},
                                          {"IdCustomer", ftInteger},
                                          {"DayOfWeek", ftInteger},
                                          {"RouteDate", ftDateTime},
                                          {"RouteTime", ftString, 10},
                                          {"OdometrValue", ftInteger},
                                          {"OdometrStartValue", ftInteger},
                                          {"MakeOrder", ftInteger},
                                          {"MakePay", ftInteger},
                                          {"MakeCash", ftInteger},
                                          {"MakeQuest", ftInteger},
                                          {"SummaOrder", ftFloat},
                                          {"SummaCash", ftFloat},
                                          {"SummaPay", ftFloat},
                                          {"Note", ftString, 200},
                                          {"KindVisit", ftInteger},
                                          {"ResultVisit", ftInteger},
                                          {"CompletedQuest", ftInteger}};
constexpr TFieldMapping kRouteMappings[] = {{"ID", "Id", Integer, "Id"},
                                            {"CODE", "Code", Text, "CODE"},
                                            {"NAME", "Name", Text, "NAME"},
                                            {"ADDRESS", "ADDRESS", Text, "ADDRESS"},
                                            {"NOMER", "NOMER", Integer, "NOMER"},
                                            {"IDCATEGORY", "IDCATEGORY", Integer, "IdCategory"},
                                            {"IDCUSTOMER", "IDCUSTOMER", Integer, "Idcustomer"},
                                            {"DAYOFWEEK", "DAYOFWEEK", Integer, "DAYOFWEEK"},
                                            {"ROUTEDATE", "ROUTEDATE", Date, "ROUTEDATE"},
                                            {"ROUTETIME", "ROUTETIME", Text, "ROUTETIME"},
                                            {"ODOMETRVALUE", "ODOMETRVALUE", Integer, "ODOMETRVALUE"},
                                            {"ODOMETRSTARTVALUE", "ODOMETRSTARTVALUE", Integer, "ODOMETRSTARTVALUE"},
                                            {"MAKEORDER", "MAKEORDER", Integer, "MAKEORDER"},
                                            {"MAKECASH", "MAKECASH", Integer, "MAKECASH"},
                                            {"MAKEQUEST", "MAKEQUEST", Integer, "MAKEQUEST"},
                                            {"SUMMAORDER", "SUMMAORDER", Float, "SUMMAORDER"},
                                            {"SUMMACASH", "SUMMACASH", Float, "SUMMACASH"},
                                            {"SUMMAPAY", "SUMMAPAY", Float, "SUMMAPAY"},
                                            {"NOTE", "Note", Text, "Note"},
                                            {"KINDVISIT", "IdWorks", Integer, "IdWorks"},
                                            {"RESULTVISIT", "CompletedPoint", Integer, "CompletedPoint"},
                                            {"COMPLETEDQUEST", "CompletedQuest", Integer, "CompletedQuest"}};

// Work protocol; every value only when the handheld table defines its field.
constexpr TXmlFieldSpec kProtocolFields[] = {{"ActionDate", ftDateTime}, {"ActionTime", ftString, 10},
                                             {"IdRoute", ftInteger},     {"IdCustomer", ftInteger},
                                             {"Iddoc", ftInteger},       {"Action", ftString, 200}};
constexpr TFieldMapping kProtocolMappings[] = {
    {"ACTIONDATE", "ACTIONDATE", Date, "ACTIONDATE"},    {"ACTIONTIME", "ACTIONTIME", Text, "ACTIONTIME"},
    {"IDCUSTOMER", "IdCustomer", Integer, "IdCustomer"}, {"IDDOC", "IdDoc", Integer, "IdDoc"},
    {"IDROUTE", "IdRoute", Integer, "IdRoute"},          {"ACTION", "Action", Text, "Action"}};

// Payments by documents; IdCashOrder and Selected stay on the handheld.
constexpr TXmlFieldSpec kPayByDocFields[] = {
    {"Id", ftInteger},         {"IdOwner", ftInteger},     {"IdInOwner", ftInteger},    {"DATEDOC", ftDateTime},
    {"SrokOpl", ftDateTime},   {"DATEPAY", ftDateTime},    {"TIMEPAY", ftString, 12},   {"NDOC", ftString, 20},
    {"NOTE", ftString, 200},   {"IdCustomer", ftInteger},  {"IdTradeAgent", ftInteger}, {"IdCurrency", ftInteger},
    {"CurrencyCurs", ftFloat}, {"CurrencySumma", ftFloat}, {"Summa", ftFloat},          {"SummaReturn", ftFloat},
    {"SummaSaldo", ftFloat},   {"SummaPaid", ftFloat},     {"SummaPay", ftFloat},       {"NOTEPay", ftString, 200}};
constexpr TFieldMapping kPayByDocMappingList[] = {{"Id", "Id", Integer},
                                                  {"IdOwner", "IdOwner", Integer},
                                                  {"IdInOwner", "IdInOwner", Integer},
                                                  {"DateDoc", "DateDoc", Date},
                                                  {"SrokOpl", "DatePaid", Date},
                                                  {"Ndoc", "NDoc", Text},
                                                  {"Note", "Note", Text},
                                                  {"IdCustomer", "IdCustomer", Integer},
                                                  {"IdTradeAgent", "IdTradeAgent", Integer},
                                                  {"IdCurrency", "IdCurrency", Integer},
                                                  {"CurrencyCurs", "CurrencyCurs", Float},
                                                  {"CurrencySumma", "CurrencySumma", Float},
                                                  {"Summa", "Summa", Float},
                                                  {"SummaReturn", "SummaReturn", Float},
                                                  {"SummaSaldo", "SummaSaldo", Float},
                                                  {"SummaPaid", "SummaPaid", Float},
                                                  {"DatePay", "DatePay", Date},
                                                  {"TimePay", "TimePay", Text},
                                                  {"NotePay", "NotePay", Text},
                                                  {"SummaPay", "SummaPay", Float}};

}  // namespace

constinit const TImportStepDef kOrderStep{
    "PALM-ПК: Импорт заголовков документов",
    2,
    &TPalmCatalogue::ptOrder,
    {"Order.txt",
     "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;NOTE;"
     "ORDERTIME;NOTE1;NOTE2",
     TEarlierFile::None, "Order.xml", kOrderFields},
    kOrderMappings};

constinit const TImportStepDef kOrderItemStep{
    "PALM-ПК: Импорт строк документов",
    3,
    &TPalmCatalogue::ptOrderItem,
    {"OrderItem.txt", "IDORDER;IDPRODUCT;QUANTITY;PRICE;", TEarlierFile::None, "OrderItem.xml", kOrderItemFields},
    kOrderItemMappings};

constinit const TImportStepDef kCashStep{
    "PALM-ПК: Импорт кассы",
    4,
    &TPalmCatalogue::ptCash,
    {"Cash.txt", "ID;IDCUSTOMER;CASHDATE;IDCURRENCY;CURRENCYCURS;CURRENCYSUMMA;SUMMA;NOTE;", TEarlierFile::None,
     "Cash.xml", kCashFields},
    kCashMappings};

constinit const TImportStepDef kRouteStep{
    "PALM-ПК: Импорт работы на маршруте",
    5,
    &TPalmCatalogue::ptRoute,
    {"RouteOut.txt",
     "ID;CODE;NAME;ADDRESS;NOMER;IDCATEGORY;IDCUSTOMER;DAYOFWEEK;ROUTEDATE;ROUTETIME;ODOMETRSTARTVALUE;"
     "ODOMETRVALUE;MAKEORDER;MAKECASH;MAKEQUEST;SUMMAORDER;SUMMACASH;SUMMAPAY;NOTE;COMPLETEDQUEST;KINDVISIT;"
     "RESULTVISIT;",
     TEarlierFile::Replaced, "RouteOut.xml", kRouteFields},
    kRouteMappings};

constinit const TImportStepDef kProtocolStep{"PALM-ПК: Импорт протоколов работы",
                                             6,
                                             &TPalmCatalogue::ptProtocol,
                                             {"Protocol.txt", "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;",
                                              TEarlierFile::Extended, "Protocol.xml", kProtocolFields},
                                             kProtocolMappings,
                                             true};

constinit const TOutputLayout kPayByDocLayout{
    "PayByDoc.txt",
    "Id;IdOwner;IdInOwner;DateDoc;SrokOpl;Ndoc;Note;IdCustomer;IdTradeAgent;IdCurrency;CurrencyCurs;"
    "CurrencySumma;Summa;SummaReturn;SummaSaldo;SummaPaid;DatePay;TimePay;NotePay;SummaPay;",
    TEarlierFile::None, "PayByDoc.xml", kPayByDocFields};

constinit const std::span<const TFieldMapping> kPayByDocMappings = kPayByDocMappingList;
