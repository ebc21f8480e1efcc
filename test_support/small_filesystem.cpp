#include "test_support/small_filesystem.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <vector>

TSmallFilesystem::TSmallFilesystem(const std::string& size) : mount_point_(scratch_.MakeDirectory("fs")) {
  const std::string options = "size=" + size;
  mounted_ = ::mount("tmpfs", mount_point_.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

TSmallFilesystem::~TSmallFilesystem() {
  if (mounted_) ::umount2(mount_point_.c_str(), MNT_DETACH);
}

void TSmallFilesystem::Fill(const std::string& name) const {
  const int fd = ::open((Path() + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::vector<char> block(4096, 'x');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  while (::write(fd, block.data(), 1) > 0) {
  }
  ::close(fd);
}
