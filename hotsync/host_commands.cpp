#include "hotsync/host_commands.h"

#include <filesystem>
#include <iostream>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/message_box_text.h"
#include "hotsync/conduit_library.h"
#include "hotsync/conduit_registry.h"
#include "hotsync/host_errors.h"
#include "hotsync/host_records.h"
#include "hotsync/users_store.h"

namespace fs = std::filesystem;

namespace {

std::string CanonicalPath(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

// The registry entry of the conduit library at path, or null when it is not registered.
const TConduitEntry* EntryOfLibrary(const std::vector<TConduitEntry>& entries, const std::string& path) {
  const std::string wanted = CanonicalPath(path);
  for (const auto& entry : entries) {
    if (!entry.Library.empty() && CanonicalPath(entry.Library) == wanted) return &entry;
  }
  return nullptr;
}

const THotSyncUser& KnownUser(const std::vector<THotSyncUser>& users, const std::string& name) {
  const THotSyncUser* user = FindUserByName(users, TerminalToCp1251(name));
  if (user == nullptr) throw EHotSyncRequestError("No such user: " + name + " (see \"hotsync users list\")");
  return *user;
}

}  // namespace

std::string ConduitDirectory(const std::string& user_folder, const TConduitEntry& entry) {
  CheckFolderName(entry.Directory, "The directory of conduit " + entry.Creator);
  const std::string directory = user_folder + entry.Directory + "/";
  fs::create_directories(directory);
  return directory;
}

int RunInfo(const THostContext& context) {
  TConduitLibrary library(context.ConduitPath);
  const uint32_t version = library.ConduitVersion();
  std::cout << "Name: " << TextForTerminal(library.ConduitName()) << "\n"
            << "Version: " << version << " / " << VersionText(version) << "\n";
  const auto entries = LoadConduitRegistry(context.Home);
  if (const TConduitEntry* entry = EntryOfLibrary(entries, context.ConduitPath)) {
    std::cout << "Information: " << TextForTerminal(entry->Info) << "\n";
  } else {
    std::cout << "Information: (known once the conduit is registered)\n";
  }
  return 0;
}

int RunRegister(const THostContext& context) {
  TConduitLibrary library(context.ConduitPath);
  const int32_t result = library.Register();
  if (result != 0) {
    std::cerr << "hotsync: registering " << context.ConduitPath << " failed (result " << result << ")" << std::endl;
    return 1;
  }
  std::cout << "Registered " << TextForTerminal(library.ConduitName()) << " in " << context.Home << std::endl;
  return 0;
}

int RunUnregister(const THostContext& context) {
  TConduitLibrary library(context.ConduitPath);
  const int32_t result = library.Unregister();
  if (result != 0) {
    std::cerr << "hotsync: unregistering " << context.ConduitPath << " failed (result " << result << ")" << std::endl;
    return 1;
  }
  std::cout << "Unregistered " << TextForTerminal(library.ConduitName()) << std::endl;
  return 0;
}

int RunUsersAdd(const THostContext& context, const std::string& name, const std::optional<std::string>& directory) {
  const std::string ansi_name = TerminalToCp1251(name);
  const THotSyncUser user =
      AddUser(context.Home, ansi_name, directory ? *directory : Cp1251ToTerminal(DefaultUserDirectory(ansi_name)));
  fs::create_directories(context.Home + user.Directory);
  std::cout << "Added user " << name << " (directory " << user.Directory << ")" << std::endl;
  return 0;
}

int RunUsersList(const THostContext& context) {
  const auto users = LoadUsers(context.Home);
  if (users.empty()) std::cerr << "No users in " << context.Home << std::endl;
  for (const auto& user : users) std::cout << TextForTerminal(user.Name) << '\t' << user.Directory << '\n';
  return 0;
}

int RunConfigure(const THostContext& context, const std::optional<std::string>& user_name) {
  const auto entries = LoadConduitRegistry(context.Home);
  const TConduitEntry* entry = EntryOfLibrary(entries, context.ConduitPath);
  std::string path_name;
  if (user_name) {
    if (entry == nullptr) throw EHotSyncRequestError("The conduit is not registered, so it has no directory yet");
    const auto users = LoadUsers(context.Home);
    path_name = ConduitDirectory(context.Home + KnownUser(users, *user_name).Directory + "/", *entry);
  }
  auto record = ConfigurationRecord(entry != nullptr ? entry->Creator : "", path_name);
  uint32_t size = static_cast<uint32_t>(record.size());
  TConduitLibrary library(context.ConduitPath);
  const int32_t result = library.CfgConduit(0, record.data(), &size);
  if (result != 0) {
    std::cerr << "hotsync: configuring the conduit failed (result " << result << ")" << std::endl;
    return 1;
  }
  return 0;
}

int RunLog(const THostContext& context, const std::string& user_name) {
  const auto users = LoadUsers(context.Home);
  const std::string log_file = context.Home + KnownUser(users, user_name).Directory + "/HotSync.log";
  if (!fs::exists(log_file)) {
    std::cerr << "No HotSync log for " << user_name << " yet" << std::endl;
    return 0;
  }
  std::cout << TextForTerminal(ReadWholeFile(log_file)) << std::flush;
  return 0;
}
