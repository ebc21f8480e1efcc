// The dBase driver through unixODBC, with the conduit's connection strings and statements.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "odbc/dbase_table.h"
#include "odbc/odbc_client.h"

namespace {

class DbaseDriverTest : public testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        (std::filesystem::temp_directory_path() / ("dbase_driver_test." + std::to_string(getpid()))).string() + "/";
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string FoxProConnection() const {
    return "DRIVER=Microsoft FoxPro VFP Driver (*.dbf);SourceDB=" + directory_ +
           ";SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;Collate=RUSSIAN";
  }
  std::string DbaseConnection(const char* driver = "Microsoft dBase Driver (*.dbf)") const {
    return std::string("DRIVER=") + driver + ";DefaultDir=" + directory_ + ";SourceDB=" + directory_ +
           ";SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;FIL=dBase "
           "III;DriverId=21;MaxBufferSize=2048;PageTimeout=5";
  }

  std::string directory_;
};

const char* const kOrderLineInsert =
    "insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values (?,?,?,?)";

TEST_F(DbaseDriverTest, FoxProWritesOrderLinesInATransaction) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(FoxProConnection()), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.TransactionCapable(), SQL_TC_ALL);
  ASSERT_EQ(
      client.Run("Create table \"" + directory_ +
                 "orderitem.dbf\" (idorder integer,IdProduct Integer, Quantity Numeric(15,3), Price Numeric(15,3))"),
      SQL_SUCCESS)
      << client.Error();
  ASSERT_EQ(client.SetAutoCommit(false), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.Run(kOrderLineInsert, {"7", "101", "F:2.5", "F:10"}), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.RowCount(), 1);
  ASSERT_EQ(client.Run(kOrderLineInsert, {"5", "102", "F:1", "F:0.125"}), SQL_SUCCESS) << client.Error();
  EXPECT_TRUE(ReadDbaseTable(directory_ + "orderitem.dbf").rows.empty());  // nothing written before the commit
  ASSERT_EQ(client.Commit(), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(ReadDbaseTable(directory_ + "orderitem.dbf").rows.size(), 2u);
  ASSERT_EQ(client.Run("select * from \"orderitem.dbf\"\r\nOrder by IdOrder"), SQL_SUCCESS) << client.Error();
  const auto rows = client.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"5", "102", "1", "0.125"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"7", "101", "2.5", "10"}));
}

TEST_F(DbaseDriverTest, DbaseFamilyWritesTheOrderTableWithoutTransactions) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(DbaseConnection("Microsoft dBase-Treiber (*.dbf)")), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.TransactionCapable(), SQL_TC_NONE);
  EXPECT_EQ(client.SetAutoCommit(false), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 5), "HYC00");
  ASSERT_EQ(client.Run("Create table \"order.dbf\" (id integer,IdCustomer integer, OrderDate Date, DelivDate Date, "
                       "IDPAYMENT integer, Countrow Integer, NPrice Integer, Discount Float, Total Float, Prim "
                       "char(200), OrderTime Char(10),Note1 Char(200),Note2 Char(200))"),
            SQL_SUCCESS)
      << client.Error();
  ASSERT_EQ(client.Run("insert into  \"order.dbf\" (id,IdCustomer, OrderDate, DelivDate, IDPAYMENT, Countrow, NPrice, "
                       "Discount,Total,Prim,OrderTime,Note1,Note2)\r\n  values (?,?, ?, ?, ?, ?, ?, ?,?,?,?,?,?)",
                       {"12", "3", "D:2024-03-05", "D:2024-03-06", "1", "2", "1", "F:5", "F:250.75",
                        "\xCF\xF0\xE8\xEC\xE5\xF7\xE0\xED\xE8\xE5", "10:15", "", "\x01"}),
            SQL_SUCCESS)
      << client.Error();
  const DbaseTable table = ReadDbaseTable(directory_ + "order.dbf");  // written at the statement's end
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.fields[2].type, 'D');
  EXPECT_EQ(std::get<Date>(table.rows[0][2]), (Date{2024, 3, 5}));
  EXPECT_EQ(std::get<std::string>(table.rows[0][9]), "\xCF\xF0\xE8\xEC\xE5\xF7\xE0\xED\xE8\xE5");
  ASSERT_EQ(client.Run("select * from \"ORDER.DBF\""), SQL_SUCCESS) << client.Error();
  const auto rows = client.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], "2024-03-05");
  EXPECT_EQ(rows[0][8], "250.75");
  EXPECT_EQ(rows[0][12], "NULL");
}

