// The access layer against the drivers this project builds, registered by the build in
// ZP_BIN_DIR/../etc/odbcinst.ini; each test is skipped until that registry names its driver.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "exchange/odbc_connection_lines.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_query.h"
#include "exchange/odbc_test_drivers.h"
#include "test_support/scratch_directory.h"

namespace {

constexpr const char* kFoxProDriver = "Microsoft FoxPro VFP Driver (*.dbf)";
constexpr const char* kDbaseDriver = "Microsoft dBase Driver (*.dbf)";
constexpr const char* kAnswersDriver = "Microsoft Access Driver (*.mdb)";

#define ZP_REQUIRE_DRIVER(name)                                                  \
  do {                                                                           \
    if (!BuildRegistersDriver(name)) GTEST_SKIP() << "not registered: " << name; \
    UseTestDriverRegistry();                                                     \
  } while (false)

void Exec(TmDataBase& database, const std::vector<std::string>& lines) {
  TmQuery query(&database);
  query.SetSQL(lines);
  query.ExecSQL();
}

TEST(OdbcOwnDrivers, TheDbaseFamilyHasNoTransactions) {
  ZP_REQUIRE_DRIVER(kDbaseDriver);
  TScratchDirectory directory;
  TmDataBase database;
  database.Params = DbaseConnectionLines(kDbaseDriver, directory.Path());
  database.Connect();
  try {
    database.StartTransaction();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Driver not support transactions");
  }
}

TEST(OdbcOwnDrivers, FoxProOrderLinesAreWrittenAndReadBackInOrder) {
  ZP_REQUIRE_DRIVER(kFoxProDriver);
  TScratchDirectory directory;
  TmDataBase database;
  database.Params = DbaseConnectionLines(kFoxProDriver, directory.Path());
  database.Connect();
  Exec(database, {"Create table \"" + directory.Path() +
                  "orderitem.dbf\" (idorder integer,IdProduct Integer, Quantity Numeric(15,3), Price Numeric(15,3))"});
  database.StartTransaction();
  TmQuery lines(&database);
  lines.AddSQL("select * from \"orderitem.dbf\"");
  lines.InsertSQL = {
      "insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values "
      "(:idOrder,:IdProduct,:Quantity,:Price)"};
  lines.RequestLive = true;
  std::vector<std::string> messages;
  lines.MessageSink = [&](const std::string& text, const std::string&) { messages.push_back(text); };
  lines.Open();
  for (int order : {7, 5}) {
    lines.Append();
    lines.FieldByName("idorder").SetAsInteger(order);
    lines.FieldByName("IdProduct").SetAsInteger(100 + order);
    lines.FieldByName("Quantity").SetAsFloat(2.5);
    lines.FieldByName("Price").SetAsFloat(10);
    lines.Post();
  }
  database.Commit();
  EXPECT_TRUE(messages.empty());
  lines.AddSQL("Order by IdOrder");
  lines.Open();
  std::vector<int> orders;
  for (; !lines.Eof(); lines.Next()) {
    orders.push_back(lines.FieldByName("IDORDER").AsInteger());
    EXPECT_DOUBLE_EQ(lines.FieldByName("Quantity").AsFloat(), 2.5);
  }
  EXPECT_EQ(orders, (std::vector<int>{5, 7}));
}

TEST(OdbcOwnDrivers, AnswersAreInsertedWithTheirCyrillicTexts) {
  ZP_REQUIRE_DRIVER(kAnswersDriver);
  TScratchDirectory directory;
  {
    TmDataBase maker;
    maker.Params = {std::string("DRIVER=") + kSqliteTestDriver, "Database=" + directory.Path("answer.mdb")};
    Exec(maker, {"create table AnswerItem (KPK varchar(50), Id integer, IdAnswer integer, IdQuestItem integer, "
                 "AnswerValue varchar(200))"});
  }
  TmDataBase database;
  database.Params = AnswersConnectionLines(directory.Path("answer.mdb"));
  database.Connect();
  TmQuery items(&database);
  items.AddSQL("select * from AnswerItem");
  items.InsertSQL = {"insert into  AnswerItem (KPK, Id, IdAnswer, IdQuestItem, AnswerValue)",
                     " values (:KPK, :Id, :IdAnswer, :IdQuestItem, :AnswerValue)"};
  items.RequestLive = true;
  items.Open();
  items.Append();
  items.FieldByName("KPK").SetAsString("AGENT7");
  items.FieldByName("ID").SetAsInteger(1);
  items.FieldByName("IDANSWER").SetAsInteger(2);
  items.FieldByName("IDQUESTItem").SetAsInteger(3);
  items.FieldByName("ANSWERVALUE").SetAsString(Ansi("Да, конечно"));
  items.Post();
  items.Open();
  ASSERT_FALSE(items.Eof());
  EXPECT_EQ(items.FieldByName("AnswerValue").AsString(), Ansi("Да, конечно"));
  EXPECT_EQ(items.FieldByName("KPK").AsString(), "AGENT7");
}

}  // namespace
