// The access layer against a driver nobody here wrote: Debian's SQLite ODBC driver, registered in
// a test-local odbcinst.ini. Connection, errors with records, every type bound and read back,
// live inserts with their row-count messages, transactions.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_error.h"
#include "exchange/odbc_query.h"
#include "exchange/odbc_test_drivers.h"
#include "test_support/scratch_directory.h"

namespace {

using Names = std::vector<std::string>;

class OdbcSqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseTestDriverRegistry();
    Connect(database_);
  }

  void Connect(TmDataBase& database) {
    database.Params = {std::string("DRIVER=") + kSqliteTestDriver, "Database=" + directory_.Path("test.db")};
    database.Connect();
  }

  void Exec(const std::string& statement) {
    TmQuery query(&database_);
    query.AddSQL(statement);
    query.ExecSQL();
  }

  // A live query over the table whose messages are collected.
  void OpenLive(TmQuery& query, const std::string& select, const Names& insert) {
    query.AddSQL(select);
    query.InsertSQL = insert;
    query.RequestLive = true;
    query.MessageSink = [this](const std::string& text, const std::string&) { messages_.push_back(text); };
    query.Open();
  }

  TScratchDirectory directory_;
  TmDataBase database_;
  Names messages_;
};

TEST_F(OdbcSqliteTest, ConnectsAndKeepsTheCompletedConnectionString) {
  EXPECT_TRUE(database_.Connected());
  EXPECT_NE(database_.CompletedConnectionString().find("test.db"), std::string::npos);
  database_.Connect();
  database_.Disconnect();
  EXPECT_FALSE(database_.Connected());
}

TEST_F(OdbcSqliteTest, AnUnknownDriverFailsWithItsDiagnosticsAndStaysClosed) {
  TmDataBase other;
  other.Params = {"DRIVER=No Such Driver Here", "Database=x"};
  try {
    other.Connect();
    FAIL();
  } catch (const ESQLerror& error) {
    // The driver manager reports a library it cannot open as 01000, naming the driver.
    ASSERT_FALSE(error.Records.empty());
    EXPECT_EQ(error.Records.front().substr(0, 6), error.SqlState + ":");
    EXPECT_NE(error.Records.front().find("No Such Driver Here"), std::string::npos);
    EXPECT_EQ(error.what(), error.Records.front());
  }
  EXPECT_FALSE(other.Connected());
}

TEST_F(OdbcSqliteTest, AMalformedStatementIsAnErrorWithRecords) {
  TmQuery query(&database_);
  query.AddSQL("selekt nothing frum nowhere");
  try {
    query.ExecSQL();
    FAIL();
  } catch (const ESQLerror& error) {
    EXPECT_EQ(error.SqlState.size(), 5u);
    ASSERT_FALSE(error.Records.empty());
    EXPECT_EQ(error.what(), error.Records.front());
    EXPECT_EQ(error.Records.front().substr(0, 6), error.SqlState + ":");
  }
}

