// The import from the handheld as a user meets it: hotsync on a temporary home with the
// conduit registered, handheld data loaded by the handheld tool, exchange files checked byte
// for byte, the HotSync log line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "exchange/client_dataset.h"
#include "palmdb/palm_catalogue.h"
#include "tests/e2e/e2e_home.h"
#include "tools/device_connection.h"

namespace fs = std::filesystem;

namespace {

const char kOrders[] =
    "Id;OrderDate;OrderTime;DeliverDate;IdCustomer;IdPayment;Total;CountRow;NPrice;PercentDiscount;Note;Note1;Note2\r\n"
    "1;05.03.2024;10:15;06.03.2024;1;2;150.5;2;1;2.5;\xCF\xEE\xE7\xE2\xEE\xED\xE8\xF2\xFC;Urgent;\r\n"
    "2;05.03.2024;12:40;;1;1;99.9;1;2;0;;;Morning\r\n";
const char kOrderTxt[] =
    "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;NOTE;ORDERTIME;NOTE1;NOTE2\r\n"
    "1;1;05.03.2024;06.03.2024;2;150.5;2;1;2.5;\xCF\xEE\xE7\xE2\xEE\xED\xE8\xF2\xFC;10:15;Urgent;;\r\n"
    "2;1;05.03.2024;30.12.1899;1;99.9;1;2;0;;12:40;;Morning;\r\n";
const char kOrderItems[] = "IdOrder;IdProduct;Quantity;Price\r\n1;101;3;1.5\r\n1;102;0.5;2\r\n2;101;1;99.9\r\n";
const char kOrderItemTxt[] = "IDORDER;IDPRODUCT;QUANTITY;PRICE;\r\n1;101;3;1.5;\r\n1;102;0.5;2;\r\n2;101;1;99.9;\r\n";
const char kCash[] =
    "Id;CashDate;IdCustomer;IdCurrency;CurrencyCurs;CurrencySumma;Summa;Note;IdDoc\r\n"
    "5;07.03.2024;1;1;1;50;50;cash;3\r\n";
const char kRoute[] =
    "Id;Code;Name;Address;Note;RouteTime;DayOfWeek;Nomer;OdometrStartValue;OdometrValue;RouteDate;IdCategory;"
    "IdCustomer;MakeOrder;MakeQuest;MakeCash;MakePay;SummaOrder;SummaCash;SummaPay;IdWorks;CompletedQuest;"
    "CompletedPoint\r\n"
    "7;ABCDEFGHIJKLMNOPQRST;Shop;Street 1;ok;09:00;2;3;100;150;08.03.2024;4;1;1;0;1;1;150.5;50;0;9;1;1\r\n";
const char kRouteOutTxt[] =
    "ID;CODE;NAME;ADDRESS;NOMER;IDCATEGORY;IDCUSTOMER;DAYOFWEEK;ROUTEDATE;ROUTETIME;ODOMETRSTARTVALUE;"
    "ODOMETRVALUE;MAKEORDER;MAKECASH;MAKEQUEST;SUMMAORDER;SUMMACASH;SUMMAPAY;NOTE;COMPLETEDQUEST;KINDVISIT;"
    "RESULTVISIT;\r\n"
    "7;ABCDEFGHIJKLMNOPQRST;Shop;Street 1;3;4;1;2;08.03.2024;09:00;100;150;1;1;0;150.5;50;0;ok;1;9;1;\r\n";
const char kProtocol[] = "ACTIONDATE;ACTIONTIME;IdRoute;IdCustomer;IdDoc;Action\r\n08.03.2024;09:05;7;1;0;visit\r\n";
const char kProtocolHeader[] = "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;\r\n";

std::string Loaded(int count) { return Ansi("PALM-ПК: Загружено: ") + std::to_string(count); }
std::string Closing(int orders) {
  return "ZembraToPalm" + Ansi(" - Загружено: ") + std::to_string(orders) + Ansi(" заказов");
}

class ImportE2ETest : public ::testing::Test, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    MakeScratch("zp-e2e-import");
    ASSERT_NO_FATAL_FAILURE(AddUser("Agent", "Agent"));
    // The databases the export after the import rewrites are there, as the sales application keeps them.
    LoadEmptyReferenceDatabases();
  }

  // The settings and the three reference files the exchange needs.
  void UseFormat(const std::string& format) {
    WriteFileAtomic(home_ + "/ZembraToPalm.ini", "[COMMON]\r\nEXCHANGEFILEFORMAT=" + format + "\r\n");
    if (format == "XML") {
      WriteReferencePackets();
      return;
    }
    WriteReferenceTexts();
  }

  void WriteReferencePackets() {
    using enum TFieldType;
    TClientDataSet category;
    category.FieldDefs().Add("Id", ftInteger);
    category.FieldDefs().Add("IdParent", ftInteger);
    category.FieldDefs().Add("Name", ftString, 50);
    category.CreateDataSet();
    category.Append();
    category.FieldByName("Id").SetAsInteger(1);
    category.FieldByName("IdParent").SetAsInteger(0);
    category.FieldByName("Name").SetAsString("Drinks");
    category.Post();
    category.SaveToFile(exchange_ + "Category.xml");

    TClientDataSet customer;
    for (const char* name : {"Id", "nPrice", "IdCategory", "IdQuest"}) customer.FieldDefs().Add(name, ftInteger);
    for (const char* name : {"Code", "Name", "Address", "DateForDelivery"})
      customer.FieldDefs().Add(name, ftString, 100);
    for (const char* name : {"CurrentSaldo", "PercentDiscount"}) customer.FieldDefs().Add(name, ftFloat);
    customer.CreateDataSet();
    customer.Append();
    customer.FieldByName("Id").SetAsInteger(1);
    customer.FieldByName("Code").SetAsString("C1");
    customer.FieldByName("Name").SetAsString("Shop");
    customer.Post();
    customer.SaveToFile(exchange_ + "Customer.xml");

    TClientDataSet product;
    for (const char* name : {"Id", "IdCategory", "Aliquot"}) product.FieldDefs().Add(name, ftInteger);
    for (const char* name : {"Code", "Name", "Fullname", "Ed"}) product.FieldDefs().Add(name, ftString, 100);
    for (const char* name : {"Standard", "Quantity", "Price1", "Price2", "Price3", "Price4"}) {
      product.FieldDefs().Add(name, ftFloat);
    }
    product.CreateDataSet();
    product.Append();
    product.FieldByName("Id").SetAsInteger(101);
    product.FieldByName("IdCategory").SetAsInteger(1);
    product.FieldByName("Code").SetAsString("P1");
    product.FieldByName("Name").SetAsString("Juice");
    product.Post();
    product.SaveToFile(exchange_ + "Product.xml");
  }

  void LoadWorkTables(const char* cash, const char* route, const char* protocol) {
    Load("Zembra_CashDB", cash);
    Load("Zembra_RouteDB", route);
    if (protocol != nullptr) Load("Zembra_ProtocolDB", protocol);
  }

  // A sync whose conduit logs an error line exits 2.
  TProgramRun Sync(const char* answer, int exit_status = 0) {
    TProgramRun run = HotSync({"sync", "--user", "Agent", answer});
    EXPECT_EQ(run.ExitStatus, exit_status) << run.Err;
    return run;
  }

  std::string Exchange(const std::string& name) const { return ReadWholeFile(exchange_ + name); }
  bool InExchange(const std::string& name) const { return fs::exists(exchange_ + name); }

  // The log opens with the session's start, the import lines follow at once; the last line closes it.
  void ExpectLog(const std::vector<std::string>& import_lines, int orders) const {
    const std::vector<std::string> lines = LogLines();
    std::vector<std::string> expected{Line("Старт процедуры синхронизации ZembraToPalm")};
    expected.insert(expected.end(), import_lines.begin(), import_lines.end());
    ASSERT_GE(lines.size(), expected.size() + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
    EXPECT_EQ(lines.back(), Closing(orders));
  }
};

