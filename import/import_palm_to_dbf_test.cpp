#include "import/import_palm_to_dbf.h"

#include <filesystem>

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "exchange/odbc_connection_lines.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_query.h"
#include "exchange/odbc_test_drivers.h"
#include "import/import_test_fixture.h"

namespace {

using TTextRow = std::vector<std::string>;

constexpr const char* kFoxProDriver = "Microsoft FoxPro VFP Driver (*.dbf)";
constexpr const char* kDbaseDriver = "Microsoft dBase Driver (*.dbf)";

class ImportPalmToDbfTest : public ImportTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    if (IsSkipped()) return;
    if (!BuildRegistersDriver(GetParam())) GTEST_SKIP() << "not registered: " << GetParam();
    UseTestDriverRegistry();
    UseFormat(TExchangeFormat::TXTINDBFOUT);
    session_.Settings.ODBCDriverName = GetParam();
  }

  // Orders 7 and 5 (7 first on the handheld), three lines of 5, one of 7, one of no order and one
  // of an order below every header; the cash database holds one record.
  void FillHandheld() {
    Fill(catalogue_->ptOrder, {{{"Id", "7"},
                                {"OrderDate", "05.03.2024"},
                                {"DeliverDate", "06.03.2024"},
                                {"IdCustomer", "10"},
                                {"IdPayment", "2"},
                                {"Total", "150.5"},
                                {"CountRow", "1"},
                                {"NPrice", "3"},
                                {"PercentDiscount", "2.5"},
                                {"Note", std::string(250, 'x')},
                                {"OrderTime", "10:15"},
                                {"Note1", Ansi("Срочно")},
                                {"Note2", ""}},
                               {{"Id", "5"}, {"OrderDate", "01.02.2024"}, {"IdCustomer", "11"}, {"Total", "7"}}});
    Fill(catalogue_->ptOrderItem, {{{"IdOrder", "5"}, {"IdProduct", "100"}, {"Quantity", "2.5"}, {"Price", "10"}},
                                   {{"IdOrder", "7"}, {"IdProduct", "101"}, {"Quantity", "1"}, {"Price", "0.125"}},
                                   {{"IdOrder", "99"}, {"IdProduct", "102"}, {"Quantity", "1"}, {"Price", "1"}},
                                   {{"IdOrder", "5"}, {"IdProduct", "103"}, {"Quantity", "3"}, {"Price", "1.5"}},
                                   {{"IdOrder", "1"}, {"IdProduct", "104"}, {"Quantity", "1"}, {"Price", "1"}},
                                   {{"IdOrder", "5"}, {"IdProduct", "105"}, {"Quantity", "1"}, {"Price", "2"}}});
    Fill(catalogue_->ptCash, {{{"Id", "1"}, {"Summa", "50"}}});
  }

  // Every row of a table in the exchange directory as text, read back through the same driver.
  std::vector<TTextRow> Rows(const std::string& table, const std::vector<std::string>& columns) {
    TmDataBase database;
    database.Params = DbaseConnectionLines(GetParam(), session_.Directory);
    database.Connect();
    TmQuery query(&database);
    query.SetSQL({"select * from \"" + table + "\""});
    query.Open();
    std::vector<TTextRow> rows;
    for (; !query.Eof(); query.Next()) {
      TTextRow row;
      for (const std::string& column : columns) row.push_back(query.FieldByName(column).AsString());
      rows.push_back(row);
    }
    return rows;
  }

  int32_t Import() { return ImportPalmToDbf(session_, *catalogue_); }
};

