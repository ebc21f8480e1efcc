// Test support: runs a built program directly (no shell) with its output captured in files,
// stdin from /dev/null, as a non-interactive user would.
#pragma once

#include <string>
#include <vector>

struct TProgramRun {
  int ExitStatus = -1;
  std::string Out;  // stdout bytes
  std::string Err;  // stderr bytes
};

// Runs program with arguments; scratch_directory receives the capture files.
TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& scratch_directory);
