// ImportPalmToDbf: the handheld's order headers and order lines into the dBase tables "order.dbf",
// "orderitem.dbf" and the combined all-text "orders.dbf" of the "TXTINDBFOUT" format, written
// through the ODBC driver the settings name; then the clearing of the imported orders is offered.
#pragma once

#include <cstdint>

#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// Returns the number of order headers written. ODBC, handheld and conversion errors pass, after
// the queries and the connection are freed; the handheld is then left as it was. The orders are
// offered for clearing only once every row is in the files (committed under FoxPro).
int32_t ImportPalmToDbf(TExchangeSession& session, TPalmCatalogue& catalogue);
