// The terminal forms of the conduit's windows: registering them makes the session draw its
// progress window and open its settings dialog in the terminal the host runs in.
#pragma once

// Registers the progress view (in place on an interactive standard output, plain lines
// otherwise) and the full-screen settings dialog.
void RegisterTerminalViews();
