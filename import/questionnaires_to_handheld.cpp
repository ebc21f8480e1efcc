#include "import/questionnaires_to_handheld.h"

#include "palmdb/palm_table_closer.h"

namespace {

TPalmValue ReadColumn(const TmField& field, TQuestionnaireValueKind kind) {
  switch (kind) {
    case TQuestionnaireValueKind::Integer:
      return field.AsInteger();
    case TQuestionnaireValueKind::Date:
      return field.AsDateTime();
    case TQuestionnaireValueKind::Text:
      break;
  }
  return field.AsString();
}

}  // namespace

std::vector<TQuestionnaireRow> ReadQuestionnaireRows(TmQuery& query, const TQuestionnaireTableDef& table) {
  query.SetSQL(table.Select);
  query.RequestLive = false;
  query.Open();
  std::vector<const TmField*> fields;
  for (const TQuestionnaireColumn& column : table.Columns) fields.push_back(&query.FieldByName(column.Database));
  std::vector<TQuestionnaireRow> rows;
  for (; !query.Eof(); query.Next()) {
    TQuestionnaireRow& row = rows.emplace_back();
    for (size_t index = 0; index < fields.size(); ++index)
      row.push_back(ReadColumn(*fields[index], table.Columns[index].Kind));
  }
  query.Close();
  return rows;
}

int ReplaceQuestionnaireRecords(TExchangeSession& session, TPalmCatalogue& catalogue,
                                const TQuestionnaireTableDef& table, const std::vector<TQuestionnaireRow>& rows) {
  TpfgPalmRemoteTable& records = catalogue.*table.Table;
  TTableCloser closer(records);
  if (!records.Exists()) records.CreateTable();
  records.Open();
  records.EmptyTable();
  session.Progress->ProgressBar.SetPosition(0);
  session.Progress->ProgressBar.SetMax(static_cast<int>(rows.size()));
  std::vector<TpfgPalmField*> fields;
  for (const TQuestionnaireColumn& column : table.Columns) fields.push_back(&records.FieldByName(column.Handheld));
  for (const TQuestionnaireRow& row : rows) {
    records.Insert();
    for (size_t index = 0; index < fields.size(); ++index) fields[index]->SetValue(row[index]);
    records.Post();
    session.Progress->ProgressBar.StepIt();
  }
  const int count = records.RecordCount();
  records.Close();
  return count;
}
