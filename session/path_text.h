// Path texts as the settings hold them (file-system bytes, as the user typed them): the
// directory part of a program or file path.
#pragma once

#include <string>

// The path without its last component and the '/' before it ("/" for a file at the root);
// empty when the path has no directory part.
std::string DirectoryOf(const std::string& path);