TEST_F(ImportE2ETest, EmptyOrderDatabaseLeavesOnlyTheProtocolAndAsksNothing) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", "Id;OrderDate\r\n");
  Load("Zembra_OrderItemDB", "IdOrder\r\n");
  LoadWorkTables("Id\r\n", "Id\r\n", "ACTIONDATE\r\n");
  const TProgramRun run = Sync("--yes");
  for (const char* name : {"Order.txt", "OrderItem.txt", "Cash.txt", "RouteOut.txt", "PayByDoc.txt"}) {
    EXPECT_FALSE(InExchange(name)) << name;
  }
  EXPECT_EQ(Exchange("Protocol.txt"), kProtocolHeader);
  EXPECT_EQ(run.Err.find(Cp1251ToUtf8(Ansi("Очистить"))), std::string::npos) << run.Err;
  ExpectLog({Line("PALM-ПК: Импорт заголовков документов"), Loaded(0), Line("PALM-ПК: Импорт строк документов"),
             Loaded(0), Line("PALM-ПК: Импорт кассы"), Loaded(0), Line("PALM-ПК: Импорт работы на маршруте"), Loaded(0),
             Line("PALM-ПК: Импорт протоколов работы"), Loaded(0)},
            0);
}

TEST_F(ImportE2ETest, OrdersWithoutCashAndYesClearTheOrders) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", kOrders);
  Load("Zembra_OrderItemDB", kOrderItems);
  LoadWorkTables("Id\r\n", kRoute, kProtocol);
  const TProgramRun run = Sync("--yes");
  EXPECT_EQ(Exchange("Order.txt"), kOrderTxt);
  EXPECT_EQ(Exchange("OrderItem.txt"), kOrderItemTxt);
  EXPECT_EQ(Exchange("RouteOut.txt"), kRouteOutTxt);
  EXPECT_EQ(Exchange("Protocol.txt"), std::string(kProtocolHeader) + "08.03.2024;09:05;7;1;0;visit;\r\n");
  EXPECT_FALSE(InExchange("Cash.txt"));
  EXPECT_NE(run.Err.find(Cp1251ToUtf8(Ansi("Обмен завершен. Очистить таблицу заказов?"))), std::string::npos)
      << run.Err;
  ExpectLog({Line("PALM-ПК: Импорт заголовков документов"), Loaded(2), Line("PALM-ПК: Импорт строк документов"),
             Loaded(3), Line("PALM-ПК: Импорт кассы"), Loaded(0), Line("PALM-ПК: Импорт работы на маршруте"), Loaded(1),
             Line("PALM-ПК: Импорт протоколов работы"), Loaded(1), Line("ПК-PALM: Удаление старых данных")},
            2);
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 0);
  EXPECT_EQ(RecordsOn("Zembra_OrderItemDB"), 0);
  EXPECT_EQ(RecordsOn("Zembra_RouteDB"), 1);
  EXPECT_EQ(RecordsOn("Zembra_ProtocolDB"), 0);
}

