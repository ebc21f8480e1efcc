#include "hotsync/live_process.h"

#include <signal.h>

#include <cerrno>

bool ProcessIsAlive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }
