// The questionnaire exchange with the answers database "answer.mdb" of the exchange directory:
// the handheld's answers go into it, its questionnaires replace those of the handheld.
#pragma once

#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// Without "answer.mdb" nothing happens and nothing is logged. The handheld's answers are emptied
// only when every answer and answer item went in as exactly one row (else a log line tells how
// many did); an insert that fails rolls every row of this exchange back. Its questionnaires are
// replaced only by the complete tables read from the database. ODBC, handheld and conversion
// errors pass to the caller.
void ExchangeQuestionnaires(TExchangeSession& session, TPalmCatalogue& catalogue);
