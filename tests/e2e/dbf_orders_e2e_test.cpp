// The dBase order output as a user meets it: hotsync under "TXTINDBFOUT" with the FoxPro and a
// dBase driver name, the tables read back by an independent reader (dbfread) value for value.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "tests/e2e/e2e_home.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kReaderMissing = 77;

const std::string kLongNote(250, 'x');
const std::string kCutNote(200, 'x');

// Orders 7 and 5, 7 first on the handheld; three lines of 5, one of 7 and one of no order.
std::string OrdersText() {
  return "Id;OrderDate;OrderTime;DeliverDate;IdCustomer;IdPayment;Total;CountRow;NPrice;PercentDiscount;Note;Note1;"
         "Note2\r\n"
         "7;05.03.2024;10:15;06.03.2024;10;2;150.5;1;3;2.5;" +
         kLongNote + ";" + Line("Срочно, до обеда") +
         ";\r\n"
         "5;01.02.2024;;;11;0;7;3;1;0;" +
         Line("Магазин №1") + ";;\r\n";
}
const char kOrderLines[] =
    "IdOrder;IdProduct;Quantity;Price\r\n5;100;2.5;10\r\n7;101;1;0.125\r\n99;102;1;1\r\n5;103;3;1.5\r\n5;105;1;2\r\n";

struct TDriverCase {
  const char* Name;
  const char* FloatField;  // how a Float / Numeric(15,3) column lands in the file
};

void PrintTo(const TDriverCase& driver, std::ostream* out) { *out << driver.Name; }

class DbfOrdersE2ETest : public ::testing::TestWithParam<TDriverCase>, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    MakeScratch("zp-e2e-dbf");
    ASSERT_NO_FATAL_FAILURE(AddUser("Agent", "Agent"));
    WriteFileAtomic(home_ + "/ZembraToPalm.ini", std::string("[COMMON]\r\nEXCHANGEFILEFORMAT=TXTINDBFOUT\r\n") +
                                                     "ODBCDRIVERNAME=" + GetParam().Name + "\r\n");
    WriteReferenceTexts("10", "100");
    LoadEmptyReferenceDatabases();
    Load("Zembra_CashDB", "Id;CashDate;IdCustomer;Summa\r\n3;07.03.2024;10;50\r\n");
  }

  void Sync(const char* answer) {
    const TProgramRun run = HotSync({"sync", "--user", "Agent", answer});
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
  }

  // The table as dbfread reads it: the field line, then one line per record (Windows-1251).
  std::vector<std::string> ReadTable(const std::string& name) {
    const TProgramRun run = RunProgram(kPython, {ZP_DUMP_DBF_SCRIPT, exchange_ + name}, root_.string());
    if (run.ExitStatus == kReaderMissing) {
      reader_missing_ = true;
      return {};
    }
    EXPECT_EQ(run.ExitStatus, 0) << run.Err;
    return LinesOf(run.Out);
  }

  std::string Number(const char* name) const { return std::string(name) + ":N:" + GetParam().FloatField; }

  bool reader_missing_ = false;
};