TEST_F(OdbcSqliteTest, EveryParameterTypeIsBoundAndReadBack) {
  Exec(
      "create table t (s char(20), sm smallint, i integer, b bit, f double, d date, tm time, ts timestamp, "
      "m text, bl blob)");
  TmQuery insert(&database_);
  insert.AddSQL("insert into t values (:s, :sm, :i, :b, :f, :d, :tm, :ts, :m, :bl)");
  const std::string text = Ansi("Иванов и сын");
  const std::string memo(5000, 'x');
  const std::string bytes("\0\1\2\xff", 4);
  const TDateTime stamp{EncodeDate(2024, 3, 5).Value + EncodeTime(10, 11, 12, 345).Value};
  insert.ParamByName("s").AssignTyped(TOdbcDataType::ftString, text);
  insert.ParamByName("sm").AssignTyped(TOdbcDataType::ftSmallint, int64_t{-12});
  insert.ParamByName("i").AssignTyped(TOdbcDataType::ftInteger, int64_t{123456789});
  insert.ParamByName("b").AssignTyped(TOdbcDataType::ftBoolean, true);
  insert.ParamByName("f").AssignTyped(TOdbcDataType::ftFloat, 2.5);
  insert.ParamByName("d").AssignTyped(TOdbcDataType::ftDate, EncodeDate(2024, 3, 5));
  insert.ParamByName("tm").AssignTyped(TOdbcDataType::ftTime, EncodeTime(10, 11, 12, 0));
  insert.ParamByName("ts").AssignTyped(TOdbcDataType::ftDateTime, stamp);
  insert.ParamByName("m").AssignTyped(TOdbcDataType::ftMemo, memo);
  insert.ParamByName("bl").AssignTyped(TOdbcDataType::ftBlob, bytes);
  insert.ExecSQL();
  EXPECT_EQ(insert.RowsAffected(), 1);

  TmQuery select(&database_);
  select.AddSQL("select * from t");
  select.Open();
  ASSERT_FALSE(select.Eof());
  EXPECT_EQ(select.FieldByName("s").DataType, TOdbcDataType::ftString);
  EXPECT_EQ(select.FieldByName("s").AsString(), text);
  EXPECT_EQ(select.FieldByName("SM").DataType, TOdbcDataType::ftSmallint);
  EXPECT_EQ(select.FieldByName("sm").AsInteger(), -12);
  EXPECT_EQ(select.FieldByName("i").DataType, TOdbcDataType::ftInteger);
  EXPECT_EQ(select.FieldByName("i").AsInteger(), 123456789);
  EXPECT_EQ(select.FieldByName("b").DataType, TOdbcDataType::ftBoolean);
  EXPECT_TRUE(select.FieldByName("b").AsBoolean());
  EXPECT_EQ(select.FieldByName("f").DataType, TOdbcDataType::ftFloat);
  EXPECT_DOUBLE_EQ(select.FieldByName("f").AsFloat(), 2.5);
  EXPECT_EQ(select.FieldByName("d").DataType, TOdbcDataType::ftDate);
  EXPECT_EQ(select.FieldByName("d").AsDateTime(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(select.FieldByName("tm").DataType, TOdbcDataType::ftTime);
  EXPECT_EQ(select.FieldByName("tm").AsString(), "10:11:12");
  EXPECT_EQ(select.FieldByName("ts").DataType, TOdbcDataType::ftDateTime);
  EXPECT_NEAR(select.FieldByName("ts").AsDateTime().Value, stamp.Value, 1e-9);
  EXPECT_EQ(select.FieldByName("m").DataType, TOdbcDataType::ftMemo);
  EXPECT_EQ(select.FieldByName("m").AsString(), memo);
  EXPECT_EQ(select.FieldByName("bl").DataType, TOdbcDataType::ftBlob);
  EXPECT_EQ(select.FieldByName("bl").AsString(), bytes);
  select.Next();
  EXPECT_TRUE(select.Eof());
}

TEST_F(OdbcSqliteTest, LiveInsertFillsParametersFromFieldsOfTheSameName) {
  Exec("create table orderitem (idorder integer, IdProduct integer, Quantity double, Price double, Note char(5))");
  TmQuery query(&database_);
  OpenLive(query, "select * from orderitem",
           {"insert into  orderitem (IdOrder,IdProduct,Quantity,Price,Note)",
            " values (:idOrder,:IdProduct,:Quantity,:Price,:NoSuchField)"});
  for (int line = 1; line <= 3; ++line) {
    query.Append();
    query.FieldByName("IDORDER").SetAsInteger(10 - line);
    query.FieldByName("IdProduct").SetAsInteger(100 + line);
    query.FieldByName("Quantity").SetAsFloat(line * 1.5);
    query.FieldByName("Price").SetAsFloat(10);
    query.FieldByName("Note").SetAsString("cut to five");
    query.Post();
  }
  EXPECT_TRUE(messages_.empty());

  query.AddSQL("Order by IdOrder");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
  std::vector<int> orders;
  for (query.First(); !query.Eof(); query.Next()) {
    orders.push_back(query.FieldByName("idorder").AsInteger());
    EXPECT_TRUE(query.FieldByName("Note").IsNull());
  }
  EXPECT_EQ(orders, (std::vector<int>{7, 8, 9}));
  query.First();
  EXPECT_DOUBLE_EQ(query.FieldByName("Quantity").AsFloat(), 4.5);
}

TEST_F(OdbcSqliteTest, RowCountsOtherThanOneAreShownAndTheRowCountsAsPosted) {
  Exec("create table t (a integer, b integer)");
  TmQuery none(&database_);
  OpenLive(none, "select * from t", {"insert into t (a) select :a where 0"});
  none.Append();
  none.FieldByName("a").SetAsInteger(1);
  none.Post();
  TmQuery two(&database_);
  OpenLive(two, "select * from t", {"insert into t (a, b) select :a, :OLD_a union all select :a, :old_A"});
  two.Append();
  two.FieldByName("a").SetAsInteger(5);
  two.Post();
  EXPECT_EQ(messages_, (Names{"No rows affected", "More then one rows affected"}));

  TmQuery check(&database_);
  check.AddSQL("select a, b from t");
  check.Open();
  EXPECT_EQ(check.RecordCount(), 2);
  EXPECT_EQ(check.FieldByName("a").AsInteger(), 5);
  EXPECT_TRUE(check.FieldByName("b").IsNull());
}

TEST_F(OdbcSqliteTest, PostWithoutAnInsertStatementAndAppendOnAReadOnlyQuery) {
  Exec("create table t (a integer)");
  TmQuery query(&database_);
  query.AddSQL("select * from t");
  query.Open();
  EXPECT_THROW(query.Append(), Exception);
  query.RequestLive = true;
  query.Append();
  try {
    query.Post();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Internal insert is not supported by the driver");
  }
}

TEST_F(OdbcSqliteTest, ColumnsWithoutTypesOrWithRepeatedNames) {
  TmQuery query(&database_);
  query.AddSQL("select 1 as a, 2 as A, 3 as a");
  query.Open();
  Names names;
  for (const TmField& field : query.Fields()) names.push_back(field.FieldName);
  EXPECT_EQ(names, (Names{"a", "A_1", "a_2"}));
  EXPECT_EQ(query.FieldByName("a_2").AsInteger(), 3);
}

TEST_F(OdbcSqliteTest, CommittedRowsAreSeenByAnotherConnection) {
  Exec("create table t (a integer)");
  database_.StartTransaction();
  Exec("insert into t values (1)");
  database_.Commit();
  Exec("insert into t values (2)");
  TmDataBase other;
  Connect(other);
  TmQuery query(&other);
  query.AddSQL("select count(*) as n from t");
  query.Open();
  EXPECT_EQ(query.FieldByName("n").AsInteger(), 1);
  query.Close();
  database_.Commit();
  query.Open();
  EXPECT_EQ(query.FieldByName("n").AsInteger(), 2);
}

TEST_F(OdbcSqliteTest, TheCursorTypeIsLoweredToWhatTheDriverOffers) {
  TmQuery query(&database_);
  query.AddSQL("select 1");
  query.Open();
  EXPECT_NE(query.GrantedCursorType(), TCursorType::ctDynamicCursor);
}

}  // namespace