TEST_F(ImportE2ETest, NoKeepsOrdersAndCashOnTheHandheld) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", kOrders);
  Load("Zembra_OrderItemDB", kOrderItems);
  LoadWorkTables(kCash, kRoute, kProtocol);
  Sync("--no");
  EXPECT_EQ(Exchange("Cash.txt"),
            "ID;IDCUSTOMER;CASHDATE;IDCURRENCY;CURRENCYCURS;CURRENCYSUMMA;SUMMA;NOTE;\r\n"
            "5;1;07.03.2024;1;1;50;50;cash;\r\n");
  ExpectLog({Line("PALM-ПК: Импорт заголовков документов"), Loaded(2), Line("PALM-ПК: Импорт строк документов"),
             Loaded(3), Line("PALM-ПК: Импорт кассы"), Loaded(1), Line("PALM-ПК: Импорт работы на маршруте"), Loaded(1),
             Line("PALM-ПК: Импорт протоколов работы"), Loaded(1)},
            2);
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), Line("ПК-PALM: Удаление старых данных")), lines.end());
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 2);
  EXPECT_EQ(RecordsOn("Zembra_OrderItemDB"), 3);
  EXPECT_EQ(RecordsOn("Zembra_CashDB"), 1);
}

TEST_F(ImportE2ETest, XmlPacketsCutTheRouteCodeTo15Characters) {
  UseFormat("XML");
  Load("Zembra_OrderDB", kOrders);
  Load("Zembra_OrderItemDB", kOrderItems);
  LoadWorkTables(kCash, kRoute, kProtocol);
  Sync("--yes");
  const std::string route = Exchange("RouteOut.xml");
  EXPECT_NE(route.find("<FIELD attrname=\"CODE\" fieldtype=\"string\" WIDTH=\"15\"/>"), std::string::npos) << route;
  EXPECT_NE(route.find(" CODE=\"ABCDEFGHIJKLMNO\" "), std::string::npos) << route;
  const std::string orders = Exchange("Order.xml");
  EXPECT_NE(
      orders.find("<ROW RowState=\"4\" Id=\"2\" IdCustomer=\"1\" ORDERDATE=\"20240305\" ORDERTIME=\"12:40\" "
                  "DELIVERDATE=\"18991230\" IDPAYMENT=\"1\" TOTAL=\"99.90000000000001\" COUNTROW=\"1\" NPRICE=\"2\" "
                  "PERCENTDISCOUNT=\"0\" NOTE=\"\" NOTE1=\"\" NOTE2=\"Morning\"/>"),
      std::string::npos)
      << orders;
  EXPECT_TRUE(InExchange("OrderItem.xml"));
  EXPECT_TRUE(InExchange("Cash.xml"));
  EXPECT_TRUE(InExchange("Protocol.xml"));
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 0);
  EXPECT_EQ(RecordsOn("Zembra_CashDB"), 0);
  EXPECT_EQ(LogLines().back(), Closing(2));
}

