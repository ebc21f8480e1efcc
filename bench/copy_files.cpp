// copy_files OUT_DIR FILE...: reads each file whole and writes a copy of its bytes into OUT_DIR.
// The whole-synchronisation benchmark runs it as a process of its own, as the synchronisation
// runs, to measure the floor of the same work in the same conditions: a fresh process, memory
// it has never touched, files read and written once.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

bool Fail(const std::string& what, const char* path) {
  std::fprintf(stderr, "copy_files: %s %s: %s\n", what.c_str(), path, std::strerror(errno));
  return false;
}

bool CopyFile(const char* path, const std::string& copy) {
  const int in = ::open(path, O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail("cannot open", path);
  struct stat info {};
  if (::fstat(in, &info) != 0) return Fail("cannot stat", path);
  const auto size = static_cast<size_t>(info.st_size);
  const auto bytes = std::make_unique_for_overwrite<char[]>(size);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(in, bytes.get() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail("cannot read", path);
    got += static_cast<size_t>(n);
  }
  ::close(in);
  const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return Fail("cannot create", copy.c_str());
  for (size_t put = 0; put < size;) {
    const ssize_t n = ::write(out, bytes.get() + put, size - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail("cannot write", copy.c_str());
    put += static_cast<size_t>(n);
  }
  return ::close(out) == 0 || Fail("cannot write", copy.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: copy_files OUT_DIR FILE...\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    if (!CopyFile(argv[i], std::string(argv[1]) + "/" + std::to_string(i - 2))) return 1;
  }
  return 0;
}
