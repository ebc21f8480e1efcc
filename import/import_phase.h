// The import phase of an exchange: the orders, cash, route work and protocol (not for
// "TXTINDBFOUT", whose dBase order output is a separate routine), then the payments by documents
// and the questionnaire exchange.
#pragma once

#include <cstdint>

#include "session/exchange_session.h"

// Returns the number of order headers written.
int32_t RunImportPhase(TExchangeSession& session);
