// The commands of the hotsync program, each returning the program's exit status. They work on
// the HotSync home and the conduit the command line named, through the desktop libraries.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "hotsync/conduit_registry.h"
#include "hotsync/host_message_boxes.h"

struct THostContext {
  std::string Home;         // absolute, ending with '/'
  std::string ConduitPath;  // the conduit library for info, register, unregister, configure
  THostBoxes Boxes;
};

int RunInfo(const THostContext& context);
int RunRegister(const THostContext& context);
int RunUnregister(const THostContext& context);
// name is in the terminal's encoding; directory (a folder name) defaults to the name's safe form.
int RunUsersAdd(const THostContext& context, const std::string& name, const std::optional<std::string>& directory);
int RunUsersList(const THostContext& context);

// Exit statuses of "hotsync sync" (its --help lists them).
enum : int {
  kSyncExitSuccess = 0,       // every conduit ran, returned 0 and logged no error line
  kSyncExitFailure = 1,       // the sync could not run, or a conduit failed to load or returned non-zero
  kSyncExitLoggedErrors = 2,  // a conduit logged an error line (activity 21) in the HotSync log
  kSyncExitHandheldBusy = 3,  // another sync held the handheld or an exchange directory for the whole wait
};

struct TSyncRequest {
  std::string UserName;               // in the terminal's encoding
  std::optional<std::string> Device;  // the handheld's directory, else the user's Device folder
  std::chrono::milliseconds LockWait{10000};
};

int RunSync(const THostContext& context, const TSyncRequest& request);
int RunConfigure(const THostContext& context, const std::optional<std::string>& user_name);
int RunLog(const THostContext& context, const std::string& user_name);

// The user's exchange directory for a conduit, created when missing, ending with '/'. Throws
// EHotSyncRequestError when the registered directory is not one plain folder name.
std::string ConduitDirectory(const std::string& user_folder, const TConduitEntry& entry);
