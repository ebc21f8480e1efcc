// Delivery of the handheld's questionnaire answers into the answers database: every record of the
// answer and answer-item databases becomes one inserted row that also names the handheld.
#pragma once

#include <string>

#include "exchange/odbc_query.h"
#include "import/questionnaire_tables.h"
#include "session/exchange_session.h"

struct TAnswerDelivery {
  int Records = 0;       // handheld records read
  int InsertedOnce = 0;  // those whose insert affected exactly one row
  bool Complete() const { return InsertedOnce == Records; }
};

// Inserts every record of the table's handheld database, in index order, through query, which
// is given the table's statements and opened live; kpk goes into every row. The progress bar
// advances per record. A handheld database that does not exist delivers nothing; errors pass.
TAnswerDelivery InsertAnswerRecords(TExchangeSession& session, TPalmCatalogue& catalogue, TmQuery& query,
                                    const TQuestionnaireTableDef& table, const std::string& kpk);

// Empties the answer and the answer-item database on the handheld (those that exist) as one
// step that a killed sync cannot leave half done.
void PurgeDeliveredAnswers(TExchangeSession& session, TPalmCatalogue& catalogue);
