// "hotsync sync": one synchronisation of a user's handheld. It holds the handheld's and the
// exchange directories' locks for the whole run, clears what killed syncs left there, runs every
// registered conduit in order and tells from the HotSync log whether one of them logged errors.
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "api/hotsync_log.h"
#include "api/sync_manager.h"
#include "core/cp1251.h"
#include "core/message_box_text.h"
#include "core/regular_file.h"
#include "hotsync/conduit_library.h"
#include "hotsync/directory_lock.h"
#include "hotsync/handheld_failure_detail.h"
#include "hotsync/host_commands.h"
#include "hotsync/host_errors.h"
#include "hotsync/host_records.h"
#include "hotsync/stale_temporaries.h"
#include "hotsync/users_store.h"

namespace fs = std::filesystem;

namespace {

void PrintStatus(const char* text) { std::cout << TextForTerminal(text == nullptr ? "" : text) << std::endl; }

// Connects the handheld and the log for one synchronisation; disconnects them at its end.
class TSyncConnection {
 public:
  TSyncConnection(const std::string& device, const std::string& log_file) {
    LogHostSetFile(log_file.c_str());
    LogHostSetEntryDetail(&HandheldFailureDetail);
    if (const int32_t result = SyncHostConnect(device.c_str()); result != 0) {
      Disconnect();
      throw EHotSyncRequestError("Cannot connect the handheld in " + device + " (error " + std::to_string(result) +
                                 ")");
    }
  }
  ~TSyncConnection() {
    SyncHostDisconnect();
    Disconnect();
  }
  TSyncConnection(const TSyncConnection&) = delete;
  TSyncConnection& operator=(const TSyncConnection&) = delete;

 private:
  static void Disconnect() {
    LogHostSetEntryDetail(nullptr);
    LogHostSetFile(nullptr);
  }
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

// The directories one sync writes: the handheld's first, then each conduit's exchange directory
// once (a registry entry with a bad directory is left to RunConduit to report).
std::vector<std::string> DirectoriesToLock(const std::string& device, const std::vector<TConduitEntry>& conduits,
                                           const std::string& user_folder) {
  std::vector<std::string> directories{device};
  std::set<fs::path> seen{fs::weakly_canonical(device)};
  for (const auto& entry : conduits) {
    try {
      const std::string directory = ConduitDirectory(user_folder, entry);
      if (seen.insert(fs::weakly_canonical(directory)).second) directories.push_back(directory);
    } catch (const EHotSyncRequestError&) {
    }
  }
  return directories;
}

void RemoveWhatKilledSyncsLeft(const std::vector<std::string>& directories) {
  for (const auto& directory : directories) {
    for (const auto& path : RemoveStaleTemporaries(directory))
      std::cerr << "hotsync: removed the stale temporary file " << path << std::endl;
  }
}

}  // namespace

int RunSync(const THostContext& context, const TSyncRequest& request) {
  const auto conduits = InSyncOrder(LoadConduitRegistry(context.Home));
  if (conduits.empty()) {
    std::cerr << "hotsync: no conduit is registered in " << context.Home
              << "; register one first with \"hotsync register\"" << std::endl;
    return kSyncExitFailure;
  }
  const std::string ansi_name = TerminalToCp1251(request.UserName);
  auto users = LoadUsers(context.Home);
  const THotSyncUser* known = FindUserByName(users, ansi_name);
  const THotSyncUser user =
      known != nullptr ? *known : AddUser(context.Home, ansi_name, Cp1251ToTerminal(DefaultUserDirectory(ansi_name)));
  if (known == nullptr)
    std::cout << "Added user " << request.UserName << " (directory " << user.Directory << ")" << std::endl;
  const std::string user_folder = context.Home + user.Directory + "/";
  const std::string device_directory = request.Device ? fs::absolute(*request.Device).string() : user_folder + "Device";
  fs::create_directories(user_folder);
  if (!request.Device) fs::create_directories(device_directory);
  const std::string log_file = user_folder + "HotSync.log";
  RefuseNonRegularFile(log_file);

  const std::vector<std::string> directories = DirectoriesToLock(device_directory, conduits, user_folder);
  std::vector<TDirectoryLock> locks;
  locks.reserve(directories.size());
  try {
    for (const auto& directory : directories) locks.emplace_back(directory, request.LockWait);
  } catch (const EDirectoryBusy& busy) {
    std::cerr << "hotsync: " << busy.what() << std::endl;
    return kSyncExitHandheldBusy;
  }
  RemoveWhatKilledSyncsLeft(directories);

  bool all_returned_0 = true;
  bool errors_logged = false;
  {
    TSyncConnection connection(device_directory, log_file);
    for (const auto& entry : conduits) {
      const int32_t errors_before = LogHostErrorEntries();
      all_returned_0 = RunConduit(entry, user_folder, ansi_name) && all_returned_0;
      const int32_t errors = LogHostErrorEntries() - errors_before;
      if (errors == 0) continue;
      errors_logged = true;
      std::cerr << "hotsync: conduit " << TextForTerminal(entry.Title) << " (" << entry.Creator << ") logged " << errors
                << (errors == 1 ? " error" : " errors") << "; see the HotSync log " << log_file
                << " (hotsync log --user " << request.UserName << ")" << std::endl;
    }
  }
  if (!all_returned_0) return kSyncExitFailure;
  return errors_logged ? kSyncExitLoggedErrors : kSyncExitSuccess;
}
