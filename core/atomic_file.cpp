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

}  // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string path) : path_(std::move(path)), temporary_(TemporaryPathFor(path_)) {
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) Fail("Cannot create", path_);
}

TAtomicFileWriter::~TAtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(temporary_.c_str());
}

void TAtomicFileWriter::Write(std::string_view bytes) {
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write", path_);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
}

void TAtomicFileWriter::Commit() {
  if (::fsync(fd_) != 0) Fail("Cannot flush", path_);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail("Cannot write", path_);
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) Fail("Cannot replace", path_);
  committed_ = true;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  TAtomicFileWriter file(path);
  file.Write(bytes);
  file.Commit();
}

TFileBytes ReadFileBytes(const std::string& path) {
  const TOpenFile file = OpenRegularFileForReading(path);
  // Room for the file's size and a byte more, to find the end in the same read; a file that grows
  // meanwhile grows the room.
  struct stat info {};
  size_t room = ::fstat(file.Fd(), &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 4096;
  std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(room);
  size_t size = 0;
  while (true) {
    if (size == room) {
      std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(2 * room);
      std::memcpy(larger.get(), bytes.get(), size);
      bytes = std::move(larger);
      room *= 2;
    }
    const ssize_t n = ::read(file.Fd(), bytes.get() + size, room - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read", path);
    }
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  return TFileBytes(std::move(bytes), size);
}

std::string ReadWholeFile(const std::string& path) { return std::string(ReadFileBytes(path).View()); }
