// Hands the pre-exchange checks to the session when the conduit library is loaded.
#include "export/pre_exchange_checks.h"
#include "session/exchange_phases.h"

namespace {

const bool registered = (RegisterPreExchangeChecks(&PreExchangeChecks), true);

}  // namespace
