// The export to the handheld as a user meets it: hotsync on a temporary home, old reference
// records put on the handheld by the handheld tool, the accounting system's files in "TXT" or
// "XML", every handheld database read back through the tool, the HotSync log line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "exchange/client_dataset.h"
#include "tests/e2e/e2e_home.h"

namespace fs = std::filesystem;

namespace {

using enum TFieldType;

struct TColumn {
  const char* Name;
  TFieldType Type;
};

// One reference file, written as text or as a packet.
struct TReference {
  std::vector<TColumn> Columns;
  std::vector<std::vector<std::string>> Rows;  // C-locale values; "" is no value
};

std::string Exported(int count) { return Ansi("ПК-PALM: Выгружено: ") + std::to_string(count); }

const TReference kTypePayment{{{"ID", ftInteger}, {"Name", ftString}, {"DayToOpl", ftInteger}},
                              {{"10", "Ten", "5"}, {"9", "Nine", "3"}, {"100", "Hundred", "7"}}};
const TReference kTypePrice{{{"ID", ftInteger}, {"Name", ftString}}, {{"2", "Retail"}, {"1", "Wholesale"}}};
const TReference kCurrency{{{"ID", ftInteger}, {"Code", ftString}, {"Name", ftString}, {"IsMain", ftInteger}},
                           {{"1", "RUB", "Rouble", "1"}}};
// Text files are read in the text order of IDCURRENCY, packets through an index on ID.
const TReference kCurrencyCurs{
    {{"ID", ftInteger}, {"IDCURRENCY", ftInteger}, {"DateCurs", ftDateTime}, {"Curs", ftFloat}},
    {{"1", "2", "05.03.2024", "1.5"}, {"2", "10", "05.03.2024", "90.25"}}};
const TReference kNote1{{{"Name", ftString}}, {{"Call first"}, {"Back door"}}};
const TReference kHeaderOnlyNotes{{{"Name", ftString}}, {}};
const TReference kCustomer{{{"Id", ftInteger},
                            {"Code", ftString},
                            {"Name", ftString},
                            {"Address", ftString},
                            {"CurrentSaldo", ftFloat},
                            {"nPrice", ftInteger},
                            {"PercentDiscount", ftFloat},
                            {"IdCategory", ftInteger},
                            {"DateForDelivery", ftString}},
                           {{"30", "C30", "Thirty", "Street 30", "1.23456", "1", "0", "0", "mon"},
                            {"10", "C10", std::string(60, 'N'), "Street 10", "0", "2", "2.5", "0", "tue"},
                            {"20", "C20", "Twenty", "Street 20", "-5", "1", "0", "3", ""}}};
const TReference kCategory{{{"Id", ftInteger}, {"IdParent", ftInteger}, {"Name", ftString}},
                           {{"1", "0", "Drinks"}, {"2", "1", "Juices"}, {"3", "2", "Apple"}, {"4", "0", "Bakery"}}};
const TReference kProduct{
    {{"Id", ftInteger},
     {"IdCategory", ftInteger},
     {"Code", ftString},
     {"Name", ftString},
     {"Fullname", ftString},
     {"Ed", ftString},
     {"Standard", ftFloat},
     {"Quantity", ftFloat},
     {"Price1", ftFloat},
     {"Price2", ftFloat},
     {"Price3", ftFloat},
     {"Price4", ftFloat}},
    {{"103", "3", "P3", "Apple juice", "Apple juice 1 l", "bottles!", "1", "5", "99.99999", "2", "3", "4"},
     {"101", "2", "P1", "Orange juice", "Orange juice 1 l", "pc", "1", "10", "1.5", "1.4", "1.3", "1.2"},
     {"102", "2", "P2", "Grape juice", "Grape juice 1 l", "pc", "6", "0.5", "2", "2", "2", "2"},
     {"104", "999", "P4", "Stray", "Stray product", "kg", "1", "1", "1", "1", "1", "1"}}};
const TReference kDocument{
    {{"Id", ftInteger},
     {"IdOwner", ftInteger},
     {"IdInOwner", ftInteger},
     {"DateDoc", ftDateTime},
     {"SrokOpl", ftDateTime},
     {"NDoc", ftString},
     {"Note", ftString},
     {"IdCustomer", ftInteger},
     {"IdTradeAgent", ftInteger},
     {"IdCurrency", ftInteger},
     {"CurrencyCurs", ftFloat},
     {"CurrencySumma", ftFloat},
     {"Summa", ftFloat},
     {"SummaReturn", ftFloat},
     {"SummaSaldo", ftFloat},
     {"SummaPaid", ftFloat}},
    {{"12", "1", "12", "01.03.2024", "15.03.2024", "N-12", "late", "10", "7", "1", "1", "300", "300", "0", "250", "50"},
     {"11", "1", "11", "02.03.2024", "16.03.2024", "N-11", "", "20", "7", "1", "1", "100", "100", "10", "90", "0"}}};
const TReference kRoute{{{"Id", ftInteger},
                         {"Code", ftString},
                         {"Name", ftString},
                         {"Address", ftString},
                         {"IdCustomer", ftInteger},
                         {"Nomer", ftInteger},
                         {"DayOfWeek", ftInteger}},
                        {{"3", "R3", "Third", "Street 3", "30", "1", "2"},
                         {"1", "R1", "First", "Street 1", "10", "5", "1"},
                         {"4", "R4", "Fourth", "Street 4", "20", "2", "1"},
                         {"2", "R2", "Second", "Street 2", "20", "2", "1"}}};
const TReference kTradeAgent{{{"ID", ftInteger}, {"Name", ftString}}, {{"7", "Agent Seven"}}};

const char kOldTypePayment[] = "Id;Name;DayToOpl\r\n1;old payment;1\r\n";
const char kOldTypePrice[] = "Id;Name\r\n1;old price\r\n";
const char kOldCurrencyCurs[] = "IdCurrency;DateCurs;Curs\r\n1;01.01.2020;2\r\n";
const char kOldNote[] = "Name\r\nold note\r\n";
const char kOldCustomer[] = "Id;Code;Name\r\n1;OLD;old customer\r\n";
const char kOldRoute[] = "Id;Code;Name;Address\r\n1;OLD;old point;old street\r\n";
const char kOldCategory[] = "Id;Name\r\n1;old category\r\n";

class ExportE2ETest : public ::testing::TestWithParam<const char*>, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    SetCurrentFormats(TFormatSettings{});
    MakeScratch("zp-e2e-export");
    ASSERT_NO_FATAL_FAILURE(AddUser("Agent", "Agent"));
    UseSettings("");
    MakeHandheld();
  }

  bool Xml() const { return std::string(GetParam()) == "XML"; }

  void UseSettings(const std::string& more) {
    WriteFileAtomic(home_ + "/ZembraToPalm.ini",
                    "[COMMON]\r\nEXCHANGEFILEFORMAT=" + std::string(GetParam()) + "\r\n" + more);
  }

  // A handheld as the sales application leaves it: nothing recorded, old reference data.
  void MakeHandheld() {
    Load("Zembra_OrderDB", "Id\r\n");
    Load("Zembra_OrderItemDB", "IdOrder\r\n");
    Load("Zembra_CashDB", "Id\r\n");
    for (const char* index : {"Zembra_CustomerIndexDB", "Zembra_ProductIndexDB", "Zembra_RouteIndexDB"}) {
      Load(index, "Name;Code;CatName;CatCode\r\n1;2;3;4\r\n");
    }
    Load("Zembra_TypePaymentDB", kOldTypePayment);
    Load("Zembra_TypePriceDB", kOldTypePrice);
    Load("Zembra_CurrencyDB", "Id;Code\r\n1;OLD\r\n");
    Load("Zembra_CurrencyCursDB", kOldCurrencyCurs);
    Load("Zembra_Note1DB", kOldNote);
    Load("Zembra_Note2DB", kOldNote);
    Load("Zembra_CustomerDB", kOldCustomer);
    Load("Zembra_ProductDB", "Id;Name\r\n1;old product\r\n");
    Load("Zembra_CategoryDB", kOldCategory);
    Load("Zembra_DocDB", "Id;NDoc\r\n1;old document\r\n");
    Load("Zembra_RouteDB", kOldRoute);
    Load("Zembra_TradeAgentsDB", "Id;Name\r\n1;old agent\r\n");
  }

  // The records of a database as the tool dumps them, without the header line.
  std::vector<std::string> Records(const std::string& database) const {
    std::vector<std::string> lines = Dump(database);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  // The file of a reference table in this format: name + ".txt" or ".xml" (extension given).
  void Write(const std::string& name, const TReference& reference, const char* xml_extension = ".xml") {
    if (!Xml()) {
      std::string text;
      for (const TColumn& column : reference.Columns) text += (text.empty() ? "" : ";") + std::string(column.Name);
      text += "\r\n";
      for (const auto& row : reference.Rows) {
        for (const std::string& value : row) text += value + ";";
        text += "\r\n";
      }
      WriteFileAtomic(exchange_ + name + ".txt", text);
      return;
    }
    TClientDataSet packet;
    for (const TColumn& column : reference.Columns) {
      packet.FieldDefs().Add(column.Name, column.Type, column.Type == ftString ? 200 : 0);
    }
    packet.CreateDataSet();
    for (const auto& row : reference.Rows) {
      packet.Append();
      for (size_t i = 0; i < row.size(); ++i) {
        if (!row[i].empty()) packet.Fields(static_cast<int>(i)).SetAsString(row[i]);
      }
      packet.Post();
    }
    const std::string xml = packet.XmlPacket();
    WriteFileAtomic(exchange_ + name + xml_extension, xml);
  }

  void WriteMandatory() {
    Write("Customer", kCustomer);
    Write("Category", kCategory);
    Write("Product", kProduct);
  }

  void WriteAll() {
    Write("TypePayment", kTypePayment);
    Write("TypePrice", kTypePrice);
    Write("Currency", kCurrency);
    Write("CurrencyCurs", kCurrencyCurs);
    Write("Note1", kNote1, ".xlm");
    Write("Note2", kHeaderOnlyNotes);
    WriteMandatory();
    Write("Document", kDocument);
    Write("Route", kRoute);
    Write("TradeAgent", kTradeAgent);
  }

  // A sync whose conduit logs an error line exits 2.
  TProgramRun Sync(int exit_status = 0) {
    TProgramRun run = HotSync({"sync", "--user", "Agent", "--no"});
    EXPECT_EQ(run.ExitStatus, exit_status) << run.Err;
    return run;
  }

  // The log lines from the first export line on (the import's lines come before).
  std::vector<std::string> ExportLog() const {
    const std::vector<std::string> lines = LogLines();
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& line) { return line.rfind(Ansi("ПК-PALM: "), 0) == 0; });
    return std::vector<std::string>(first, lines.end());
  }
};

