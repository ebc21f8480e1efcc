// Where the conduit's own code lives: the full path of the shared library (or program) that
// holds it, found through the dynamic linker. Registration and library lookup start from it.
#pragma once

#include <string>

// The absolute path of the file holding the conduit's code; empty when it cannot be told.
std::string ConduitLibraryPath();
// The directory part of ConduitLibraryPath(), ending with '/'; empty when unknown.
std::string ConduitLibraryDirectory();
