#include "odbc/sql_statement.h"

#include <gtest/gtest.h>

#include "odbc/driver_error.h"

namespace {

std::string SqlStateOf(const std::string& sql) {
  try {
    ParseSqlStatement(sql);
  } catch (const DriverError& error) {
    return error.SqlState() + ": " + error.what();
  }
  return "parsed";
}

TEST(SqlStatement, OrderTableCreationsOfBothFamiliesParse) {
  const auto vfp = std::get<CreateTableStatement>(ParseSqlStatement(
      "Create table \"/tmp/exchange/order.dbf\" (id integer,IdCustomer integer, OrderDate Date, DelivDate Date, "
      "IDPAYMENT integer, Countrow Integer, NPrice Integer, Discount Numeric(15,3), Total Numeric(15,3),Prim "
      "char(200), OrderTime Char(10),Note1 Char(200),Note2 Char(200))"));
  EXPECT_EQ(vfp.table, "/tmp/exchange/order.dbf");
  ASSERT_EQ(vfp.columns.size(), 13u);
  EXPECT_EQ(vfp.columns[7].type, ColumnType::Numeric);
  EXPECT_EQ(vfp.columns[7].width, 15);
  EXPECT_EQ(vfp.columns[7].decimals, 3);
  EXPECT_EQ(vfp.columns[9].width, 200);
  const auto dbase = std::get<CreateTableStatement>(ParseSqlStatement(
      "Create table \"orders.dbf\" (Idorder Char(15),Iditem Char(15), OrderDate Char(15),DelivDate Char(15), "
      "IdCustomer Char(15), IdPayment Char(15), Total Char(18),CountRow Char(15),IdPrice Char(15),Discount "
      "Char(15), Prim Char(200), OrderTime Char(10),\r\nNote1 Char(200),Note2 Char(200))"));
  EXPECT_EQ(dbase.columns.size(), 14u);
  EXPECT_EQ(
      std::get<CreateTableStatement>(ParseSqlStatement("Create table \"orderitem.dbf\" (idorder integer,IdProduct "
                                                       "Integer, Quantity Float, Price Float)"))
          .columns[2]
          .type,
      ColumnType::Float);
}

TEST(SqlStatement, InsertsCountTheirQuestionMarks) {
  const auto insert = std::get<InsertStatement>(
      ParseSqlStatement("insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values (?,?,?,?)"));
  EXPECT_EQ(insert.table, "orderItem.dbf");
  EXPECT_EQ(insert.parameter_count, 4);
  EXPECT_EQ(insert.columns[1], "IdProduct");
  const auto answer = std::get<InsertStatement>(ParseSqlStatement(
      "insert into  Answer (KPK, Id,IdQUEST,IdCustomer,DateAnswer, TimeAnswer)\r\n values (?, ?,?,?,?, ?)"));
  EXPECT_EQ(answer.table, "Answer");
  EXPECT_EQ(answer.parameter_count, 6);
  const auto literals =
      std::get<InsertStatement>(ParseSqlStatement("insert into t (a, b, c) values ('it''s', -2, NULL)"));
  EXPECT_EQ(std::get<std::string>(literals.values[0].literal), "it's");
  EXPECT_EQ(std::get<int64_t>(literals.values[1].literal), -2);
  EXPECT_TRUE(IsNull(literals.values[2].literal));
}

TEST(SqlStatement, SelectsWithTheirOrder) {
  const auto select = std::get<SelectStatement>(ParseSqlStatement("select * from \"order.dbf\"\r\nOrder by Id"));
  EXPECT_EQ(select.order_by, std::vector<std::string>{"Id"});
  const auto items = std::get<SelectStatement>(ParseSqlStatement("select * from QuestItem order by idQuest,Id"));
  EXPECT_EQ(items.table, "QuestItem");
  EXPECT_EQ(items.order_by, (std::vector<std::string>{"idQuest", "Id"}));
}

TEST(SqlStatement, WhatCannotBeParsedIsNamed) {
  EXPECT_EQ(SqlStateOf("delete from \"order.dbf\""),
            "42000: Cannot parse the statement \"delete from \"order.dbf\"\": expected CREATE TABLE, INSERT INTO or "
            "SELECT at position 1, found \"delete\"");
  EXPECT_NE(SqlStateOf("select id from x").find("42000: Cannot parse"), std::string::npos);
  EXPECT_NE(SqlStateOf("Create table \"x.dbf\" (a Money)").find("a column type"), std::string::npos);
  EXPECT_NE(SqlStateOf("Create table \"x.dbf\" (a Char(300))").find("Char(1) to Char(254) for a"), std::string::npos);
  EXPECT_NE(SqlStateOf("select * from \"x.dbf").find("42000: Unterminated quoted name"), std::string::npos);
  EXPECT_NE(SqlStateOf("select * from x where a").find("the end of the statement"), std::string::npos);
  EXPECT_NE(SqlStateOf("select * from x where a = 1").find("Unexpected character '=' at position 25"),
            std::string::npos);
  EXPECT_EQ(SqlStateOf("insert into t (a, b) values (?)").substr(0, 5), "21S01");
  EXPECT_EQ(SqlStateOf("select * from x;"), "parsed");
}

}  // namespace