const std::string kClosing = "ZembraToPalm" + Ansi(" - Загружено: 0 заказов");

TEST_P(ExportE2ETest, EveryFileReachesItsDatabaseInTheFixedOrder) {
  WriteAll();
  const TProgramRun run = Sync();
  EXPECT_EQ(ExportLog(), (std::vector<std::string>{Line("ПК-PALM: Справочник видов оплат"),
                                                   Exported(3),
                                                   Line("ПК-PALM: Справочник видов цен"),
                                                   Exported(2),
                                                   Line("ПК-PALM: Справочник валют"),
                                                   Exported(1),
                                                   Line("ПК-PALM: Справочник курсов валют"),
                                                   Exported(2),
                                                   Line("ПК-PALM: Справочник примечаний 1"),
                                                   Exported(2),
                                                   Line("ПК-PALM: Справочник примечаний 2"),
                                                   Exported(0),
                                                   Line("ПК-PALM: Справочник покупателей"),
                                                   Exported(3),
                                                   Line("ПК-PALM: Справочник товаров"),
                                                   Exported(4),
                                                   Line("ПК-PALM: Справочник категорий товаров"),
                                                   Exported(4),
                                                   Line("ПК-PALM: Дебеторская задолженность"),
                                                   Exported(2),
                                                   Line("ПК-PALM: Маршруты"),
                                                   Line("ПК-PALM: Справочник торговых представителей"),
                                                   Exported(1),
                                                   kClosing}));
  // The progress window's plain lines: every export row once with the count of its step.
  for (const char* row :
       {"     Справочник видов оплат: 3", "     Справочник видов цен: 2", "     Справочник валют: 1",
        "     Справочник курсов валют: 2", "     Справочник Примечаний 1: 2", "     Справочник Примечаний 2: 0",
        "     Справочник покупателей: 3", "     Справочник товаров: 4", "     Справочник категорий товаров: 4",
        "     Дебеторская задолженность: 2", "     Маршруты: 4", "     Торговые агенты: 1"}) {
    EXPECT_NE(run.Out.find(row), std::string::npos) << row << "\n" << run.Out;
  }

  EXPECT_EQ(Records("Zembra_TypePaymentDB"),
            (std::vector<std::string>{"9;Nine;" + std::string(Xml() ? "0" : "3") + ";",
                                      "10;Ten;" + std::string(Xml() ? "0" : "5") + ";",
                                      "100;Hundred;" + std::string(Xml() ? "0" : "7") + ";"}));
  EXPECT_EQ(Records("Zembra_TypePriceDB"), (std::vector<std::string>{"1;Wholesale;", "2;Retail;"}));
  EXPECT_EQ(Records("Zembra_CurrencyDB"), (std::vector<std::string>{"1;RUB;Rouble;1;"}));
  if (Xml()) {
    EXPECT_EQ(Records("Zembra_CurrencyCursDB"),
              (std::vector<std::string>{"2;05.03.2024;1.5;", "10;05.03.2024;90.25;"}));
  } else {
    EXPECT_EQ(Records("Zembra_CurrencyCursDB"),
              (std::vector<std::string>{"10;05.03.2024;90.25;", "2;05.03.2024;1.5;"}));
  }
  EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{"Call first;", "Back door;"}));
  EXPECT_TRUE(Records("Zembra_Note2DB").empty());

  const std::string quest = Xml() ? "1" : "0";
  EXPECT_EQ(Records("Zembra_CustomerDB"),
            (std::vector<std::string>{"10;C10;" + std::string(50, 'N') + ";Street 10;" + quest + ";tue;0;2;2.5;0;",
                                      "20;C20;Twenty;Street 20;" + quest + ";;-5;1;0;3;",
                                      "30;C30;Thirty;Street 30;" + quest + ";mon;1.2346;1;0;0;"}));
  EXPECT_EQ(Records("Zembra_ProductDB"),
            (std::vector<std::string>{"101;2;P1;Orange juice;Orange juice 1 l;pc;1;10;1.5;1.4;1.3;1.2;0;",
                                      "102;2;P2;Grape juice;Grape juice 1 l;pc;6;0.5;2;2;2;2;0;",
                                      "103;3;P3;Apple juice;Apple juice 1 l;bottl;1;5;100;2;3;4;0;",
                                      "104;999;P4;Stray;Stray product;kg;1;1;1;1;1;1;0;"}));
  EXPECT_EQ(Records("Zembra_CategoryDB"),
            (std::vector<std::string>{"4;0;Bakery;1;0;0;0;", "1;0;Drinks;1;0;0;1;", "2;1;    |-Juices;2;2;0;1;",
                                      "3;2;       |-Apple;3;1;0;0;"}));
  EXPECT_EQ(Records("Zembra_DocDB"),
            (std::vector<std::string>{
                "11;1;11;02.03.2024;16.03.2024;N-11;;;;20;7;1;1;100;100;90;10;0;0;30.12.1899;0;0;",
                "12;1;12;01.03.2024;15.03.2024;N-12;late;;;10;7;1;1;300;300;250;0;50;0;30.12.1899;0;0;"}));
  EXPECT_EQ(Records("Zembra_RouteDB"),
            (std::vector<std::string>{"2;R2;Second;Street 2;;;1;2;0;0;30.12.1899;0;20;1;1;1;1;0;0;0;0;0;0;",
                                      "4;R4;Fourth;Street 4;;;1;2;0;0;30.12.1899;0;20;1;1;1;1;0;0;0;0;0;0;",
                                      "1;R1;First;Street 1;;;1;5;0;0;30.12.1899;0;10;1;1;1;1;0;0;0;0;0;0;",
                                      "3;R3;Third;Street 3;;;2;1;0;0;30.12.1899;0;30;1;1;1;1;0;0;0;0;0;0;"}));
  EXPECT_EQ(Records("Zembra_TradeAgentsDB"), (std::vector<std::string>{"7;Agent Seven;"}));
  for (const char* index : {"Zembra_CustomerIndexDB", "Zembra_ProductIndexDB", "Zembra_RouteIndexDB"}) {
    EXPECT_TRUE(Records(index).empty()) << index;
  }
}

