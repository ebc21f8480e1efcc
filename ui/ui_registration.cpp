// Registers the terminal views when the conduit library is loaded.
#include "ui/terminal_views.h"

namespace {

const bool registered = (RegisterTerminalViews(), true);

}  // namespace
