#include "import/import_palm_to_pc.h"

#include "core/cp1251.h"
#include "exchange/client_dataset.h"
#include "import/import_test_fixture.h"

namespace {

using TRow = std::vector<std::pair<const char*, std::string>>;

TLoggedLine Progress(const char* utf8) { return {Ansi(utf8), 19}; }
TLoggedLine Loaded(int count) { return {Ansi("PALM-ПК: Загружено: ") + std::to_string(count), 19}; }

const char kOrderHeader[] =
    "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;NOTE;ORDERTIME;NOTE1;"
    "NOTE2\r\n";

class ImportPalmToPcTest : public ImportTest {
 protected:
  void FillOrders() {
    Fill(catalogue_->ptOrder, {{{"Id", "1"},
                                {"OrderDate", "05.03.2024"},
                                {"OrderTime", "10:15"},
                                {"DeliverDate", "06.03.2024"},
                                {"IdCustomer", "10"},
                                {"IdPayment", "2"},
                                {"Total", "150.5"},
                                {"CountRow", "2"},
                                {"NPrice", "1"},
                                {"PercentDiscount", "2.5"},
                                {"Note", "a;b\r\nc"},
                                {"Note1", "n1"},
                                {"Note2", ""}},
                               {{"Id", "2"}, {"IdCustomer", "11"}}});
    Fill(catalogue_->ptOrderItem, {{{"IdOrder", "1"}, {"IdProduct", "100"}, {"Quantity", "3"}, {"Price", "0.1"}}});
  }
  void FillCash() {
    Fill(catalogue_->ptCash, {{{"Id", "5"},
                               {"CashDate", "07.03.2024"},
                               {"IdCustomer", "10"},
                               {"IdCurrency", "1"},
                               {"CurrencyCurs", "1"},
                               {"CurrencySumma", "50"},
                               {"Summa", "50"},
                               {"Note", "cash"},
                               {"IdDoc", "3"}}});
  }
  void FillRoute() {
    Fill(catalogue_->ptRoute, {{{"Id", "7"},
                                {"Code", "ABCDEFGHIJKLMNOPQRST"},
                                {"Name", "Shop"},
                                {"Address", "Street 1"},
                                {"Note", ""},
                                {"RouteTime", "09:00"},
                                {"DayOfWeek", "2"},
                                {"Nomer", "3"},
                                {"OdometrStartValue", "100"},
                                {"OdometrValue", "150"},
                                {"RouteDate", "08.03.2024"},
                                {"IdCategory", "4"},
                                {"IdCustomer", "10"},
                                {"MakeOrder", "1"},
                                {"MakeQuest", "0"},
                                {"MakeCash", "1"},
                                {"MakePay", "1"},
                                {"SummaOrder", "150.5"},
                                {"SummaCash", "50"},
                                {"SummaPay", "0"},
                                {"IdWorks", "9"},
                                {"CompletedQuest", "1"},
                                {"CompletedPoint", "1"}}});
  }
  void FillProtocol() {
    Fill(catalogue_->ptProtocol, {{{"ACTIONDATE", "08.03.2024"},
                                   {"ACTIONTIME", "09:05"},
                                   {"IdRoute", "7"},
                                   {"IdCustomer", "10"},
                                   {"IdDoc", ""},
                                   {"Action", "visit"}}});
  }
  void FillAll() {
    FillOrders();
    FillCash();
    FillRoute();
    FillProtocol();
  }
  int32_t Import() { return ImportPalmToPc(session_, *catalogue_, text_table_); }
};

TEST_F(ImportPalmToPcTest, TextFilesHoldEveryRecordAndYesClearsTheOrders) {
  FillAll();
  recorder_.Answer = IDYES;
  EXPECT_EQ(Import(), 2);

  EXPECT_EQ(ExchangeFile("Order.txt"), std::string(kOrderHeader) +
                                           "1;10;05.03.2024;06.03.2024;2;150.5;2;1;2.5;a,b  c;10:15;n1;;\r\n"
                                           "2;11;30.12.1899;30.12.1899;0;0;0;0;0;;;;;\r\n");
  EXPECT_EQ(ExchangeFile("OrderItem.txt"), "IDORDER;IDPRODUCT;QUANTITY;PRICE;\r\n1;100;3;0.1;\r\n");
  EXPECT_EQ(ExchangeFile("Cash.txt"),
            "ID;IDCUSTOMER;CASHDATE;IDCURRENCY;CURRENCYCURS;CURRENCYSUMMA;SUMMA;NOTE;\r\n"
            "5;10;07.03.2024;1;1;50;50;cash;\r\n");
  EXPECT_EQ(ExchangeFile("RouteOut.txt"),
            "ID;CODE;NAME;ADDRESS;NOMER;IDCATEGORY;IDCUSTOMER;DAYOFWEEK;ROUTEDATE;ROUTETIME;ODOMETRSTARTVALUE;"
            "ODOMETRVALUE;MAKEORDER;MAKECASH;MAKEQUEST;SUMMAORDER;SUMMACASH;SUMMAPAY;NOTE;COMPLETEDQUEST;KINDVISIT;"
            "RESULTVISIT;\r\n"
            "7;ABCDEFGHIJKLMNOPQRST;Shop;Street 1;3;4;10;2;08.03.2024;09:00;100;150;1;1;0;150.5;50;0;;1;9;1;\r\n");
  EXPECT_EQ(ExchangeFile("Protocol.txt"),
            "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;\r\n08.03.2024;09:05;7;10;0;visit;\r\n");

  EXPECT_EQ(recorder_.Log, (std::vector<TLoggedLine>{Progress("PALM-ПК: Импорт заголовков документов"), Loaded(2),
                                                     Progress("PALM-ПК: Импорт строк документов"), Loaded(1),
                                                     Progress("PALM-ПК: Импорт кассы"), Loaded(1),
                                                     Progress("PALM-ПК: Импорт работы на маршруте"), Loaded(1),
                                                     Progress("PALM-ПК: Импорт протоколов работы"), Loaded(1),
                                                     Progress("ПК-PALM: Удаление старых данных")}));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, Ansi("Обмен завершен. Очистить таблицу заказов?"));
  EXPECT_EQ(recorder_.Boxes[0].Caption, Ansi("Удаление старых данных"));
  EXPECT_EQ(recorder_.Boxes[0].Style, 36u);
  EXPECT_EQ(recorder_.Status.back(), Ansi("ПК-PALM: Удаление старых данных"));
  for (int row = 2; row <= 6; ++row) EXPECT_TRUE(progress_.Marked(row)) << row;

  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptRoute), 1);
  EXPECT_EQ(RecordsOn(catalogue_->ptProtocol), 0);
}

