// The HotSync home: the directory holding the users, the conduit registry, the logs and each
// user's folders. --home DIR, else $HOTSYNC_HOME, else ~/.local/share/hotsync.
#pragma once

#include <optional>
#include <string>

// The home named by $HOTSYNC_HOME, else ~/.local/share/hotsync; always ending with '/'.
// Throws EHotSyncRequestError when neither that variable nor a home directory is known.
std::string HotSyncHome();

// The host's choice: the given directory (made absolute) when there is one, else HotSyncHome().
std::string ResolveHotSyncHome(const std::optional<std::string>& given);

// The files of the home.
std::string UsersFilePath(const std::string& home);
std::string ConduitRegistryPath(const std::string& home);