TEST_F(ImportE2ETest, WithoutProtocolDatabaseAnEarlierProtocolFileStays) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", kOrders);
  Load("Zembra_OrderItemDB", kOrderItems);
  LoadWorkTables(kCash, kRoute, nullptr);
  WriteFileAtomic(exchange_ + "Protocol.txt", "from an earlier session\r\n");
  Sync("--no");
  EXPECT_EQ(Exchange("Protocol.txt"), "from an earlier session\r\n");
  ExpectLog({Line("PALM-ПК: Импорт заголовков документов"), Loaded(2), Line("PALM-ПК: Импорт строк документов"),
             Loaded(3), Line("PALM-ПК: Импорт кассы"), Loaded(1), Line("PALM-ПК: Импорт работы на маршруте"), Loaded(1),
             Line("PALM-ПК: Импорт протоколов работы")},
            2);
  // No count line follows the protocol's title.
  EXPECT_NE(LogLines().at(10).rfind(Ansi("PALM-ПК: Загружено: "), 0), 0u);
}

TEST_F(ImportE2ETest, OnlyPositivePaymentsReachPayByDoc) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", "Id\r\n");
  Load("Zembra_OrderItemDB", "IdOrder\r\n");
  LoadWorkTables("Id\r\n", "Id\r\n", nullptr);
  Load("Zembra_DocDB",
       "Id;IdOwner;IdInOwner;DateDoc;DatePaid;NDoc;Note;NotePay;TimePay;IdCustomer;IdTradeAgent;IdCurrency;"
       "CurrencyCurs;CurrencySumma;Summa;SummaSaldo;SummaReturn;SummaPaid;SummaPay;DatePay;IdCashOrder;Selected\r\n"
       "1;2;3;01.03.2024;15.03.2024;N-1;doc;paid;12:30;1;4;1;1.5;300;450;200;50;100;100;;9;1\r\n"
       "2;2;4;01.03.2024;15.03.2024;N-2;;;;1;4;1;1;10;10;10;0;0;0;05.03.2024;0;0\r\n"
       "3;2;5;01.03.2024;15.03.2024;N-3;;;;1;4;1;1;10;10;10;0;0;-5;05.03.2024;0;0\r\n");
  Sync("--no");
  EXPECT_EQ(Exchange("PayByDoc.txt"),
            "Id;IdOwner;IdInOwner;DateDoc;SrokOpl;Ndoc;Note;IdCustomer;IdTradeAgent;IdCurrency;CurrencyCurs;"
            "CurrencySumma;Summa;SummaReturn;SummaSaldo;SummaPaid;DatePay;TimePay;NotePay;SummaPay;\r\n"
            "1;2;3;01.03.2024;15.03.2024;N-1;doc;1;4;1;1.5;300;450;50;200;100;30.12.1899;12:30;paid;100;\r\n");
  const std::vector<std::string> lines = LogLines();
  const auto payments = std::find(lines.begin(), lines.end(), Line("PALM-ПК: Оплаты по документам отгрузки"));
  ASSERT_NE(payments, lines.end());
  ASSERT_NE(payments + 1, lines.end());
  EXPECT_EQ(*(payments + 1), Loaded(1));
  EXPECT_EQ(lines.back(), Closing(0));
}

