// Hands the import phase to the session when the conduit library is loaded.
#include "import/import_phase.h"
#include "session/exchange_phases.h"

namespace {

const bool registered = (RegisterImportPhase(&RunImportPhase), true);

}  // namespace