TEST_P(ImportPalmToDbfTest, TheCombinedTableFollowsEachHeaderWithItsLinesInIdOrder) {
  FillHandheld();
  EXPECT_EQ(Import(), 2);

  // Values are pinned value for value by the end-to-end test; here the row order and the line sums.
  const std::string note(200, 'x');
  EXPECT_EQ(Rows("orders.dbf", {"Idorder", "Iditem", "OrderDate", "DelivDate", "IdCustomer", "Total", "Prim"}),
            (std::vector<TTextRow>{{"5", "0", "01.02.2024", "30.12.1899", "11", "7.00", ""},
                                   {"5", "1", "100", "2.500", "10.00", "25.00", ""},
                                   {"5", "2", "103", "3.000", "1.50", "4.50", ""},
                                   {"5", "3", "105", "1.000", "2.00", "2.00", ""},
                                   {"7", "0", "05.03.2024", "06.03.2024", "10", "150.50", note},
                                   {"7", "4", "101", "1.000", "0.13", "0.13", ""}}));
  // The order table keeps the handheld's order; lines of no header are only in the line table.
  EXPECT_EQ(Rows("order.dbf", {"id", "Prim", "Note1"}),
            (std::vector<TTextRow>{{"7", note, Ansi("Срочно")}, {"5", "", ""}}));
  EXPECT_EQ(Rows("orderitem.dbf", {"idorder", "IdProduct"}).size(), 6u);
}

TEST_P(ImportPalmToDbfTest, YesEmptiesTheOrdersButNeverTheCash) {
  FillHandheld();
  std::filesystem::create_directories(root_ / "exchange");
  WriteFileAtomic((root_ / "exchange" / "CASH.DBF").string(), "stale");
  recorder_.Answer = IDYES;
  Import();

  EXPECT_FALSE(ExchangeFileExists("CASH.DBF"));
  EXPECT_EQ(recorder_.LogTexts(), (std::vector<std::string>{Ansi("PALM-ПК: Импорт заголовков документов"),
                                                            Ansi("PALM-ПК: Импорт строк документов"),
                                                            Ansi("ПК-PALM: Удаление старых данных")}));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, Ansi("Обмен завершен. Очистить таблицу заказов?"));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 1);
  EXPECT_TRUE(progress_.Marked(2));
  EXPECT_TRUE(progress_.Marked(3));
}

TEST_P(ImportPalmToDbfTest, NoOrdersDeletesEveryOrderFileAndAsksNothing) {
  Fill(catalogue_->ptOrder, {});
  Fill(catalogue_->ptOrderItem, {{{"IdOrder", "5"}, {"IdProduct", "100"}}});
  WriteFileAtomic((root_ / "exchange" / "Order.DBF").string(), "stale");
  recorder_.Answer = IDYES;
  EXPECT_EQ(Import(), 0);
  for (const char* name : {"order.dbf", "Order.DBF", "orderitem.dbf", "orders.dbf"}) {
    EXPECT_FALSE(ExchangeFileExists(name)) << name;
  }
  EXPECT_TRUE(recorder_.Boxes.empty());
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 1);
}

TEST_P(ImportPalmToDbfTest, TheRegionalSeparatorReachesTheCombinedTable) {
  FillHandheld();
  SetCurrentFormats(TFormatSettings{',', '.', ':', TDateOrder::DayMonthYear});
  Import();
  SetCurrentFormats(TFormatSettings{});
  const std::vector<TTextRow> rows = Rows("orders.dbf", {"DelivDate", "IdCustomer", "Total"});
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1], (TTextRow{"2,500", "10,00", "25,00"}));
  EXPECT_EQ(rows[4][2], "150,50");
}

TEST_P(ImportPalmToDbfTest, AFailureLeavesTheHandheldAsItWasAndAsksNothing) {
  FillHandheld();
  // A file in the way of the combined table's creation: the driver refuses the statement.
  std::filesystem::create_directories(root_ / "exchange" / "orders.dbf" / "inside");
  recorder_.Answer = IDYES;
  EXPECT_THROW(Import(), Exception);
  EXPECT_TRUE(recorder_.Boxes.empty());
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 6);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, ImportPalmToDbfTest, ::testing::Values(kFoxProDriver, kDbaseDriver),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(IsVfpDriver(info.param) ? "FoxPro" : "Dbase");
                         });

}  // namespace
