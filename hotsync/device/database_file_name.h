// The file name a new handheld database gets in the device directory: its name with every
// character unsafe in a file name written as %XX, then ".pdb". It never holds a '/'.
#pragma once

#include <string>
#include <string_view>

// Letters, digits, '-' and '_' stay; '.' stays except at the start; every other byte is %XX.
std::string DatabaseFileName(std::string_view database_name);