TEST_F(ImportPalmToPcTest, WithoutOrdersNothingIsAskedAndEmptyFilesGo) {
  Fill(catalogue_->ptOrder, {});
  Fill(catalogue_->ptOrderItem, {});
  FillCash();
  Fill(catalogue_->ptRoute, {});
  recorder_.Answer = IDYES;
  EXPECT_EQ(Import(), 0);
  EXPECT_TRUE(recorder_.Boxes.empty());
  EXPECT_FALSE(ExchangeFileExists("Order.txt"));
  EXPECT_FALSE(ExchangeFileExists("OrderItem.txt"));
  EXPECT_FALSE(ExchangeFileExists("RouteOut.txt"));
  EXPECT_FALSE(ExchangeFileExists("Protocol.txt"));
  EXPECT_TRUE(ExchangeFileExists("Cash.txt"));
  EXPECT_EQ(recorder_.Log[1], Loaded(0));
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 1);
}

TEST_F(ImportPalmToPcTest, OrderTableWithoutNote1LeavesItsCellEmpty) {
  TpfgPalmFieldDefs& defs = catalogue_->ptOrder.FieldDefs();
  defs.Delete(catalogue_->ptOrder.FieldByName("Note1").Index());
  Fill(catalogue_->ptOrder, {{{"Id", "3"}, {"OrderDate", "01.02.2024"}, {"Note", "x"}, {"Note2", "two"}}});
  Fill(catalogue_->ptOrderItem, {});
  EXPECT_EQ(Import(), 1);
  EXPECT_EQ(ExchangeFile("Order.txt"), std::string(kOrderHeader) + "3;0;01.02.2024;30.12.1899;0;0;0;0;0;x;;;two;\r\n");
}