TEST_P(ExportE2ETest, AbsentOptionalFilesLeaveTheirTablesAndTheLogAlone) {
  WriteMandatory();
  Write("TypePayment", kTypePayment);
  Sync();
  EXPECT_EQ(ExportLog(), (std::vector<std::string>{
                             Line("ПК-PALM: Справочник видов оплат"), Exported(3),
                             Line("ПК-PALM: Справочник покупателей"), Exported(3), Line("ПК-PALM: Справочник товаров"),
                             Exported(4), Line("ПК-PALM: Справочник категорий товаров"), Exported(4), kClosing}));
  EXPECT_EQ(Records("Zembra_TypePriceDB"), (std::vector<std::string>{"1;old price;"}));
  EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{"old note;"}));
  EXPECT_EQ(Records("Zembra_RouteDB").size(), 1u);
  EXPECT_EQ(Records("Zembra_DocDB").size(), 1u);
}

TEST_P(ExportE2ETest, TimeOfDayInARateDateEndsTheExportAndKeepsTheOldRates) {
  WriteMandatory();
  Write("TypePayment", kTypePayment);
  Write("CurrencyCurs",
        TReference{kCurrencyCurs.Columns, {{"1", "2", "05.03.2024", "1.5"}, {"2", "10", "05.03.2024 10:30", "90.25"}}});
  Sync(2);
  EXPECT_EQ(ExportLog(), (std::vector<std::string>{Line("ПК-PALM: Справочник видов оплат"), Exported(3),
                                                   Line("ПК-PALM: Справочник курсов валют"),
                                                   "ZembraToPalm - '05.03.2024 10:30:00' is not a valid date"}));
  EXPECT_EQ(Records("Zembra_CurrencyCursDB"), (std::vector<std::string>{"1;01.01.2020;2;"}));
  EXPECT_EQ(Records("Zembra_CustomerDB"), (std::vector<std::string>{"1;OLD;old customer;;0;;0;0;0;0;"}));
  EXPECT_EQ(Records("Zembra_TypePaymentDB").size(), 3u);
}

