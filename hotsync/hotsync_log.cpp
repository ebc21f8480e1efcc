// libhslog20.so: appends each entry as one line ("\n"-terminated) to the file the host named,
// with the entry's bytes unchanged (Windows-1251 as the conduit gives them), and counts the
// error entries so the host can tell a sync that logged errors.
#include "api/hotsync_log.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "core/regular_file.h"
#include "hotsync/c_boundary.h"

namespace {

constexpr std::string_view kLibrary = "libhslog20.so";

struct TLogState {
  std::string Path;
  LogHostEntryDetail Detail = nullptr;
  int32_t ErrorEntries = 0;
};

TLogState& Log() {
  static TLogState state;
  return state;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

// The time-stamp flag is not written: the host's log holds the texts alone.
PALM_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t) {
  return GuardedCall(kLibrary, -1, [&] {
    if (text == nullptr) return -1;
    TLogState& log = Log();
    if (log.Path.empty()) return 0;
    std::string line(text);
    if (log.Detail != nullptr) {
      const char* detail = log.Detail(text, activity);
      if (detail != nullptr && *detail != '\0') line = line + " " + detail;
    }
    if (activity == SLOG_ACTIVITY_SYNC_FAILED) ++log.ErrorEntries;
    line += '\n';
    const TOpenFile file = OpenRegularFileForAppending(log.Path);
    if (!WriteAll(file.Fd(), line)) {
      ReportBoundaryError(kLibrary, "cannot write " + log.Path + ": " + std::strerror(errno));
      return -1;
    }
    return 0;
  });
}

PALM_API void LogHostSetFile(const char* path) {
  GuardedCall(kLibrary, 0, [&] {
    Log().Path = path == nullptr ? "" : path;
    Log().ErrorEntries = 0;
    return 0;
  });
}

PALM_API void LogHostSetEntryDetail(LogHostEntryDetail detail) { Log().Detail = detail; }

PALM_API int32_t LogHostErrorEntries(void) { return Log().ErrorEntries; }
