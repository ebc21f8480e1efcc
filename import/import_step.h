// One import step described as data: which handheld table it reads, the file it writes in
// each format, and how every output column is filled from a handheld field. RunImportStep
// carries out any such description with the step's title, progress row and count line.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "import/import_output.h"
#include "palmdb/palm_catalogue.h"
#include "palmdb/palm_table_closer.h"
#include "session/exchange_session.h"
#include "session/step_header.h"

// How a handheld value is read and handed to the output.
enum class THandheldValueKind { Integer, Float, Date, Text };

struct TFieldMapping {
  const char* Output;    // output column (text) or field (packet), matched ignoring case
  const char* Handheld;  // handheld field read
  THandheldValueKind Kind;
  // Copied only when the handheld table defines this field; nullptr: always copied.
  const char* Presence = nullptr;
};

struct TImportStepDef {
  const char* Title;  // UTF-8; status text and log line
  int ProgressRow;
  TpfgPalmRemoteTable TPalmCatalogue::*Table;
  TOutputLayout Layout;
  std::span<const TFieldMapping> Mappings;
  bool OnlyWhenTableExists = false;  // the step is skipped without the handheld database
};

// The log line "PALM-ПК: Загружено: " and count (activity 19).
void LogImportedCount(TExchangeSession& session, int count);

// Runs one step: announces it, reads every handheld record into output and saves the file.
// counter is set to 0 when writing starts and counts the records posted (also when an error
// ends the step). Without output (the "DBF" format) the table is only opened and closed.
// Returns false when the step was skipped because its table does not exist, true otherwise.
bool RunImportStep(TExchangeSession& session, TPalmCatalogue& catalogue, const TImportStepDef& step,
                   TImportOutput* output, int32_t& counter);

// Handheld fields resolved once per step: the field read and the output slot it fills.
struct TBoundMapping {
  TpfgPalmField* Field;
  int Slot;
  THandheldValueKind Kind;
};

// The mappings that apply to table (presence tests done), bound to output's columns.
std::vector<TBoundMapping> BindMappings(TpfgPalmRemoteTable& table, TImportOutput& output,
                                        std::span<const TFieldMapping> mappings);
// Copies the current handheld record's mapped values into the output's current record.
void CopyMappedValues(const std::vector<TBoundMapping>& bound, TImportOutput& output);
