// libinstaide.so: queues a file for the handheld by copying it into the user's install folder,
// HOME/<user dir>/Install/, where the next synchronisation of that user finds it.
#include "api/install_aide.h"

#include <filesystem>

#include "hotsync/c_boundary.h"
#include "hotsync/host_errors.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/users_store.h"

namespace {

constexpr std::string_view kLibrary = "libinstaide.so";
constexpr int32_t kFailed = -1;

}  // namespace

PALM_API int32_t PltInstallFile(const char* user_name, const char* file_path) {
  return GuardedCall(kLibrary, kFailed, [&] {
    if (user_name == nullptr || file_path == nullptr) return kFailed;
    const std::string home = HotSyncHome();
    const auto users = LoadUsers(home);
    const THotSyncUser* user = FindUserByName(users, user_name);
    if (user == nullptr) throw EHotSyncRequestError(std::string("No such HotSync user: ") + user_name);
    const std::filesystem::path source(file_path);
    if (!std::filesystem::is_regular_file(source))
      throw EHotSyncRequestError(std::string("No such file: ") + file_path);
    const std::filesystem::path folder = std::filesystem::path(home) / user->Directory / "Install";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(source, folder / source.filename(), std::filesystem::copy_options::overwrite_existing);
    return 0;
  });
}
