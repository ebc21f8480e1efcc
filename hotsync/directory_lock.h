// One synchronisation at a time per directory: an exclusive flock on the lock file
// ".hotsync.lock" inside it, held while the object lives and released by the kernel when the
// holder dies. The file names its holder ("pid 4242, since 2026-12-09 04:05:06 UTC").
#pragma once

#include <chrono>
#include <string>

#include "core/exceptions.h"
#include "core/regular_file.h"

inline constexpr char kDirectoryLockFileName[] = ".hotsync.lock";

// Another live process held the lock for the whole wait.
class EDirectoryBusy : public Exception {
 public:
  using Exception::Exception;
};

class TDirectoryLock {
 public:
  // Waits up to `wait` for the lock. Throws EDirectoryBusy ("DIR is in use by another
  // synchronisation (pid 4242, since ...); gave up after 10 s") or Exception when the lock file
  // cannot be opened.
  TDirectoryLock(const std::string& directory, std::chrono::milliseconds wait);

 private:
  TOpenFile file_;
};
