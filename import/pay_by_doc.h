// Payments that the agent recorded against shipping documents on the handheld: every document
// whose "SummaPay" is above 0 goes into "PayByDoc.txt" or "PayByDoc.xml". The handheld is only read.
#pragma once

#include "exchange/txt_table.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// Without the handheld's document database nothing happens. The file is left only when it
// holds at least one payment; errors pass to the caller.
void ImportPaymentsByDocuments(TExchangeSession& session, TPalmCatalogue& catalogue, TcsTXTTable& text_table);
