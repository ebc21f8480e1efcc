// The import phase of an exchange: the orders, cash, route work and protocol (not for
// "TXTINDBFOUT", whose dBase order output is a separate routine), then the payments by documents.
#pragma once

#include <cstdint>

#include "session/exchange_session.h"

// Returns the number of order headers written.
int32_t RunImportPhase(TExchangeSession& session);

// Completes the purges an interrupted session left (see purge_journal.h) before anything reads
// the handheld; false when the exchange must not go on (a damaged journal, already reported).
bool RollForwardInterruptedPurges(TExchangeSession& session);
