// The way every step of an exchange announces itself: its title as the status text and as a
// HotSync log line, its progress row marked and the progress bar back at 0.
#pragma once

#include "session/exchange_session.h"

// title_utf8 is the step's title as written in the source; it reaches the user in Windows-1251.
void AnnounceStep(TExchangeSession& session, const char* title_utf8, int progress_row);
