// The rows of a reference file packed for a handheld table as they are read, held in no other
// form on the way: the road of every table that packs records alone.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "export/packed_records.h"
#include "export/reference_reader.h"
#include "export/staged_records.h"
#include "palmdb/palm_remote_table.h"

// Reads every row of the opened reader through the mappings, as ReadStagedRecords does, and
// packs it for the closed table; the walk orders the records ascending by the integer values of
// the handheld fields named in sort_fields, as SortStagedRecords does. each_row, when given, sees
// every row's values as read. A value that does not convert throws the reader's error, as
// reading staged records does. None when the table does not pack records alone or a row does
// not pack: the staged road then gives the error it always gave.
std::optional<TPackedRecords> ReadPackedRecords(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                                TExchangeFormat format, TpfgPalmRemoteTable& table,
                                                std::span<const char* const> sort_fields,
                                                const std::function<void(std::span<const TStagedInput>)>& each_row);