TEST_F(ImportE2ETest, DelimiterInsideANoteStaysInItsColumn) {
  UseFormat("TXT");
  Load("Zembra_OrderItemDB", "IdOrder\r\n");
  LoadWorkTables("Id\r\n", "Id\r\n", nullptr);
  {
    // The handheld tool's files cannot carry a ';' inside a value; the table can.
    SetCurrentFormats(TFormatSettings{});
    TDeviceConnection connection(bin_, device_);
    TPalmCatalogue catalogue;
    catalogue.ptOrder.CreateTable();
    catalogue.ptOrder.Insert();
    catalogue.ptOrder.FieldByName("Id").SetAsString("9");
    catalogue.ptOrder.FieldByName("Note").SetAsString("one;two\r\nthree");
    catalogue.ptOrder.Post();
    catalogue.ptOrder.Close();
  }
  Sync("--no");
  EXPECT_EQ(Exchange("Order.txt"),
            "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;NOTE;ORDERTIME;"
            "NOTE1;NOTE2\r\n9;0;30.12.1899;30.12.1899;0;0;0;0;0;one,two  three;;;;\r\n");
}

// The session around the import: the checks that refuse an exchange, and the log as users read it.
using SessionE2ETest = ImportE2ETest;

TEST_F(SessionE2ETest, LeftoverOutputStopsTheExchangeAndLeavesTheHandheldAlone) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", kOrders);
  WriteFileAtomic(exchange_ + "routeout.TXT", "left over");
  const TProgramRun run = Sync("--yes", 2);
  std::string message = Line(
      "Данные предыдущего сеанса обмена не импортированы в систему учета\r"
      "Выполните процедуру импорта в систему учета или удалите файлы \r");
  for (const char* name : {"Order.txt", "OrderItem.txt", "Cash.txt", "PayByDoc.txt", "RouteOut.txt"}) {
    message += exchange_ + name + "\r";
  }
  message += Line("После этого повторите процедуру синхронизации\rПроцедура синхронизации прервана");
  EXPECT_EQ(LogLines(), (std::vector<std::string>{Line("Старт процедуры синхронизации ZembraToPalm"),
                                                  Line("Ошибка ZembraToPalm\r") + message, Closing(0)}));
  EXPECT_NE(run.Err.find(Cp1251ToUtf8(Line("Процедура синхронизации прервана"))), std::string::npos) << run.Err;
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 2);
  EXPECT_EQ(Exchange("routeout.TXT"), "left over");
  for (const char* name : {"Order.txt", "OrderItem.txt", "Protocol.txt", "PayByDoc.txt"}) {
    EXPECT_FALSE(InExchange(name)) << name;
  }
}

TEST_F(SessionE2ETest, TheLogIsWindows1251OnDiskAndShownInTheTerminalEncoding) {
  UseFormat("TXT");
  Load("Zembra_OrderDB", "Id\r\n");
  Load("Zembra_OrderItemDB", "IdOrder\r\n");
  LoadWorkTables("Id\r\n", "Id\r\n", nullptr);
  Sync("--no");
  const std::string on_disk = ReadWholeFile(home_ + "/Agent/HotSync.log");
  EXPECT_EQ(on_disk.rfind("\xD1\xF2\xE0\xF0\xF2 ", 0), 0u) << on_disk;  // "Старт " in Windows-1251
  EXPECT_NE(on_disk.find(Closing(0) + "\n"), std::string::npos);
  const TProgramRun log = HotSync({"log", "--user", "Agent"});
  ASSERT_EQ(log.ExitStatus, 0) << log.Err;
  EXPECT_EQ(log.Out, Cp1251ToUtf8(on_disk));
}

}  // namespace
