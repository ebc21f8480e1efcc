// One reference-file export step described as data (title, progress row, input file, reading
// order, field mappings, handheld table, the order of its records, the index table emptied after
// it) and the routine that carries any such description out. Nothing on the handheld changes
// until the whole file has been read, converted and checked to pack.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "exchange/client_dataset.h"
#include "exchange/txt_table.h"
#include "export/packed_records.h"
#include "export/reference_reader.h"
#include "export/staged_records.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

struct TReferenceStepDef {
  const char* Title;  // UTF-8; status text and log line
  int ProgressRow;
  std::string TExchangeFileSet::*File;
  TReadOrder Order;
  std::span<const TExportMapping> Mappings;
  TpfgPalmRemoteTable TPalmCatalogue::*Table;
  // Handheld fields whose integers order the records after reading (none: the reading order).
  std::span<const char* const> SortFields = {};
  // Emptied once the records are written (nullptr: none).
  TpfgPalmRemoteTable TPalmCatalogue::*IndexTable = nullptr;
  bool CreateWhenMissing = false;  // the handheld database is created when it does not exist
  bool LogCount = true;            // "ПК-PALM: Выгружено: " after the records
};

// What the steps of one export share.
struct TExportContext {
  TExchangeSession& Session;
  TPalmCatalogue& Catalogue;
  TReferenceReader Reader;
};

// True when the step's file is in the exchange directory (an empty name never is).
bool ReferenceFilePresent(const TExchangeSession& session, const std::string& file_name);

// Reads the step's whole file into typed records, ordered; sets the progress maximum.
TStagedRecords ReadReferenceRecords(TExportContext& context, const TReferenceStepDef& step);
// Reads the step's whole file straight into records packed for its table, ordered; sets the
// progress maximum. each_row sees every row's values as read. None when the table does not pack
// records alone or a row does not pack: the staged road then reads the file again.
std::optional<TPackedRecords> ReadPackedReferenceRecords(
    TExportContext& context, const TReferenceStepDef& step,
    const std::function<void(std::span<const TStagedInput>)>& each_row = {});

// Checks the records pack, then empties the step's table, writes them, logs the count, closes
// the table and empties the index table. Records the table packs alone are let go once packed,
// before the handheld holds their bytes.
void ReplaceHandheldRecords(TExportContext& context, const TReferenceStepDef& step, TStagedRecords records);
// The same for records packed already.
void ReplaceHandheldRecords(TExportContext& context, const TReferenceStepDef& step, TPackedRecords records);
// Reads the step's file and replaces the table's records with its rows, packed as they are read
// where the table allows it, staged otherwise.
void ReadAndReplaceRecords(TExportContext& context, const TReferenceStepDef& step);

// The start of a step: nothing when its file is absent; otherwise the step header. True when the
// step goes on to read and replace.
bool BeginReferenceStep(TExportContext& context, const TReferenceStepDef& step);

// The whole step: BeginReferenceStep, then read and replace.
void RunReferenceStep(TExportContext& context, const TReferenceStepDef& step);
