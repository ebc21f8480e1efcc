#include "hotsync/host_commands.h"

#include <filesystem>
#include <iostream>

#include "api/hotsync_log.h"
#include "api/sync_manager.h"
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

void PrintStatus(const char* text) { std::cout << TextForTerminal(text == nullptr ? "" : text) << std::endl; }

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

// The user's exchange directory for a conduit, created when missing, ending with '/'.
std::string ConduitDirectory(const std::string& user_folder, const TConduitEntry& entry) {
  CheckFolderName(entry.Directory, "The directory of conduit " + entry.Creator);
  const std::string directory = user_folder + entry.Directory + "/";
  fs::create_directories(directory);
  return directory;
}

// Connects the handheld and the log for one synchronisation; disconnects them at its end.
class TSyncConnection {
 public:
  TSyncConnection(const std::string& device, const std::string& log_file) {
    LogHostSetFile(log_file.c_str());
    if (const int32_t result = SyncHostConnect(device.c_str()); result != 0) {
      LogHostSetFile(nullptr);
      throw EHotSyncRequestError("Cannot connect the handheld in " + device + " (error " + std::to_string(result) +
                                 ")");
    }
  }
  ~TSyncConnection() {
    SyncHostDisconnect();
    LogHostSetFile(nullptr);
  }
  TSyncConnection(const TSyncConnection&) = delete;
  TSyncConnection& operator=(const TSyncConnection&) = delete;
};

// Runs one registered conduit; true when its OpenConduit returned 0.
bool RunConduit(const TConduitEntry& entry, const std::string& user_folder, const std::string& user_name) {
  try {
    const std::string directory = ConduitDirectory(user_folder, entry);
    auto record = SyncPropertiesRecord(0, directory, entry.File, user_name);
    TConduitLibrary library(entry.Library);
    const int32_t result = library.OpenConduit(&PrintStatus, record.data());
    if (result == 0) return true;
    std::cerr << "hotsync: conduit " << TextForTerminal(entry.Title) << " (" << entry.Creator << ") returned " << result
              << std::endl;
  } catch (const std::exception& error) {
    std::cerr << "hotsync: conduit " << entry.Creator << ": " << error.what() << std::endl;
  }
  return false;
}

}  // namespace

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

int RunSync(const THostContext& context, const std::string& user_name, const std::optional<std::string>& device) {
  const auto conduits = InSyncOrder(LoadConduitRegistry(context.Home));
  if (conduits.empty()) {
    std::cerr << "hotsync: no conduit is registered in " << context.Home
              << "; register one first with \"hotsync register\"" << std::endl;
    return 1;
  }
  const std::string ansi_name = TerminalToCp1251(user_name);
  auto users = LoadUsers(context.Home);
  const THotSyncUser* known = FindUserByName(users, ansi_name);
  const THotSyncUser user =
      known != nullptr ? *known : AddUser(context.Home, ansi_name, Cp1251ToTerminal(DefaultUserDirectory(ansi_name)));
  if (known == nullptr) std::cout << "Added user " << user_name << " (directory " << user.Directory << ")" << std::endl;
  const std::string user_folder = context.Home + user.Directory + "/";
  const std::string device_directory = device ? fs::absolute(*device).string() : user_folder + "Device";
  fs::create_directories(user_folder);
  if (!device) fs::create_directories(device_directory);

  bool all_succeeded = true;
  {
    TSyncConnection connection(device_directory, user_folder + "HotSync.log");
    for (const auto& entry : conduits) all_succeeded = RunConduit(entry, user_folder, ansi_name) && all_succeeded;
  }
  return all_succeeded ? 0 : 1;
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
