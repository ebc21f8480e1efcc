// Removing what killed writers left behind: temporary files of the atomic writes
// ("Order.txt.tmp-PID", core/temporary_file_name.h) whose writer no longer runs.
#pragma once

#include <string>
#include <vector>

// Removes, directly inside directory, every regular file with a temporary name whose writer
// process is gone, and returns their paths. Other files, live writers' files and
// subdirectories are left alone; a file that cannot be removed is not listed. Names of the
// calling process's own ID count as stale too: call it before this process writes there.
std::vector<std::string> RemoveStaleTemporaries(const std::string& directory);
