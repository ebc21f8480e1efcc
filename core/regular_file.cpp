#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
}

[[noreturn]] void FailNotRegular(const std::string& path, mode_t mode) {
  throw ENotRegularFile("Cannot open \"" + path + "\": not a regular file (" + KindOf(mode) + ")");
}

// O_NONBLOCK keeps a FIFO without a partner from holding the open; it is cleared again for a
// regular file, where it means nothing to reads and writes anyway.
TOpenFile OpenRegular(const std::string& path, int flags) {
  TOpenFile file(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644));
  if (file.Fd() < 0) {
    struct stat status {};
    if (errno != ENOENT && ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
      FailNotRegular(path, status.st_mode);
    }
    throw Exception("Cannot open \"" + path + "\": " + std::strerror(errno));
  }
  struct stat status {};
  if (::fstat(file.Fd(), &status) != 0) {
    throw Exception("Cannot open \"" + path + "\": " + std::strerror(errno));
  }
  if (!S_ISREG(status.st_mode)) FailNotRegular(path, status.st_mode);
  ::fcntl(file.Fd(), F_SETFL, ::fcntl(file.Fd(), F_GETFL) & ~O_NONBLOCK);
  return file;
}

}  // namespace

TOpenFile::~TOpenFile() {
  if (fd_ >= 0) ::close(fd_);
}

TOpenFile OpenRegularFileForReading(const std::string& path) { return OpenRegular(path, O_RDONLY); }

TOpenFile OpenRegularFileForAppending(const std::string& path) {
  return OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT);
}

void RefuseNonRegularFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) FailNotRegular(path, status.st_mode);
}