TEST_P(ExportE2ETest, DueDateWithATimeOfDayKeepsTheOldDocumentsAndSkipsTheLaterSteps) {
  WriteMandatory();
  TReference document = kDocument;
  document.Rows[1][4] = "16.03.2024 09:00";
  Write("Document", document);
  Write("Route", kRoute);
  Write("TradeAgent", kTradeAgent);
  Sync(2);
  const std::vector<std::string> log = ExportLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
            (std::vector<std::string>{Line("ПК-PALM: Дебеторская задолженность"),
                                      "ZembraToPalm - '16.03.2024 09:00:00' is not a valid date"}));
  EXPECT_EQ(Records("Zembra_DocDB").size(), 1u);
  EXPECT_EQ(Records("Zembra_RouteDB").size(), 1u);
  EXPECT_EQ(Records("Zembra_TradeAgentsDB"), (std::vector<std::string>{"1;old agent;"}));
  EXPECT_EQ(Records("Zembra_CategoryDB").size(), 4u);
}

TEST_P(ExportE2ETest, FailedFirstNoteListLogsOneErrorAndTheCustomersStillArrive) {
  WriteMandatory();
  Write("Note1", TReference{{{"Text", ftString}}, {{"no name column"}}}, ".xlm");
  Write("Note2", kNote1);
  Sync(2);
  EXPECT_EQ(ExportLog(), (std::vector<std::string>{
                             Line("ПК-PALM: Справочник примечаний 1"),
                             Line("Ошибка ZembraToPalm\rОшибка передачи на КПК справочников примечаний"),
                             Line("ПК-PALM: Справочник покупателей"), Exported(3), Line("ПК-PALM: Справочник товаров"),
                             Exported(4), Line("ПК-PALM: Справочник категорий товаров"), Exported(4), kClosing}));
  EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{"old note;"}));
  EXPECT_EQ(Records("Zembra_Note2DB"), (std::vector<std::string>{"old note;"}));
  EXPECT_EQ(Records("Zembra_CustomerDB").size(), 3u);
}