TEST_P(DbfOrdersE2ETest, YesWritesTheThreeTablesValueForValueAndClearsOnlyTheOrders) {
  Load("Zembra_OrderDB", OrdersText());
  Load("Zembra_OrderItemDB", kOrderLines);
  Sync("--yes");

  const std::vector<std::string> combined = ReadTable("orders.dbf");
  if (reader_missing_) GTEST_SKIP() << "python3-dbfread is not installed";
  const std::string blanks = "\t\t\t\t\t\t\t";
  EXPECT_EQ(combined,
            (std::vector<std::string>{
                "Idorder:C:15:0\tIditem:C:15:0\tOrderDate:C:15:0\tDelivDate:C:15:0\tIdCustomer:C:15:0\t"
                "IdPayment:C:15:0\tTotal:C:18:0\tCountRow:C:15:0\tIdPrice:C:15:0\tDiscount:C:15:0\tPrim:C:200:0\t"
                "OrderTime:C:10:0\tNote1:C:200:0\tNote2:C:200:0",
                "5\t0\t01.02.2024\t30.12.1899\t11\t0\t7.00\t3\t1\t0.00\t" + Line("Магазин №1") + "\t\t\t",
                "5\t1\t100\t2.500\t10.00\t\t25.00" + blanks, "5\t2\t103\t3.000\t1.50\t\t4.50" + blanks,
                "5\t3\t105\t1.000\t2.00\t\t2.00" + blanks,
                "7\t0\t05.03.2024\t06.03.2024\t10\t2\t150.50\t1\t3\t2.50\t" + kCutNote + "\t10:15\t" +
                    Line("Срочно, до обеда") + "\t",
                "7\t4\t101\t1.000\t0.13\t\t0.13" + blanks}));

  EXPECT_EQ(
      ReadTable("order.dbf"),
      (std::vector<std::string>{"id:N:11:0\tIdCustomer:N:11:0\tOrderDate:D:8:0\tDelivDate:D:8:0\tIDPAYMENT:N:11:0\t"
                                "Countrow:N:11:0\tNPrice:N:11:0\t" +
                                    Number("Discount") + "\t" + Number("Total") +
                                    "\tPrim:C:200:0\tOrderTime:C:10:0\tNote1:C:200:0\tNote2:C:200:0",
                                "7\t10\t2024-03-05\t2024-03-06\t2\t1\t3\t2.5\t150.5\t" + kCutNote + "\t10:15\t" +
                                    Line("Срочно, до обеда") + "\t",
                                "5\t11\t2024-02-01\t1899-12-30\t0\t3\t1\t0.0\t7.0\t" + Line("Магазин №1") + "\t\t\t"}));

  EXPECT_EQ(ReadTable("orderitem.dbf"),
            (std::vector<std::string>{
                "idorder:N:11:0\tIdProduct:N:11:0\t" + Number("Quantity") + "\t" + Number("Price"), "5\t100\t2.5\t10.0",
                "7\t101\t1.0\t0.125", "99\t102\t1.0\t1.0", "5\t103\t3.0\t1.5", "5\t105\t1.0\t2.0"}));

  const std::vector<std::string> log = LogLines();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
            (std::vector<std::string>{
                Line("Старт процедуры синхронизации ZembraToPalm"), Line("PALM-ПК: Импорт заголовков документов"),
                Line("PALM-ПК: Импорт строк документов"), Line("ПК-PALM: Удаление старых данных")}));
  EXPECT_EQ(log.back(), Line("ZembraToPalm - Загружено: 2 заказов"));
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 0);
  EXPECT_EQ(RecordsOn("Zembra_OrderItemDB"), 0);
  EXPECT_EQ(RecordsOn("Zembra_CashDB"), 1);
}

TEST_P(DbfOrdersE2ETest, NoLeavesTheHandheldAsItWas) {
  Load("Zembra_OrderDB", OrdersText());
  Load("Zembra_OrderItemDB", kOrderLines);
  Sync("--no");
  const std::vector<std::string> orders = ReadTable("order.dbf");
  if (reader_missing_) GTEST_SKIP() << "python3-dbfread is not installed";
  EXPECT_EQ(orders.size(), 3u);
  const std::vector<std::string> log = LogLines();
  EXPECT_EQ(std::find(log.begin(), log.end(), Line("ПК-PALM: Удаление старых данных")), log.end());
  EXPECT_EQ(log.back(), Line("ZembraToPalm - Загружено: 2 заказов"));
  EXPECT_EQ(RecordsOn("Zembra_OrderDB"), 2);
  EXPECT_EQ(RecordsOn("Zembra_OrderItemDB"), 5);
  EXPECT_EQ(RecordsOn("Zembra_CashDB"), 1);
}

TEST_P(DbfOrdersE2ETest, NoOrdersLeavesNoOrderFileAndClosesWithZero) {
  Load("Zembra_OrderDB", "Id;OrderDate\r\n");
  Load("Zembra_OrderItemDB", kOrderLines);
  Sync("--yes");
  for (const char* name : {"order.dbf", "orderitem.dbf", "orders.dbf", "cash.dbf"}) {
    EXPECT_FALSE(fs::exists(exchange_ + name)) << name;
  }
  const std::vector<std::string> log = LogLines();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[2], Line("PALM-ПК: Импорт строк документов"));
  for (const std::string& line : log) {
    EXPECT_NE(line.rfind(Line("PALM-ПК: Загружено"), 0), 0u) << line;
    EXPECT_NE(line, Line("ПК-PALM: Удаление старых данных"));
  }
  EXPECT_EQ(log.back(), Line("ZembraToPalm - Загружено: 0 заказов"));
  EXPECT_EQ(RecordsOn("Zembra_OrderItemDB"), 5);
  EXPECT_EQ(RecordsOn("Zembra_CashDB"), 1);
}

INSTANTIATE_TEST_SUITE_P(DriverNames, DbfOrdersE2ETest,
                         ::testing::Values(TDriverCase{"Microsoft FoxPro VFP Driver (*.dbf)", "15:3"},
                                           TDriverCase{"Microsoft dBase Driver (*.dbf)", "20:6"}),
                         [](const ::testing::TestParamInfo<TDriverCase>& info) {
                           return std::string(info.index == 0 ? "FoxPro" : "Dbase");
                         });

}  // namespace
