#include "export/reference_step.h"

#include "core/file_lookup.h"
#include "export/export_step.h"
#include "palmdb/palm_table_closer.h"
#include "session/step_header.h"

bool ReferenceFilePresent(const TExchangeSession& session, const std::string& file_name) {
  return !file_name.empty() && FileExistsNoCase(session.Directory, file_name);
}

TStagedRecords ReadReferenceRecords(TExportContext& context, const TReferenceStepDef& step) {
  TReferenceReader& reader = context.Reader;
  reader.Open(context.Session.Files.*step.File, step.Order);
  context.Session.Progress->ProgressBar.SetMax(reader.RecordCount());
  TStagedRecords records = ReadStagedRecords(reader, step.Mappings, context.Session.Format());
  reader.Close();
  if (!step.SortFields.empty()) SortStagedRecords(records, step.SortFields);
  return records;
}

void ReplaceHandheldRecords(TExportContext& context, const TReferenceStepDef& step, TStagedRecords records) {
  TpfgPalmRemoteTable& table = context.Catalogue.*step.Table;
  std::optional<TPackedRecords> packed = PackStagedRecords(table, records);
  if (packed) {
    records.Release();
  } else {
    CheckRecordsPack(table, records);
  }
  TTableCloser closer(table);
  if (step.CreateWhenMissing && !table.Exists()) table.CreateTable();
  table.Open();
  table.EmptyTable();
  if (packed) {
    AppendPackedRecords(context.Session, table, *packed);
  } else {
    AppendStagedRecords(context.Session, table, records);
  }
  if (step.LogCount) LogExportedCount(context.Session, table.RecordCount());
  table.Close();
  if (step.IndexTable != nullptr) {
    TpfgPalmRemoteTable& index = context.Catalogue.*step.IndexTable;
    TTableCloser index_closer(index);
    index.Open();
    index.EmptyTable();
    index.Close();
  }
}

bool BeginReferenceStep(TExportContext& context, const TReferenceStepDef& step) {
  if (!ReferenceFilePresent(context.Session, context.Session.Files.*step.File)) return false;
  AnnounceStep(context.Session, step.Title, step.ProgressRow);
  return true;
}

void RunReferenceStep(TExportContext& context, const TReferenceStepDef& step) {
  if (BeginReferenceStep(context, step)) ReplaceHandheldRecords(context, step, ReadReferenceRecords(context, step));
}