TEST_P(ExportE2ETest, MissingNoteDatabaseIsCreatedAndFilled) {
  fs::remove(device_ + "/Zembra_Note2DB.pdb");
  WriteMandatory();
  Write("Note2", kNote1);
  Sync();
  EXPECT_EQ(Records("Zembra_Note2DB"), (std::vector<std::string>{"Call first;", "Back door;"}));
}

TEST_P(ExportE2ETest, RouteWithoutAddressKeepsTheOldRouteAndTheTradeAgentsArrive) {
  WriteMandatory();
  TReference route = kRoute;
  route.Columns.erase(route.Columns.begin() + 3);
  for (auto& row : route.Rows) row.erase(row.begin() + 3);
  Write("Route", route);
  Write("TradeAgent", kTradeAgent);
  const TProgramRun run = Sync();
  const std::vector<std::string> log = ExportLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
            (std::vector<std::string>{Line("ПК-PALM: Маршруты"), Line("ПК-PALM: Справочник торговых представителей"),
                                      Exported(1), kClosing}));
  EXPECT_EQ(Records("Zembra_RouteDB"),
            (std::vector<std::string>{"1;OLD;old point;old street;;;0;0;0;0;30.12.1899;0;0;0;0;0;0;0;0;0;0;0;0;"}));
  EXPECT_EQ(Records("Zembra_RouteIndexDB").size(), 1u);
  EXPECT_EQ(Records("Zembra_TradeAgentsDB"), (std::vector<std::string>{"7;Agent Seven;"}));
  if (!Xml()) {
    EXPECT_NE(run.Err.find(Cp1251ToUtf8(Line("Поля \"Address\" нет в таблице Route.txt"))), std::string::npos)
        << run.Err;
  }
}

TEST_P(ExportE2ETest, CategoriesUnsortedAndCutToSixtyCharacters) {
  UseSettings("DOSORTCATEGORY=0\r\n");
  Write("Customer", kCustomer);
  Write("Product", kProduct);
  TReference category = kCategory;
  category.Rows.push_back({"5", "3", std::string(70, 'L')});
  category.Rows.push_back({"6", "77", "Orphans"});
  Write("Category", category);
  Sync();
  EXPECT_EQ(Records("Zembra_CategoryDB"),
            (std::vector<std::string>{"1;0;Drinks;1;0;0;1;", "2;1;    |-Juices;2;2;0;1;", "3;2;       |-Apple;3;1;0;1;",
                                      "5;3;          |-" + std::string(48, 'L') + ";4;0;0;0;", "4;0;Bakery;1;0;0;0;"}));
}

TEST_P(ExportE2ETest, CustomerBalanceIsRequiredInTextFilesOnly) {
  TReference customer = kCustomer;
  customer.Columns.erase(customer.Columns.begin() + 4);
  for (auto& row : customer.Rows) row.erase(row.begin() + 4);
  Write("Customer", customer);
  Write("Category", kCategory);
  Write("Product", kProduct);
  Sync(Xml() ? 0 : 2);
  if (Xml()) {
    const std::vector<std::string> customers = Records("Zembra_CustomerDB");
    ASSERT_EQ(customers.size(), 3u);
    EXPECT_EQ(customers[2], "30;C30;Thirty;Street 30;1;mon;0;1;0;0;");
    EXPECT_EQ(ExportLog().back(), kClosing);
  } else {
    EXPECT_EQ(ExportLog(),
              (std::vector<std::string>{Line("ПК-PALM: Справочник покупателей"),
                                        "ZembraToPalm - " + Line("Поля \"CurrentSaldo\" нет в таблице Customer.txt")}));
    EXPECT_EQ(Records("Zembra_CustomerDB"), (std::vector<std::string>{"1;OLD;old customer;;0;;0;0;0;0;"}));
    EXPECT_EQ(Records("Zembra_CategoryDB"), (std::vector<std::string>{"1;0;old category;0;0;0;0;"}));
  }
}

