// Whether a process ID names a process that is still running on this machine, for telling a
// live lock holder or temporary-file writer from one that died.
#pragma once

#include <sys/types.h>

// True when pid is positive and a process with that ID exists (ours to signal or not).
bool ProcessIsAlive(pid_t pid);
