#include "import/answers_to_database.h"

#include <utility>
#include <vector>

#include "import/purge_journal.h"
#include "palmdb/palm_table_closer.h"

namespace {

using TBoundColumn = std::pair<TpfgPalmField*, TmField*>;

void CopyToColumn(const TpfgPalmField& from, TmField& to, TQuestionnaireValueKind kind) {
  switch (kind) {
    case TQuestionnaireValueKind::Integer:
      to.SetAsInteger(from.AsInteger());
      return;
    case TQuestionnaireValueKind::Date:
      to.SetAsDateTime(from.AsDateTime());
      return;
    case TQuestionnaireValueKind::Text:
      to.SetAsString(from.AsString());
      return;
  }
}

void OpenLive(TmQuery& query, const TQuestionnaireTableDef& table) {
  query.SetSQL(table.Select);
  query.InsertSQL = table.Insert;
  query.RequestLive = true;
  query.Open();
}

}  // namespace

TAnswerDelivery InsertAnswerRecords(TExchangeSession& session, TPalmCatalogue& catalogue, TmQuery& query,
                                    const TQuestionnaireTableDef& table, const std::string& kpk) {
  TAnswerDelivery delivery;
  OpenLive(query, table);
  TpfgPalmRemoteTable& records = catalogue.*table.Table;
  if (records.Exists()) {
    TTableCloser closer(records);
    records.Open();
    TmField& handheld_column = query.FieldByName(kHandheldColumn);
    std::vector<TBoundColumn> bound;
    for (const TQuestionnaireColumn& column : table.Columns)
      bound.emplace_back(&records.FieldByName(column.Handheld), &query.FieldByName(column.Database));
    while (!records.Eof()) {
      query.Append();
      handheld_column.SetAsString(kpk);
      for (size_t index = 0; index < bound.size(); ++index)
        CopyToColumn(*bound[index].first, *bound[index].second, table.Columns[index].Kind);
      session.Progress->ProgressBar.StepIt();
      ++delivery.Records;
      if (query.Post() == 1) ++delivery.InsertedOnce;
      records.Next();
    }
    records.Close();
  }
  query.Close();
  return delivery;
}

void PurgeDeliveredAnswers(TExchangeSession& session, TPalmCatalogue& catalogue) {
  std::vector<TpfgPalmRemoteTable*> delivered;
  for (TpfgPalmRemoteTable* table : {&catalogue.ptAnswer, &catalogue.ptAnswerItem}) {
    if (table->Exists()) delivered.push_back(table);
  }
  if (!delivered.empty()) PurgeTogether(session, delivered);
}