TEST_P(ExportE2ETest, HeaderOnlyFilesEmptyTheirTables) {
  Write("CurrencyCurs", kCurrencyCurs);
  Write("Note1", kHeaderOnlyNotes, ".xlm");
  Write("Route", TReference{kRoute.Columns, {}});
  WriteMandatory();
  Sync();
  EXPECT_EQ(Records("Zembra_CurrencyCursDB").size(), 2u);
  EXPECT_TRUE(Records("Zembra_Note1DB").empty());
  EXPECT_TRUE(Records("Zembra_RouteDB").empty());
  EXPECT_TRUE(Records("Zembra_RouteIndexDB").empty());
}

TEST_P(ExportE2ETest, FirstNoteListSavedAsXmlIsNotRead) {
  if (!Xml()) GTEST_SKIP() << "only packets name the first note list \"Note1.xlm\"";
  WriteMandatory();
  Write("Note1", kNote1, ".xml");
  Sync();
  EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{"old note;"}));
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportE2ETest, ::testing::Values("TXT", "XML"));

// Under "DBF" the reference files are dBase tables, here written by Python's dbf package in
// Windows-1251, with the long column names cut to the 10 characters a dBase name holds.
class DbfExportE2ETest : public ExportE2ETest {
 protected:
  void SetUp() override {
    ExportE2ETest::SetUp();
    if (IsSkipped()) return;
    const TProgramRun probe = RunProgram(kPython, {"-c", "import dbf"}, root_.string());
    if (probe.ExitStatus != 0) GTEST_SKIP() << "Python's dbf package (python3-dbf) is not installed";
  }

  // Each table: file name, field list, rows as Python tuples (UTF-8 source), and
  // optionally more arguments of the writer (", codepage='cp866'").
  void WriteDbase(const std::vector<std::array<std::string, 3>>& tables, const std::string& more = "") {
    std::string script =
        "import datetime, dbf, sys\n"
        "def table(name, fields, rows, codepage='cp1251', dbf_type='db3'):\n"
        "    t = dbf.Table(sys.argv[1] + name, fields, codepage=codepage, dbf_type=dbf_type)\n"
        "    t.open(dbf.READ_WRITE)\n"
        "    for row in rows:\n"
        "        t.append(row)\n"
        "    t.close()\n"
        "D = datetime.date\n";
    for (const auto& [name, fields, rows] : tables) {
      script += "table('" + name + "', '" + fields + "', [" + rows + "]" + more + ")\n";
    }
    const std::string file = (root_ / "write_dbase.py").string();
    WriteFileAtomic(file, script);
    const TProgramRun run = RunProgram(kPython, {file, exchange_}, root_.string());
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
  }

  void WriteMandatoryDbase() { WriteDbase({kCustomerDbf, kCategoryDbf, kProductDbf}); }

  static constexpr const char* kPython = "/usr/bin/python3";
  const std::array<std::string, 3> kCustomerDbf{
      "Customer.dbf",
      "ID N(9,0); CODE C(15); NAME C(60); ADDRESS C(80); CURRENTSAL N(14,5); NPRICE N(2,0); PERCENTDIS N(6,2); "
      "IDCATEGORY N(5,0); DATEFORDEL C(80)",
      "(30, 'C30', 'Тридцатый', 'ул. Ленина, 30', 1.23456, 1, 0, 0, 'пн'), "
      "(10, 'C10', 'Ж' * 55, 'Street 10', 0, 2, 2.5, 0, 'вт'), "
      "(20, 'C20', 'Twenty', 'Street 20', -5, 1, 0, 3, '')"};
  const std::array<std::string, 3> kCategoryDbf{"Category.dbf", "ID N(5,0); IDPARENT N(5,0); NAME C(80)",
                                                "(1, 0, 'Напитки'), (2, 1, 'Соки'), (4, 0, 'Выпечка')"};
  const std::array<std::string, 3> kProductDbf{
      "product.DBF",
      "ID N(9,0); IDCATEGORY N(5,0); CODE C(15); NAME C(50); FULLNAME C(80); ED C(10); STANDARD N(8,3); "
      "QUANTITY N(10,3); PRICE1 N(14,5); PRICE2 N(14,5); PRICE3 N(14,5); PRICE4 N(14,5)",
      "(102, 2, 'P2', 'Сок виноградный', 'Сок виноградный 1 л', 'шт', 6, 0.5, 2, 2, 2, 2), "
      "(101, 2, 'P1', 'Сок апельсиновый', 'Сок апельсиновый 1 л', 'бутылки', 1, 10, 99.99999, 1.4, 1.3, 1.2)"};
};

