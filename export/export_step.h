// What every export step shares beyond the step header: the count line and the log line of a
// step that leaves its table alone.
#pragma once

#include "session/exchange_session.h"

// "ПК-PALM: Выгружено: " and the count (activity 19).
void LogExportedCount(TExchangeSession& session, int count);
// Under "DBF" no reference file can be read: the step says so and leaves its table as it was.
void LogTableLeftUntouched(TExchangeSession& session);
