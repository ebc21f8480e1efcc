// The answers driver through unixODBC, with the conduit's connection string and statements.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "odbc/odbc_client.h"

namespace {

class AnswersDriverTest : public testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        (std::filesystem::temp_directory_path() / ("answers_driver_test." + std::to_string(getpid()))).string();
    std::filesystem::create_directories(directory_);
    path_ = directory_ + "/answer.mdb";
    sqlite3* database = nullptr;
    sqlite3_open(path_.c_str(), &database);
    sqlite3_exec(database,
                 "CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE, "
                 "TimeAnswer INTEGER);"
                 "CREATE TABLE QuestItem (ID INTEGER, IDQuest INTEGER, Msg1 VARCHAR(100), Msg2 TEXT, Msg3 TEXT, "
                 "Msg4 TEXT, Msg5 TEXT, QuestType TEXT);"
                 "INSERT INTO QuestItem VALUES (3, 2, 'Вопрос', NULL, '', '', '', 'Y');"
                 "INSERT INTO QuestItem VALUES (1, 2, 'Первый', NULL, '', '', '', 'N');"
                 "INSERT INTO QuestItem VALUES (9, 1, 'Other', NULL, '', '', '', 'N');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(database);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::string Connection(const std::string& path) const {
    return "DRIVER=Microsoft Access Driver (*.mdb);DriverId=25;MaxBufferSize=2048;PageTimeout=5;DBQ=" + path +
           ";FIL=MS Access";
  }
  std::string directory_;
  std::string path_;
};

TEST_F(AnswersDriverTest, AnswersGoInAsUtf8WithIsoDates) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(Connection(path_)), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.Run("insert into  Answer (KPK, Id,IdQUEST,IdCustomer,DateAnswer, TimeAnswer)\r\n"
                       " values (?, ?,?,?,?, ?)",
                       {"\xC0\xC3\xC5\xCD\xD2"
                        "7",
                        "1", "2", "3", "D:2024-03-05", "930"}),
            SQL_SUCCESS)
      << client.Error();
  EXPECT_EQ(client.RowCount(), 1);
  sqlite3* database = nullptr;
  sqlite3_open(path_.c_str(), &database);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(database, "SELECT KPK, DateAnswer, typeof(Id) FROM Answer", -1, &statement, nullptr);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "АГЕНТ7");
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)), "2024-03-05");
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 2)), "integer");
  sqlite3_finalize(statement);
  sqlite3_close(database);
  ASSERT_EQ(client.Run("select * from Answer"), SQL_SUCCESS) << client.Error();
  const auto rows = client.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0],
            "\xC0\xC3\xC5\xCD\xD2"
            "7");
  EXPECT_EQ(rows[0][4], "2024-03-05");
}

TEST_F(AnswersDriverTest, QuestionnaireItemsComeSortedAndInWindows1251) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(Connection(path_)), SQL_SUCCESS) << client.Error();
  ASSERT_EQ(client.Run("select * from QuestItem order by idQuest,Id"), SQL_SUCCESS) << client.Error();
  SQLCHAR name[32];
  SQLSMALLINT length = 0, type = 0, decimals = 0, nullable = 0;
  SQLULEN size = 0;
  SQLDescribeCol(client.Statement(), 3, name, sizeof name, &length, &type, &size, &decimals, &nullable);
  EXPECT_EQ(type, SQL_VARCHAR);
  EXPECT_EQ(size, 100u);
  SQLDescribeCol(client.Statement(), 1, name, sizeof name, &length, &type, &size, &decimals, &nullable);
  EXPECT_EQ(type, SQL_INTEGER);
  const auto rows = client.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], "9");
  EXPECT_EQ(rows[1][2], "\xCF\xE5\xF0\xE2\xFB\xE9");
  EXPECT_EQ(rows[2][0], "3");
  EXPECT_EQ(rows[1][3], "NULL");
}

TEST_F(AnswersDriverTest, BadInputGivesDiagnosticsNamingTheFile) {
  OdbcClient client;
  ASSERT_EQ(client.Connect(Connection(path_)), SQL_SUCCESS) << client.Error();
  EXPECT_EQ(client.Run("select * from Quest order by id"), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 6), "42S02:");
  EXPECT_NE(client.Error().find(path_), std::string::npos);
  EXPECT_EQ(client.Run("update Answer set Id = 1"), SQL_ERROR);
  EXPECT_EQ(client.Error().substr(0, 5), "42000");

  const std::string text = directory_ + "/text.mdb";
  std::ofstream(text) << "This is a text file pretending to be an answers database, long enough to be read.";
  OdbcClient not_sqlite;
  EXPECT_EQ(not_sqlite.Connect(Connection(text)), SQL_ERROR);
  EXPECT_EQ(not_sqlite.Error().rfind("08001: \"" + text + "\" is not an SQLite database", 0), 0u) << not_sqlite.Error();
  OdbcClient missing;
  EXPECT_EQ(missing.Connect(Connection(directory_ + "/none.mdb")), SQL_ERROR);
  EXPECT_EQ(missing.Error(), "08001: The answers database \"" + directory_ + "/none.mdb\" does not exist");
}

}  // namespace