TEST_P(DbfExportE2ETest, DbaseFilesReachTheirDatabasesAsTextFilesWould) {
  WriteDbase({{"Currency.dbf", "ID N(3,0); CODE C(3); NAME C(20); ISMAIN L", "(1, 'RUB', 'Рубль', True)"},
              {"CURRENCYCURS.DBF", "ID N(3,0); IDCURRENCY N(3,0); DATECURS D; CURS N(10,4)",
               "(1, 2, D(2024, 3, 5), 1.5), (2, 10, D(2024, 3, 6), 90.25)"},
              {"Note1.dbf", "NAME C(40)", "('Позвонить заранее',), ('Back door',)"},
              kCustomerDbf,
              kCategoryDbf,
              kProductDbf});
  WriteDbase({{"TradeAgent.dbf", "ID N(5,0); NAME C(30)", "(7, 'Агент Семь')"}}, ", codepage='cp866'");
  WriteDbase(
      {{"TypePayment.dbf", "ID I; NAME C(20); DAYTOOPL I", "(10, 'Десять', 5), (9, 'Nine', 3), (100, 'Hundred', -7)"}},
      ", dbf_type='vfp'");
  Sync();
  EXPECT_EQ(ExportLog(),
            (std::vector<std::string>{
                Line("ПК-PALM: Справочник видов оплат"), Exported(3), Line("ПК-PALM: Справочник валют"), Exported(1),
                Line("ПК-PALM: Справочник курсов валют"), Exported(2), Line("ПК-PALM: Справочник примечаний 1"),
                Exported(2), Line("ПК-PALM: Справочник покупателей"), Exported(3), Line("ПК-PALM: Справочник товаров"),
                Exported(2), Line("ПК-PALM: Справочник категорий товаров"), Exported(3),
                Line("ПК-PALM: Справочник торговых представителей"), Exported(1), kClosing}));
  EXPECT_EQ(Records("Zembra_TypePaymentDB"),
            (std::vector<std::string>{"9;Nine;3;", Line("10;Десять;5;"), "100;Hundred;-7;"}));
  EXPECT_EQ(Records("Zembra_TypePriceDB"), (std::vector<std::string>{"1;old price;"}));
  EXPECT_EQ(Records("Zembra_CurrencyDB"), (std::vector<std::string>{Line("1;RUB;Рубль;1;")}));
  EXPECT_EQ(Records("Zembra_CurrencyCursDB"), (std::vector<std::string>{"10;06.03.2024;90.25;", "2;05.03.2024;1.5;"}));
  EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{Line("Позвонить заранее;"), "Back door;"}));
  EXPECT_EQ(Records("Zembra_Note2DB"), (std::vector<std::string>{"old note;"}));
  EXPECT_EQ(
      Records("Zembra_CustomerDB"),
      (std::vector<std::string>{
          "10;C10;" + std::string(50, Ansi("Ж")[0]) + ";Street 10;0;" + Line("вт") + ";0;2;2.5;0;",
          "20;C20;Twenty;Street 20;0;;-5;1;0;3;", "30;C30;" + Line("Тридцатый;ул. Ленина, 30;0;пн;1.2346;1;0;0;")}));
  EXPECT_EQ(
      Records("Zembra_ProductDB"),
      (std::vector<std::string>{Line("101;2;P1;Сок апельсиновый;Сок апельсиновый 1 л;бутыл;1;10;100;1.4;1.3;1.2;0;"),
                                Line("102;2;P2;Сок виноградный;Сок виноградный 1 л;шт;6;0.5;2;2;2;2;0;")}));
  EXPECT_EQ(Records("Zembra_CategoryDB"),
            (std::vector<std::string>{Line("4;0;Выпечка;1;0;0;0;"), Line("1;0;Напитки;1;0;0;1;"),
                                      Line("2;1;    |-Соки;2;2;0;0;")}));
  EXPECT_EQ(Records("Zembra_TradeAgentsDB"), (std::vector<std::string>{Line("7;Агент Семь;")}));
  const std::vector<std::string> documents = Records("Zembra_DocDB");
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_NE(documents[0].find(";old document;"), std::string::npos) << documents[0];
}

