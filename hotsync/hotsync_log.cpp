// libhslog20.so: appends each entry as one line ("\n"-terminated) to the file the host named,
// with the entry's bytes unchanged (Windows-1251 as the conduit gives them).
#include "api/hotsync_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "hotsync/c_boundary.h"

namespace {

constexpr std::string_view kLibrary = "libhslog20.so";

std::string& LogFilePath() {
  static std::string path;
  return path;
}

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

}  // namespace

// The activity and the time-stamp flag are not written: the host's log holds the texts alone.
PALM_API int32_t LogAddEntry(const char* text, int32_t, int32_t) {
  return GuardedCall(kLibrary, -1, [&] {
    if (text == nullptr) return -1;
    if (LogFilePath().empty()) return 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(LogFilePath().c_str(), "ab"));
    if (!file) {
      ReportBoundaryError(kLibrary, "cannot open " + LogFilePath() + ": " + std::strerror(errno));
      return -1;
    }
    std::string line(text);
    line += '\n';
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fflush(file.get()) != 0) {
      ReportBoundaryError(kLibrary, "cannot write " + LogFilePath());
      return -1;
    }
    return 0;
  });
}

PALM_API void LogHostSetFile(const char* path) {
  GuardedCall(kLibrary, 0, [&] {
    LogFilePath() = path == nullptr ? "" : path;
    return 0;
  });
}
