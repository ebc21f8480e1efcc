#include "export/reference_step.h"

#include "core/file_lookup.h"
#include "export/export_step.h"
#include "export/row_packing.h"
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

std::optional<TPackedRecords> ReadPackedReferenceRecords(
    TExportContext& context, const TReferenceStepDef& step,
    const std::function<void(std::span<const TStagedInput>)>& each_row) {
  TpfgPalmRemoteTable& table = context.Catalogue.*step.Table;
  if (!table.PacksRecordsAlone()) return std::nullopt;
  TReferenceReader& reader = context.Reader;
  reader.Open(context.Session.Files.*step.File, step.Order);
  context.Session.Progress->ProgressBar.SetMax(reader.RecordCount());
  std::optional<TPackedRecords> packed =
      ReadPackedRecords(reader, step.Mappings, context.Session.Format(), table, step.SortFields, each_row);
  reader.Close();
  return packed;
}

namespace {

// Empties the step's table, appends the records, logs the count, closes the table and empties
// the index table.
void WriteHandheldRecords(TExportContext& context, const TReferenceStepDef& step,
                          const std::function<void(TpfgPalmRemoteTable&)>& append) {
  TpfgPalmRemoteTable& table = context.Catalogue.*step.Table;
  TTableCloser closer(table);
  if (step.CreateWhenMissing && !table.Exists()) table.CreateTable();
  table.Open();
  table.EmptyTable();
  append(table);
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

}  // namespace

void ReplaceHandheldRecords(TExportContext& context, const TReferenceStepDef& step, TStagedRecords records) {
  TpfgPalmRemoteTable& table = context.Catalogue.*step.Table;
  if (std::optional<TPackedRecords> packed = PackStagedRecords(table, records)) {
    records.Release();
    ReplaceHandheldRecords(context, step, std::move(*packed));
    return;
  }
  CheckRecordsPack(table, records);
  WriteHandheldRecords(context, step,
                       [&](TpfgPalmRemoteTable& open) { AppendStagedRecords(context.Session, open, records); });
}

void ReplaceHandheldRecords(TExportContext& context, const TReferenceStepDef& step, TPackedRecords records) {
  WriteHandheldRecords(context, step,
                       [&](TpfgPalmRemoteTable& open) { AppendPackedRecords(context.Session, open, records); });
}

void ReadAndReplaceRecords(TExportContext& context, const TReferenceStepDef& step) {
  if (std::optional<TPackedRecords> packed = ReadPackedReferenceRecords(context, step)) {
    ReplaceHandheldRecords(context, step, std::move(*packed));
  } else {
    ReplaceHandheldRecords(context, step, ReadReferenceRecords(context, step));
  }
}

bool BeginReferenceStep(TExportContext& context, const TReferenceStepDef& step) {
  if (!ReferenceFilePresent(context.Session, context.Session.Files.*step.File)) return false;
  AnnounceStep(context.Session, step.Title, step.ProgressRow);
  return true;
}

void RunReferenceStep(TExportContext& context, const TReferenceStepDef& step) {
  if (BeginReferenceStep(context, step)) ReadAndReplaceRecords(context, step);
}
