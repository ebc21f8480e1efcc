// Hands the pre-exchange checks and the export phase to the session when the conduit library is loaded.
#include "export/export_phase.h"
#include "export/pre_exchange_checks.h"
#include "session/exchange_phases.h"

namespace {

const bool registered = (RegisterPreExchangeChecks(&PreExchangeChecks), true);
const bool export_registered = (RegisterExportPhase(&RunExportPhase), true);

}  // namespace
