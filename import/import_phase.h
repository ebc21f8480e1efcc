// The import phase of an exchange: the orders, cash, route work and protocol (for "TXTINDBFOUT"
// the orders alone, as dBase tables), then the payments by documents and the questionnaires.
#pragma once

#include <cstdint>

#include "session/exchange_session.h"

// Returns the number of order headers written.
int32_t RunImportPhase(TExchangeSession& session);
