#include "hotsync/hotsync_home.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/file_lookup.h"
#include "hotsync/host_errors.h"

namespace {

std::string UserHomeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
  throw EHotSyncRequestError("No HotSync home: neither HOTSYNC_HOME nor a home directory is set");
}

std::string Absolute(const std::string& directory) {
  return WithTrailingSlash(std::filesystem::absolute(directory).lexically_normal().string());
}

}  // namespace

std::string HotSyncHome() {
  if (const char* home = std::getenv("HOTSYNC_HOME"); home != nullptr && *home != '\0') return WithTrailingSlash(home);
  return WithTrailingSlash(UserHomeDirectory()) + ".local/share/hotsync/";
}

std::string ResolveHotSyncHome(const std::optional<std::string>& given) {
  if (given && given->empty()) throw EHotSyncRequestError("The HotSync home may not be an empty path");
  return Absolute(given ? *given : HotSyncHome());
}

std::string UsersFilePath(const std::string& home) { return WithTrailingSlash(home) + "users.ini"; }

std::string ConduitRegistryPath(const std::string& home) { return WithTrailingSlash(home) + "conduits.ini"; }