TEST_P(DbfExportE2ETest, VisualFoxProTablesAreReadByTheirBytes) {
  WriteMandatoryDbase();
  WriteDbase({{"CurrencyCurs.dbf", "ID I; IDCURRENCY I; DATECURS T; CURS B; LIMIT Y",
               "(1, 2, datetime.datetime(2024, 3, 5), 1.5, 1), (2, 10, datetime.datetime(2024, 3, 6), 90.25, 2)"},
              {"Customer.dbf",
               "ID I; CODE C(15); NAME C(60); ADDRESS C(80); CURRENTSAL Y; NPRICE I; PERCENTDIS B; IDCATEGORY I",
               "(5, 'C5', 'Пятый', 'ул. 5', -12.25, 2, 2.5, 0)"}},
             ", dbf_type='vfp'");
  Sync();
  EXPECT_EQ(Records("Zembra_CurrencyCursDB"), (std::vector<std::string>{"10;06.03.2024;90.25;", "2;05.03.2024;1.5;"}));
  EXPECT_EQ(Records("Zembra_CustomerDB"), (std::vector<std::string>{Line("5;C5;Пятый;ул. 5;0;;-12.25;2;2.5;0;")}));

  fs::remove(home_ + "/Agent/HotSync.log");
  WriteDbase({{"CurrencyCurs.dbf", "ID I; IDCURRENCY I; DATECURS T; CURS B",
               "(1, 2, datetime.datetime(2024, 3, 5, 10, 30), 1.5)"}},
             ", dbf_type='vfp'");
  Sync(2);
  EXPECT_EQ(ExportLog(), (std::vector<std::string>{Line("ПК-PALM: Справочник курсов валют"),
                                                   "ZembraToPalm - '05.03.2024 10:30:00' is not a valid date"}));
  EXPECT_EQ(Records("Zembra_CurrencyCursDB").size(), 2u);
}

TEST_P(DbfExportE2ETest, AnUnreadableFileFailsItsStepAndLeavesItsTable) {
  {
    SCOPED_TRACE("a file that is no dBase table");
    WriteMandatoryDbase();
    WriteFileAtomic(exchange_ + "TypePrice.dbf", "Id;Name\r\n1;text, not dBase\r\n");
    Sync(2);
    EXPECT_EQ(ExportLog(), (std::vector<std::string>{Line("ПК-PALM: Справочник видов цен"),
                                                     "ZembraToPalm - " + exchange_ +
                                                         "TypePrice.dbf: not a dBase table: unknown version byte"}));
    EXPECT_EQ(Records("Zembra_TypePriceDB"), (std::vector<std::string>{"1;old price;"}));
    EXPECT_EQ(Records("Zembra_CustomerDB"), (std::vector<std::string>{"1;OLD;old customer;;0;;0;0;0;0;"}));
    fs::remove(exchange_ + "TypePrice.dbf");
  }
  {
    SCOPED_TRACE("a required column missing, a damaged note list");
    fs::remove(home_ + "/Agent/HotSync.log");
    WriteDbase({{"Customer.dbf", "ID N(9,0); CODE C(15); NAME C(60); ADDRESS C(80); NPRICE N(2,0); PERCENTDIS N(6,2)",
                 "(1, 'C1', 'Новый', 'ул. 1', 1, 0)"},
                {"Route.dbf", "ID N(5,0); CODE C(15); NAME C(50); ADDRESS C(80)", "(None, 'R', 'Точка', 'ул. 2')"}});
    std::string damaged = ReadWholeFile(exchange_ + "Route.dbf");
    WriteFileAtomic(exchange_ + "Note1.dbf", damaged.substr(0, damaged.size() / 2));
    const TProgramRun run = Sync(2);
    EXPECT_EQ(ExportLog(),
              (std::vector<std::string>{Line("ПК-PALM: Справочник примечаний 1"),
                                        Line("Ошибка ZembraToPalm\rОшибка передачи на КПК справочников примечаний"),
                                        Line("ПК-PALM: Справочник покупателей"),
                                        "ZembraToPalm - " + Line("Поля \"CurrentSaldo\" нет в таблице Customer.dbf")}));
    EXPECT_NE(run.Err.find(Cp1251ToUtf8(Line("Поля \"CurrentSaldo\" нет в таблице Customer.dbf"))), std::string::npos)
        << run.Err;
    EXPECT_EQ(Records("Zembra_Note1DB"), (std::vector<std::string>{"old note;"}));
    EXPECT_EQ(Records("Zembra_CustomerDB"), (std::vector<std::string>{"1;OLD;old customer;;0;;0;0;0;0;"}));
    EXPECT_EQ(Records("Zembra_CustomerIndexDB").size(), 1u);
    EXPECT_EQ(Records("Zembra_CategoryDB"), (std::vector<std::string>{"1;0;old category;0;0;0;0;"}));
    EXPECT_EQ(Records("Zembra_ProductDB"), (std::vector<std::string>{"1;0;;old product;;;0;0;0;0;0;0;0;"}));
  }
  {
    SCOPED_TRACE("a blank route number is absorbed, the route stays");
    fs::remove(exchange_ + "Note1.dbf");
    fs::remove(home_ + "/Agent/HotSync.log");
    WriteMandatoryDbase();
    Sync();
    EXPECT_EQ(ExportLog().back(), kClosing);
    EXPECT_EQ(Records("Zembra_CustomerDB").size(), 3u);
    EXPECT_EQ(Records("Zembra_RouteDB"),
              (std::vector<std::string>{"1;OLD;old point;old street;;;0;0;0;0;30.12.1899;0;0;0;0;0;0;0;0;0;0;0;0;"}));
  }
}

INSTANTIATE_TEST_SUITE_P(Dbf, DbfExportE2ETest, ::testing::Values("DBF"));

}  // namespace
