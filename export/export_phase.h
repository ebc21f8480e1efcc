// The export phase of an exchange: the accounting system's reference files into the handheld
// databases, in their fixed order, each present file replacing its database.
#pragma once

#include "session/exchange_session.h"

// Payment types, price types, currencies, currency rates, the two note lists, customers, the
// category tree, products, categories, receivables, routes and trade agents. An error that
// escapes a step ends the export and travels to the caller.
void RunExportPhase(TExchangeSession& session);
