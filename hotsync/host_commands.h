// The commands of the hotsync program, each returning the program's exit status. They work on
// the HotSync home and the conduit the command line named, through the desktop libraries.
#pragma once

#include <optional>
#include <string>

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
int RunSync(const THostContext& context, const std::string& user_name, const std::optional<std::string>& device);
int RunConfigure(const THostContext& context, const std::optional<std::string>& user_name);
int RunLog(const THostContext& context, const std::string& user_name);
