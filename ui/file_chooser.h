// The file-open dialog of the terminal: a list of one directory's entries to walk through;
// choosing a file gives its full path. Runs on an open curses screen.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The entries of a directory as the chooser lists them: ".." first (except at the root), then
// the directories with a '/' after their name, then the files, each group sorted by name.
std::vector<std::string> ChooserEntries(const std::string& directory);

// Starts in initial_directory (the current directory when empty or missing) with the entry of
// initial_name's last component selected. None when the user cancels with Escape.
std::optional<std::string> RunFileChooser(const std::string& initial_directory, const std::string& initial_name);
