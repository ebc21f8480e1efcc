#include "import/exchange_questionnaires.h"

#include <sqlite3.h>

#include <cstdlib>

#include "core/cp1251.h"
#include "exchange/odbc_error.h"
#include "import/import_test_fixture.h"

namespace {

const char kTables[] =
    "CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE,"
    " TimeAnswer INTEGER);"
    "CREATE TABLE AnswerItem (KPK TEXT, Id INTEGER UNIQUE, IdAnswer INTEGER, IdQuestItem INTEGER, AnswerValue TEXT);"
    "CREATE TABLE Quest (ID INTEGER, Name VARCHAR(50));"
    "CREATE TABLE QuestItem (ID INTEGER, IDQuest INTEGER, Msg1 TEXT, Msg2 TEXT, Msg3 TEXT, Msg4 TEXT, Msg5 TEXT,"
    " QuestType TEXT);"
    "INSERT INTO Quest VALUES (4, 'New');"
    "INSERT INTO QuestItem VALUES (8, 4, 'Q', NULL, '', '', '', 'N');";

class QuestionnaireTest : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    if (IsSkipped()) return;
    const std::string registry = BinDirectory() + "../etc";
    if (!std::filesystem::exists(registry + "/odbcinst.ini")) GTEST_SKIP() << "the build registers no ODBC drivers";
    ::setenv("ODBCSYSINI", registry.c_str(), 1);
    session_.UserName = "agent";
    Fill(catalogue_->ptAnswer, {{{"Id", "1"}, {"DateAnswer", "05.03.2024"}}, {{"Id", "2"}}});
    Fill(catalogue_->ptAnswerItem, {{{"Id", "1"}, {"IdAnswer", "1"}, {"AnswerValue", "yes"}}});
    Fill(catalogue_->ptQuest, {{{"Id", "1"}, {"Name", "Old"}}});
    Fill(catalogue_->ptQuestItem, {{{"Id", "1"}, {"IdQuest", "1"}}, {{"Id", "2"}, {"IdQuest", "1"}}});
  }

  void MakeAnswersDatabase(const std::string& extra_sql) {
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open((root_ / "exchange" / "Answer.MDB").c_str(), &database), SQLITE_OK);
    const int result = sqlite3_exec(database, (kTables + extra_sql).c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(database);
    ASSERT_EQ(result, SQLITE_OK);
  }

  void ExpectHandheldKeeps(int answers, int items, int questionnaires, int questionnaire_items) {
    EXPECT_EQ(RecordsOn(catalogue_->ptAnswer), answers);
    EXPECT_EQ(RecordsOn(catalogue_->ptAnswerItem), items);
    EXPECT_EQ(RecordsOn(catalogue_->ptQuest), questionnaires);
    EXPECT_EQ(RecordsOn(catalogue_->ptQuestItem), questionnaire_items);
  }
};

TEST_F(QuestionnaireTest, AnInsertOfNoRowKeepsBothAnswerDatabasesAndSaysWhy) {
  MakeAnswersDatabase("CREATE TRIGGER skip BEFORE INSERT ON Answer WHEN NEW.Id = 2 BEGIN SELECT RAISE(IGNORE); END;");
  ExchangeQuestionnaires(session_, *catalogue_);
  EXPECT_EQ(recorder_.Boxes,
            (std::vector<ShownMessage>{{"No rows affected", "ZembraToPalm", MB_OK | MB_ICONINFORMATION}}));
  EXPECT_EQ(recorder_.Log,
            (std::vector<TLoggedLine>{
                {Ansi("PALM-ПК: Анкеты"), 19},
                {Ansi("PALM-ПК: Анкеты оставлены на КПК: записано ответов 1 из 2, строк ответов 1 из 1"), 21},
                {Ansi("ПК-PALM: Анкеты"), 19},
                {Ansi("ПК-PALM: Выгружено: 1"), 19}}));
  EXPECT_TRUE(progress_.Marked(8));
  EXPECT_TRUE(progress_.Marked(10));
  EXPECT_EQ(progress_.ProgressBar.Position(), 1);
  ExpectHandheldKeeps(2, 1, 1, 1);
}

TEST_F(QuestionnaireTest, AFailedItemInsertKeepsTheAnswersAndTheQuestionnaires) {
  MakeAnswersDatabase("INSERT INTO AnswerItem VALUES ('OTHER', 1, 1, 1, 'taken');");
  EXPECT_THROW(ExchangeQuestionnaires(session_, *catalogue_), ESQLerror);
  ExpectHandheldKeeps(2, 1, 1, 2);
}

TEST_F(QuestionnaireTest, AnUnreadableItemLeavesBothQuestionnaireDatabases) {
  MakeAnswersDatabase("INSERT INTO QuestItem VALUES ('x9', 4, '', '', '', '', '', '');");
  EXPECT_THROW(ExchangeQuestionnaires(session_, *catalogue_), ESQLerror);
  EXPECT_EQ(recorder_.LogTexts().back(), Ansi("ПК-PALM: Анкеты"));
  ExpectHandheldKeeps(0, 0, 1, 2);
}

}  // namespace