TEST_F(DbaseDriverTest, RollbackLeavesTheFileAsCommittedAndCursorsAreStatic) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(FoxProConnection()), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.Run("Create table \"" + directory_ + "notes.dbf\" (Note Char(200))"), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.SetAutoCommit(false), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.Run("insert into \"NOTES.dbf\" (note) values (?)", {std::string(150, 'x')}), SQL_SUCCESS);
  ASSERT_EQ(client.Commit(), SQL_SUCCESS);
  ASSERT_EQ(client.Run("insert into \"NOTES.dbf\" (note) values (?)", {"lost"}), SQL_SUCCESS);
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, nullptr, SQL_ROLLBACK), SQL_INVALID_HANDLE);

  OdbcClient reader;  // a fresh statement: the cursor type is set before the statement is prepared
  ASSERT_EQ(reader.Connect(FoxProConnection()), SQL_SUCCESS) << reader.Error();
  SQLHSTMT statement = reader.Statement();
  EXPECT_EQ(SQLSetStmtAttr(statement, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_DYNAMIC), 0),
            SQL_SUCCESS_WITH_INFO);
  SQLULEN cursor = 0;
  SQLGetStmtAttr(statement, SQL_ATTR_CURSOR_TYPE, &cursor, 0, nullptr);
  EXPECT_EQ(cursor, SQL_CURSOR_STATIC);
  ASSERT_EQ(reader.Run("select * from \"notes.dbf\""), SQL_SUCCESS) << reader.Error();
  ASSERT_EQ(SQLFetchScroll(statement, SQL_FETCH_LAST, 0), SQL_SUCCESS);
  char part[101];
  SQLLEN length = 0;
  EXPECT_EQ(SQLGetData(statement, 1, SQL_C_CHAR, part, sizeof part, &length), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(length, 150);
  EXPECT_EQ(SQLGetData(statement, 1, SQL_C_CHAR, part, sizeof part, &length), SQL_SUCCESS);
  EXPECT_EQ(length, 50);
  EXPECT_EQ(SQLGetData(statement, 1, SQL_C_CHAR, part, sizeof part, &length), SQL_NO_DATA);
  EXPECT_EQ(SQLFetchScroll(statement, SQL_FETCH_NEXT, 0), SQL_NO_DATA);  // the uncommitted row is not on disk
  EXPECT_EQ(SQLFetchScroll(statement, SQL_FETCH_FIRST, 0), SQL_SUCCESS);
  ASSERT_EQ(client.Run("select * from \"notes.dbf\""), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.Rows().size(), 2u);  // its own connection sees it
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, client.Connection(), SQL_ROLLBACK), SQL_SUCCESS);
  ASSERT_EQ(client.Run("select * from \"notes.dbf\""), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.Rows().size(), 1u);
}

TEST_F(DbaseDriverTest, DisconnectWithoutCommitKeepsOnlyCommittedRows) {
  {
    OdbcClient client;
    ASSERT_EQ(client.Connect(FoxProConnection()), SQL_SUCCESS) << client.Error();
    ASSERT_EQ(client.Run("Create table \"" + directory_ + "t.dbf\" (a Integer)"), SQL_SUCCESS) << client.Error();
    ASSERT_EQ(client.SetAutoCommit(false), SQL_SUCCESS);
    ASSERT_EQ(client.Run("insert into \"t.dbf\" (a) values (1)"), SQL_SUCCESS) << client.Error();
    ASSERT_EQ(client.Commit(), SQL_SUCCESS);
    ASSERT_EQ(client.Run("insert into \"t.dbf\" (a) values (2)"), SQL_SUCCESS) << client.Error();
  }
  const DbaseTable table = ReadDbaseTable(directory_ + "t.dbf");
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(std::get<int64_t>(table.rows[0][0]), 1);
}

TEST_F(DbaseDriverTest, BadInputGivesDiagnosticsNamingTheFile) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(DbaseConnection()), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.Run("drop table \"order.dbf\""), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 33), "42000: Cannot parse the statement");
  EXPECT_EQ(client.Run("select * from \"missing.dbf\""), SQL_ERROR);
  EXPECT_EQ(client.Error(), "42S02: Table not found: \"" + directory_ + "missing.dbf\"");
  std::ofstream(directory_ + "cash.dbf") << "not a table at all, just some text that is long enough";
  EXPECT_EQ(client.Run("select * from \"cash.dbf\""), SQL_ERROR);
  EXPECT_EQ(client.Error().rfind("HY000: \"" + directory_ + "cash.dbf\" is not a dBase file", 0), 0u) << client.Error();
  ASSERT_EQ(client.Run("Create table \"t.dbf\" (a Char(2))"), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.Run("Create table \"T.dbf\" (a Char(2))"), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 5), "42S01");
  EXPECT_EQ(client.Run("insert into \"t.dbf\" (b) values (?)", {"x"}), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 5), "42S22");
  EXPECT_EQ(client.Run("insert into \"t.dbf\" (a) values (?)", {"xyz"}), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 5), "22001");
  EXPECT_TRUE(ReadDbaseTable(directory_ + "t.dbf").rows.empty());

  OdbcClient nowhere;
  EXPECT_EQ(nowhere.Connect("DRIVER=Microsoft dBase Driver (*.dbf);DefaultDir=/nonexistent/dir/"), SQL_ERROR);
  EXPECT_EQ(nowhere.Error(), "08001: The directory \"/nonexistent/dir/\" does not exist");
}

}  // namespace