TEST_F(ImportPalmToPcTest, CashThatFailedStaysOnTheHandheldEvenAfterYes) {
  FillOrders();
  FillCash();
  Fill(catalogue_->ptRoute, {});
  TpfgPalmFieldDefs& defs = catalogue_->ptCash.FieldDefs();
  defs.Delete(catalogue_->ptCash.FieldByName("Note").Index());
  recorder_.Answer = IDYES;
  EXPECT_EQ(Import(), 2);
  ASSERT_EQ(recorder_.Boxes.size(), 2u);
  EXPECT_EQ(recorder_.Boxes[0].Text, Ansi("Ошибка при импорте документов оплат."));
  EXPECT_EQ(recorder_.Boxes[0].Caption, Ansi("Ошибка"));
  EXPECT_EQ(recorder_.Boxes[0].Style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
  EXPECT_FALSE(ExchangeFileExists("Cash.txt"));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 1);
}

TEST_F(ImportPalmToPcTest, ProtocolOfAnEarlierSessionIsKeptInItsFile) {
  WriteFileAtomic((root_ / "exchange" / "Protocol.txt").string(),
                  "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;\r\n07.03.2024;18:00;6;9;0;left;\r\n");
  FillProtocol();
  Fill(catalogue_->ptOrder, {});
  Fill(catalogue_->ptOrderItem, {});
  Import();
  EXPECT_EQ(ExchangeFile("Protocol.txt"),
            "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;\r\n07.03.2024;18:00;6;9;0;left;\r\n"
            "08.03.2024;09:05;7;10;0;visit;\r\n");
  EXPECT_EQ(RecordsOn(catalogue_->ptProtocol), 0);
}

TEST_F(ImportPalmToPcTest, DbfWritesNothingAndKeepsTheProtocol) {
  UseFormat(TExchangeFormat::DBF);
  FillAll();
  recorder_.Answer = IDYES;
  EXPECT_EQ(Import(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(root_ / "exchange"));
  EXPECT_TRUE(recorder_.Boxes.empty());
  EXPECT_EQ(recorder_.Log.size(), 5u);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
  EXPECT_EQ(RecordsOn(catalogue_->ptProtocol), 1);
}

TEST_F(ImportPalmToPcTest, XmlPacketsCutTextsToTheirWidthAndLeaveUndefinedFieldsNull) {
  UseFormat(TExchangeFormat::XML);
  TpfgPalmFieldDefs& defs = catalogue_->ptOrder.FieldDefs();
  defs.Delete(catalogue_->ptOrder.FieldByName("Note1").Index());
  Fill(catalogue_->ptOrder, {{{"Id", "3"}, {"Note", "a;b"}, {"Note2", "two"}}});
  Fill(catalogue_->ptOrderItem, {});
  FillRoute();
  EXPECT_EQ(Import(), 1);
  EXPECT_FALSE(ExchangeFileExists("Cash.xml"));
  EXPECT_TRUE(ExchangeFileExists("OrderItem.xml"));

  TClientDataSet orders;
  orders.LoadFromFile((root_ / "exchange" / "Order.xml").string());
  std::string names;
  for (const TFieldDef& def : orders.FieldDefs().Items()) names += def.Name + ";";
  EXPECT_EQ(names,
            "Id;IdCustomer;ORDERDATE;ORDERTIME;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;"
            "NOTE;NOTE1;NOTE2;");
  ASSERT_EQ(orders.RecordCount(), 1);
  orders.First();
  EXPECT_EQ(orders.FieldByName("NOTE").AsString(), "a;b");
  EXPECT_TRUE(orders.FieldByName("NOTE1").IsNull());
  EXPECT_EQ(orders.FieldByName("NOTE2").AsString(), "two");

  TClientDataSet route;
  route.LoadFromFile((root_ / "exchange" / "RouteOut.xml").string());
  route.First();
  EXPECT_EQ(route.FieldByName("CODE").AsString(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(route.FieldByName("CODE").Size(), 15);
  EXPECT_TRUE(route.FieldByName("Recno").IsNull());
  EXPECT_TRUE(route.FieldByName("MakePay").IsNull());
  EXPECT_EQ(route.FieldByName("KindVisit").AsInteger(), 9);
  EXPECT_EQ(route.FieldByName("ResultVisit").AsInteger(), 1);
  EXPECT_EQ(route.FieldByName("RouteDate").AsDateTime(), EncodeDate(2024, 3, 8));
}

}  // namespace
