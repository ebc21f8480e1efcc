#include "hotsync/directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "hotsync/live_process.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

TOpenFile OpenLockFile(const std::string& path) {
  RefuseNonRegularFile(path);
  TOpenFile file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
  if (file.Fd() < 0) throw Exception("Cannot open \"" + path + "\": " + std::strerror(errno));
  return file;
}

std::string HolderText() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  ::gmtime_r(&now, &utc);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return "pid " + std::to_string(::getpid()) + ", since " + when;
}

void WriteHolder(int fd) {
  const std::string text = HolderText() + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  }
}

// The holder the file names, when that process still lives; a text left by a dead holder or one
// being written right now could mislead, so it is not repeated.
std::string DescribeHolder(int fd) {
  char buffer[128] = {};
  const ssize_t size = ::pread(fd, buffer, sizeof buffer - 1, 0);
  std::string text(buffer, size > 0 ? static_cast<size_t>(size) : 0);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
  int pid = 0;
  if (std::sscanf(text.c_str(), "pid %d, since ", &pid) == 1 && ProcessIsAlive(pid)) return text;
  return "holder unknown";
}

std::string Seconds(std::chrono::milliseconds wait) {
  const auto tenths = (wait.count() + 50) / 100;
  return std::to_string(tenths / 10) + (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : "") + " s";
}

}  // namespace

TDirectoryLock::TDirectoryLock(const std::string& directory, std::chrono::milliseconds wait)
    : file_(OpenLockFile(directory + "/" + kDirectoryLockFileName)) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(file_.Fd(), LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      throw Exception("Cannot lock \"" + directory + "/" + kDirectoryLockFileName + "\": " + std::strerror(errno));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw EDirectoryBusy(directory + " is in use by another synchronisation (" + DescribeHolder(file_.Fd()) +
                           "); gave up after " + Seconds(wait));
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  WriteHolder(file_.Fd());
}
