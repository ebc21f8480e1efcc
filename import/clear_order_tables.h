// Clearing of what the exchange has taken from the handheld: the orders (with their lines and,
// on request, the cash) after the user's consent, and the work protocol once it is saved.
#pragma once

#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// Asks "Обмен завершен. Очистить таблицу заказов?" (Yes/No, question icon). On Yes: logs
// "ПК-PALM: Удаление старых данных" and empties the order, order-line and, when include_cash,
// the cash database, in that order and as one step (a purge journal). Any other answer changes
// nothing. Handheld errors pass.
void ClearOrderTables(TExchangeSession& session, TPalmCatalogue& catalogue, bool include_cash);
