// The import phase of an exchange: the orders, cash, route work and protocol (for "TXTINDBFOUT"
// the orders alone, as dBase tables), then the payments by documents and the questionnaires.
#pragma once

#include <cstdint>

#include "session/exchange_session.h"

// Returns the number of order headers written.
int32_t RunImportPhase(TExchangeSession& session);

// Completes the purges an interrupted session left (see purge_journal.h) before anything reads
// the handheld; false when the exchange must not go on (a damaged journal, already reported).
bool RollForwardInterruptedPurges(TExchangeSession& session);
