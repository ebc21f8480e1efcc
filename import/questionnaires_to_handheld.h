// The questionnaires of the answers database on their way to the handheld: read whole first, so
// that a table that cannot be read leaves the handheld's questionnaires as they were.
#pragma once

#include <vector>

#include "exchange/odbc_query.h"
#include "import/questionnaire_tables.h"
#include "palmdb/palm_value.h"
#include "session/exchange_session.h"

// One database row: the values of the table's columns, in their order and converted to their kind.
using TQuestionnaireRow = std::vector<TPalmValue>;

// Runs the table's statement on query and reads every row. A missing table or column, or a value
// that does not convert, throws before anything reaches the handheld.
std::vector<TQuestionnaireRow> ReadQuestionnaireRows(TmQuery& query, const TQuestionnaireTableDef& table);

// Replaces the records of the table's handheld database (made when it does not exist) with rows,
// in their order; the progress bar starts at 0 and advances per record. Returns the record count.
int ReplaceQuestionnaireRecords(TExchangeSession& session, TPalmCatalogue& catalogue,
                                const TQuestionnaireTableDef& table, const std::vector<TQuestionnaireRow>& rows);
