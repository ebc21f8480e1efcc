#include "session/exchange_phases.h"

bool TPhaseFunctions::PreExchangeChecks(TExchangeSession& session) { return !Checks ? true : Checks(session); }

int32_t TPhaseFunctions::ImportPhase(TExchangeSession& session) { return !Import ? 0 : Import(session); }

void TPhaseFunctions::ExportPhase(TExchangeSession& session) {
  if (Export) Export(session);
}
