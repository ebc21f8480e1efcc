#include "hotsync/stale_temporaries.h"

#include <unistd.h>

#include <filesystem>

#include "core/temporary_file_name.h"
#include "hotsync/live_process.h"

namespace fs = std::filesystem;

std::vector<std::string> RemoveStaleTemporaries(const std::string& directory) {
  std::vector<std::string> removed;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
    const std::optional<pid_t> writer = TemporaryFileWriter(entry.path().filename().string());
    if (!writer || (*writer != ::getpid() && ProcessIsAlive(*writer))) continue;
    if (entry.is_symlink(error) || !entry.is_regular_file(error)) continue;
    if (fs::remove(entry.path(), error)) removed.push_back(entry.path().string());
  }
  return removed;
}
