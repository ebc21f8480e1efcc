// Runs the before and after programs: started directly (no shell), the parameter text as the
// one argument, in the given working directory, and waited for until it ends.
#pragma once

#include <string>

// The program's exit status (128 + the signal number when a signal ended it), or -1 when it
// could not be started. A relative program path is taken from the current directory.
int RunExternalProgram(const std::string& program, const std::string& parameter, const std::string& working_directory);
