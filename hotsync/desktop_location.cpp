#include "hotsync/desktop_location.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>

#include "api/user_data.h"
#include "hotsync/host_errors.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kConduitFile = "libZembraToPalm.so";

}  // namespace

std::string DesktopLibraryDirectory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&UmGetUserCount), &info) == 0 || info.dli_fname == nullptr) {
    throw EHotSyncRequestError("Cannot tell where libuserdata.so was loaded from");
  }
  return fs::weakly_canonical(info.dli_fname).parent_path().string();
}

std::string DefaultConduitPath() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path beside = program.parent_path() / kConduitFile;
    if (fs::exists(beside)) return beside.string();
  }
  return (fs::path(DesktopLibraryDirectory()) / kConduitFile).string();
}

void PublishDesktopLibraryDirectory() {
  const std::string program = DesktopLibraryDirectory() + "/hotsync";
  setenv("HOTSYNC_PATH", program.c_str(), 1);
}
