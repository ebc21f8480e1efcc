#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/exceptions.h"
#include "core/regular_file.h"
#include "core/temporary_file_name.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw Exception(what + " \"" + path + "\": " + std::strerror(errno));
}

// Closes the descriptor and removes the temporary file unless the write was committed.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("Cannot write", path_);
  }
  void Commit() { committed_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string temporary = TemporaryPathFor(path);
  TemporaryFile file(temporary);
  if (file.fd() < 0) Fail("Cannot create", path);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(file.fd(), data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write", path);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  if (::fsync(file.fd()) != 0) Fail("Cannot flush", path);
  file.Close();
  if (::rename(temporary.c_str(), path.c_str()) != 0) Fail("Cannot replace", path);
  file.Commit();
}

std::string ReadWholeFile(const std::string& path) {
  const TOpenFile file = OpenRegularFileForReading(path);
  // Read straight into a string the file's size, plus a byte to find the end in the same read; a
  // file that grows meanwhile grows the string.
  struct stat info {};
  const size_t expected = ::fstat(file.Fd(), &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
  std::string bytes(expected + 1, '\0');
  size_t size = 0;
  while (true) {
    if (size == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t n = ::read(file.Fd(), bytes.data() + size, bytes.size() - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read", path);
    }
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  bytes.resize(size);
  return bytes;
}
