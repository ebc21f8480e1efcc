// What every export step shares beyond the step header: the count line.
#pragma once

#include "session/exchange_session.h"

// "ПК-PALM: Выгружено: " and the count (activity 19).
void LogExportedCount(TExchangeSession& session, int count);
