// The questionnaire exchange as a user meets it: hotsync on a temporary home, an "answer.mdb"
// made by the sqlite3 shell, the handheld's answers and questionnaires read back by the handheld tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "tests/e2e/e2e_home.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSqliteShell = "/usr/bin/sqlite3";
// Lower-case Latin letters, digits and Cyrillic letters; its folder spells them in Latin.
constexpr const char* kUser = "agent7бв";
constexpr const char* kUserFolder = "agent7bv";

const char kTables[] =
    "CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE, "
    "TimeAnswer INTEGER);"
    "CREATE TABLE AnswerItem (KPK TEXT, Id INTEGER, IdAnswer INTEGER, IdQuestItem INTEGER, AnswerValue TEXT);"
    "CREATE TABLE Quest (ID INTEGER, Name VARCHAR(50));"
    "CREATE TABLE QuestItem (ID INTEGER, IDQuest INTEGER, Msg1 TEXT, Msg2 TEXT, Msg3 TEXT, Msg4 TEXT, Msg5 TEXT, "
    "QuestType TEXT);";
const char kAnswers[] =
    "Id;IDQUEST;IDCUSTOMER;DATEANSWER;TIMEANSWER\r\n"
    "1;2;10;05.03.2024;930\r\n"
    "2;2;11;06.03.2024;1015\r\n";
const char kAnswerItems[] = "Id;IDANSWER;IDQUESTITEM;ANSWERVALUE\r\n1;1;5;\xC4\xE0\r\n2;2;6;no\r\n";
const char kQuestItemHeader[] = "Id;IdQuest;Msg1;Msg2;Msg3;Msg4;Msg5;QuestType";

