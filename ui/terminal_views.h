// The terminal forms of the conduit's windows: with them the session draws its progress
// window and opens its settings dialog in the terminal the host runs in.
#pragma once

#include "session/window_views.h"

// The progress view (in place on an interactive standard output, plain lines otherwise) and
// the full-screen settings dialog.
TWindowViews TerminalViews();
