#include "conduit/library_path.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <system_error>

namespace {

// Any function of ours will do: dladdr names the file it was loaded from.
void Anchor() {}

}  // namespace

std::string ConduitLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&Anchor), &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code error;
  // Linked into a program, the name is the program's argv[0], which need not be a path.
  std::filesystem::path path = std::strcmp(info.dli_fname, program_invocation_name) == 0
                                   ? std::filesystem::read_symlink("/proc/self/exe", error)
                                   : std::filesystem::absolute(info.dli_fname, error);
  if (error) return {};
  return path.lexically_normal().string();
}

std::string ConduitLibraryDirectory() {
  std::string path = ConduitLibraryPath();
  if (path.empty()) return {};
  return std::filesystem::path(path).parent_path().string() + '/';
}