class QuestionnaireE2ETest : public ::testing::Test, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    if (!fs::exists(kSqliteShell)) GTEST_SKIP() << "the sqlite3 shell is not installed";
    MakeScratch("zp-e2e-quest");
    ASSERT_NO_FATAL_FAILURE(AddUser(kUser, kUserFolder));
    WriteFileAtomic(home_ + "/ZembraToPalm.ini", "[COMMON]\r\nEXCHANGEFILEFORMAT=TXT\r\n");
    WriteFileAtomic(exchange_ + "Category.txt", "Id;IdParent;Name\r\n1;0;Drinks;\r\n");
    WriteFileAtomic(exchange_ + "Customer.txt",
                    "Id;Code;Name;Address;CurrentSaldo;nPrice;PercentDiscount\r\n1;C1;Shop;Street;0;1;0;\r\n");
    WriteFileAtomic(exchange_ + "Product.txt",
                    "Id;IdCategory;Code;Name;Fullname;Ed;Standard;Quantity;Price1;Price2;Price3;Price4\r\n"
                    "101;1;P1;Juice;Juice;pc;1;1;1;1;1;1;\r\n");
    for (const char* database : {"Zembra_CustomerDB", "Zembra_ProductDB", "Zembra_CategoryDB", "Zembra_OrderDB",
                                 "Zembra_CashDB", "Zembra_RouteDB"})
      Load(database, "Id\r\n");
    for (const char* index : {"Zembra_CustomerIndexDB", "Zembra_ProductIndexDB", "Zembra_RouteIndexDB"})
      Load(index, "Name\r\n");
    Load("Zembra_OrderItemDB", "IdOrder\r\n");
    Load("Zembra_AnswerDb", kAnswers);
    Load("Zembra_AnswerItemDb", kAnswerItems);
    Load("Zembra_QuestDb", "Id;Name\r\n1;Old\r\n");
    Load("Zembra_QuestItemDb", "Id;IdQuest;Msg1\r\n1;1;Old\r\n2;1;Older\r\n");
  }

  TProgramRun Sync() { return HotSync({"sync", "--user", kUser, "--no"}); }

  // The answers database, made by the sqlite3 shell from SQL in UTF-8.
  void MakeAnswersDatabase(const std::string& sql) {
    const TProgramRun run = RunProgram(kSqliteShell, {exchange_ + "answer.mdb", sql}, root_.string());
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
  }
  std::vector<std::string> Select(const std::string& sql) {
    const TProgramRun run = RunProgram(kSqliteShell, {exchange_ + "answer.mdb", sql}, root_.string());
    EXPECT_EQ(run.ExitStatus, 0) << run.Err;
    return LinesOf(run.Out);
  }

  bool Logged(const std::string& line) const {
    const std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(QuestionnaireE2ETest, AnswersReachTheDatabaseUnderTheHandheldsName) {
  MakeAnswersDatabase(std::string(kTables) + "INSERT INTO Answer VALUES ('OTHER', 1, 1, 1, '2024-01-01', 1);");
  ASSERT_EQ(Sync().ExitStatus, 0) << LogBytes();
  EXPECT_EQ(Select("SELECT * FROM Answer ORDER BY rowid"),
            (std::vector<std::string>{"OTHER|1|1|1|2024-01-01|1", "AGENT7бв|1|2|10|2024-03-05|930",
                                      "AGENT7бв|2|2|11|2024-03-06|1015"}));
  EXPECT_EQ(Select("SELECT * FROM AnswerItem ORDER BY rowid"),
            (std::vector<std::string>{"AGENT7бв|1|1|5|Да", "AGENT7бв|2|2|6|no"}));
  EXPECT_EQ(RecordsOn("Zembra_AnswerDb"), 0u);
  EXPECT_EQ(RecordsOn("Zembra_AnswerItemDb"), 0u);
  const std::vector<std::string> lines = LogLines();
  const auto answers = std::find(lines.begin(), lines.end(), Line("PALM-ПК: Анкеты"));
  ASSERT_LE(answers + 3, lines.end());
  EXPECT_EQ(
      std::vector<std::string>(answers, answers + 3),
      (std::vector<std::string>{Line("PALM-ПК: Анкеты"), Line("ПК-PALM: Анкеты"), Line("ПК-PALM: Выгружено: 0")}));
}

TEST_F(QuestionnaireE2ETest, ShuffledItemsArriveGroupedByQuestionnaireInIdOrder) {
  MakeAnswersDatabase(std::string(kTables) +
                      "INSERT INTO Quest VALUES (7, 'Полка'), (3, 'Цены');"
                      "INSERT INTO QuestItem VALUES (12, 7, 'Есть ли товар?', NULL, '', '', '', 'Y'),"
                      " (5, 3, 'a', 'b', 'c', 'd', 'e', 'N'), (2, 7, 'x', '', '', '', '', 'S'),"
                      " (9, 3, 'z', '', '', '', '', 'N');");
  ASSERT_EQ(Sync().ExitStatus, 0) << LogBytes();
  EXPECT_EQ(Dump("Zembra_QuestDb"), (std::vector<std::string>{"Id;Name", Line("3;Цены;"), Line("7;Полка;")}));
  EXPECT_EQ(Dump("Zembra_QuestItemDb"), (std::vector<std::string>{kQuestItemHeader, "5;3;a;b;c;d;e;N;", "9;3;z;;;;;N;",
                                                                  "2;7;x;;;;;S;", Line("12;7;Есть ли товар?;;;;;Y;")}));
  EXPECT_TRUE(Logged(Line("ПК-PALM: Выгружено: 4")));
}

TEST_F(QuestionnaireE2ETest, TheDbaseOrderFormatExchangesQuestionnairesToo) {
  WriteFileAtomic(home_ + "/ZembraToPalm.ini", "[COMMON]\r\nEXCHANGEFILEFORMAT=TXTINDBFOUT\r\n");
  MakeAnswersDatabase(std::string(kTables) + "INSERT INTO Quest VALUES (3, 'New');");
  ASSERT_EQ(Sync().ExitStatus, 0) << LogBytes();
  EXPECT_EQ(Select("SELECT count(*) FROM Answer"), (std::vector<std::string>{"2"}));
  EXPECT_EQ(RecordsOn("Zembra_AnswerDb"), 0u);
  EXPECT_EQ(Dump("Zembra_QuestDb"), (std::vector<std::string>{"Id;Name", "3;New;"}));
}

TEST_F(QuestionnaireE2ETest, AnEmptyQuestTableEmptiesTheHandheldQuestionnaires) {
  MakeAnswersDatabase(kTables);
  ASSERT_EQ(Sync().ExitStatus, 0) << LogBytes();
  EXPECT_EQ(RecordsOn("Zembra_QuestDb"), 0u);
  EXPECT_EQ(RecordsOn("Zembra_QuestItemDb"), 0u);
}

TEST_F(QuestionnaireE2ETest, WithoutAnswerDatabaseNothingIsTouchedOrLogged) {
  ASSERT_EQ(Sync().ExitStatus, 0) << LogBytes();
  EXPECT_EQ(RecordsOn("Zembra_AnswerDb"), 2u);
  EXPECT_EQ(RecordsOn("Zembra_AnswerItemDb"), 2u);
  EXPECT_EQ(Dump("Zembra_QuestDb"), (std::vector<std::string>{"Id;Name", "1;Old;"}));
  EXPECT_EQ(RecordsOn("Zembra_QuestItemDb"), 2u);
  for (const std::string& line : LogLines()) EXPECT_EQ(line.find(Line("Анкеты")), std::string::npos) << line;
}

TEST_F(QuestionnaireE2ETest, ARefusedInsertKeepsTheAnswersAndTakesTheRowsBeforeItBack) {
  MakeAnswersDatabase(
      "CREATE TABLE Answer (KPK TEXT, Id INTEGER UNIQUE, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE, "
      "TimeAnswer INTEGER);"
      "INSERT INTO Answer VALUES ('OTHER', 2, 1, 1, '2024-01-01', 1);"
      "CREATE TABLE Quest (ID INTEGER, Name TEXT); INSERT INTO Quest VALUES (3, 'New');");
  Sync();
  EXPECT_EQ(Select("SELECT KPK, Id FROM Answer"), (std::vector<std::string>{"OTHER|2"}));
  EXPECT_EQ(RecordsOn("Zembra_AnswerDb"), 2u);
  EXPECT_EQ(RecordsOn("Zembra_AnswerItemDb"), 2u);
  EXPECT_EQ(Dump("Zembra_QuestDb"), (std::vector<std::string>{"Id;Name", "1;Old;"}));
  EXPECT_FALSE(Logged(Line("ПК-PALM: Анкеты")));
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                         [](const std::string& line) { return line.rfind("ZembraToPalm - 23000:", 0) == 0; }),
            lines.end());
}

TEST_F(QuestionnaireE2ETest, AMissingQuestItemTableKeepsTheHandheldQuestionnaires) {
  MakeAnswersDatabase(
      "CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE, "
      "TimeAnswer INTEGER);"
      "CREATE TABLE AnswerItem (KPK TEXT, Id INTEGER, IdAnswer INTEGER, IdQuestItem INTEGER, AnswerValue TEXT);"
      "CREATE TABLE Quest (ID INTEGER, Name TEXT); INSERT INTO Quest VALUES (3, 'New');");
  Sync();
  EXPECT_EQ(Dump("Zembra_QuestDb"), (std::vector<std::string>{"Id;Name", "1;Old;"}));
  EXPECT_EQ(Dump("Zembra_QuestItemDb"),
            (std::vector<std::string>{kQuestItemHeader, "1;1;Old;;;;;;", "2;1;Older;;;;;;"}));
  EXPECT_EQ(RecordsOn("Zembra_AnswerDb"), 0u);
}

}  // namespace
