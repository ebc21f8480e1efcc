#include "import/exchange_questionnaires.h"

#include <optional>
#include <string>

#include "api/hotsync_api.h"
#include "core/collation.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "exchange/odbc_connection_lines.h"
#include "exchange/odbc_database.h"
#include "export/export_step.h"
#include "import/answers_to_database.h"
#include "import/questionnaires_to_handheld.h"
#include "session/step_header.h"

namespace {

constexpr const char* kAnswersDatabase = "answer.mdb";
constexpr int kAnswersRow = 8;
constexpr int kQuestionnairesRow = 10;
constexpr int kLogError = 21;

std::string AnswersKeptLine(const TAnswerDelivery& answers, const TAnswerDelivery& items) {
  return Ansi("PALM-ПК: Анкеты оставлены на КПК: записано ответов ") + std::to_string(answers.InsertedOnce) +
         Ansi(" из ") + std::to_string(answers.Records) + Ansi(", строк ответов ") +
         std::to_string(items.InsertedOnce) + Ansi(" из ") + std::to_string(items.Records);
}

void DeliverAnswers(TExchangeSession& session, TPalmCatalogue& catalogue, TmDataBase& database) {
  AnnounceStep(session, "PALM-ПК: Анкеты", kAnswersRow);
  TmQuery query(&database);
  query.MessageSink = [&session](const std::string& text, const std::string& caption) {
    session.MessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
  };
  const std::string kpk = UpperCaseLatin(session.UserName);
  // One transaction: an insert that fails takes the rows before it back with it, so the answers
  // it leaves on the handheld are not in the database twice after the next exchange.
  database.StartTransaction();
  const TAnswerDelivery answers = InsertAnswerRecords(session, catalogue, query, kAnswerTable, kpk);
  const TAnswerDelivery items = InsertAnswerRecords(session, catalogue, query, kAnswerItemTable, kpk);
  database.Commit();
  if (answers.Complete() && items.Complete())
    PurgeDeliveredAnswers(session, catalogue);
  else
    session.LogLine(AnswersKeptLine(answers, items), kLogError);
}

void SendQuestionnaires(TExchangeSession& session, TPalmCatalogue& catalogue, TmDataBase& database) {
  TmQuery query(&database);
  const std::vector<TQuestionnaireRow> questionnaires = ReadQuestionnaireRows(query, kQuestTable);
  AnnounceStep(session, "ПК-PALM: Анкеты", kQuestionnairesRow);
  const std::vector<TQuestionnaireRow> items = ReadQuestionnaireRows(query, kQuestItemTable);
  ReplaceQuestionnaireRecords(session, catalogue, kQuestTable, questionnaires);
  LogExportedCount(session, ReplaceQuestionnaireRecords(session, catalogue, kQuestItemTable, items));
}

}  // namespace

void ExchangeQuestionnaires(TExchangeSession& session, TPalmCatalogue& catalogue) {
  const std::optional<std::string> path = FindFileNoCase(session.Directory, kAnswersDatabase);
  if (!path) return;
  TmDataBase database;
  database.Params = AnswersConnectionLines(*path);
  database.Connect();
  DeliverAnswers(session, catalogue, database);
  SendQuestionnaires(session, catalogue, database);
}
