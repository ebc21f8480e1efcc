// The pre-exchange checks: the output of the previous exchange must have been taken in by the
// accounting system, and its reference files must be there, before the handheld is touched.
#pragma once

#include <string>

#include "session/exchange_session.h"

// The text of each check's message, lines joined by a carriage return (Windows-1251).
std::string UnimportedOutputMessage(const TExchangeSession& session);
std::string MissingReferenceMessage(const TExchangeSession& session);

// True when the exchange may go on. Otherwise the message has been shown (caption "Ошибка",
// error icon, OK) and logged behind "Ошибка " and the conduit name (activity 21).
bool PreExchangeChecks(TExchangeSession& session);
