// The columns of a reference file bound to an export step's mappings, and the values of the
// reader's current row read through them as each mapping says: converted, texts cut to their
// width, a column that is not read standing in with its value.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "export/reference_reader.h"
#include "export/staged_records.h"

struct TBoundColumn {
  const TExportMapping* Mapping;
  std::optional<TInputColumn> Column;  // none: the column is not read in this form or not there
  TStagedInput Absent;                 // the value then written: a number or nothing
};

// Binds every mapping; a required column that is missing fails as the reader's Require does.
std::vector<TBoundColumn> BindColumns(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                      TExchangeFormat format);

// The current row's value; a text is a view, valid until the reader moves on or scratch changes.
// A value that does not convert throws the reader's error.
TStagedInput ReadBoundValue(const TBoundColumn& column, std::string& scratch);
