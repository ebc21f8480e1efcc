// libcondmgr.so: the conduit registry of the HotSync home. Each change reads the registry,
// changes one entry and writes it back atomically.
#include "api/conduit_manager.h"

#include <functional>

#include "hotsync/c_boundary.h"
#include "hotsync/conduit_registry.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/users_store.h"

namespace {

constexpr std::string_view kLibrary = "libcondmgr.so";

int32_t ChangeEntry(const char* creator, const std::function<void(TConduitEntry&)>& change) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&]() -> int32_t {
    if (creator == nullptr) return CMERR_GENERAL;
    const std::string home = HotSyncHome();
    auto entries = LoadConduitRegistry(home);
    TConduitEntry* entry = FindConduit(entries, creator);
    if (entry == nullptr) return CMERR_CONDUIT_NOT_FOUND;
    change(*entry);
    SaveConduitRegistry(home, entries);
    return CMERR_NONE;
  });
}

int32_t SetText(const char* creator, const char* text, std::string TConduitEntry::*field) {
  if (text == nullptr) return CMERR_GENERAL;
  return ChangeEntry(creator, [&](TConduitEntry& entry) { entry.*field = text; });
}

}  // namespace

PALM_API int32_t CmInstallCreator(const char* creator, int32_t conduit_type) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&]() -> int32_t {
    if (creator == nullptr) return CMERR_GENERAL;
    CheckCreatorId(creator);
    const std::string home = HotSyncHome();
    auto entries = LoadConduitRegistry(home);
    if (FindConduit(entries, creator) != nullptr) return CMERR_CREATOR_ALREADY_EXISTS;
    TConduitEntry entry;
    entry.Creator = creator;
    entry.Type = conduit_type;
    entries.push_back(entry);
    SaveConduitRegistry(home, entries);
    return CMERR_NONE;
  });
}

PALM_API int32_t CmSetCreatorName(const char* creator, const char* library_path) {
  return SetText(creator, library_path, &TConduitEntry::Library);
}

PALM_API int32_t CmSetCreatorTitle(const char* creator, const char* title) {
  return SetText(creator, title, &TConduitEntry::Title);
}

// The directory is a folder under each user's folder: one plain name, never a path that leads elsewhere.
PALM_API int32_t CmSetCreatorDirectory(const char* creator, const char* directory) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&] {
    if (directory != nullptr) CheckFolderName(directory, "The conduit's directory");
    return SetText(creator, directory, &TConduitEntry::Directory);
  });
}

PALM_API int32_t CmSetCreatorFile(const char* creator, const char* file) {
  return SetText(creator, file, &TConduitEntry::File);
}

PALM_API int32_t CmSetCreatorRemote(const char* creator, const char* remote) {
  return SetText(creator, remote, &TConduitEntry::Remote);
}

PALM_API int32_t CmSetCreatorInfo(const char* creator, const char* info) {
  return SetText(creator, info, &TConduitEntry::Info);
}

PALM_API int32_t CmSetCreatorPriority(const char* creator, int32_t priority) {
  return ChangeEntry(creator, [&](TConduitEntry& entry) { entry.Priority = priority; });
}

PALM_API int32_t CmRemoveConduitByCreatorID(const char* creator) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&]() -> int32_t {
    if (creator == nullptr) return CMERR_GENERAL;
    const std::string home = HotSyncHome();
    auto entries = LoadConduitRegistry(home);
    const auto removed = std::erase_if(entries, [&](const TConduitEntry& entry) { return entry.Creator == creator; });
    if (removed == 0) return CMERR_CONDUIT_NOT_FOUND;
    SaveConduitRegistry(home, entries);
    return static_cast<int32_t>(removed);
  });
}

PALM_API int32_t CmGetCorePath(char* buffer, int32_t* size) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&]() -> int32_t {
    return CopyTextToBuffer(HotSyncHome(), buffer, size) ? CMERR_NONE : CMERR_BUFFER_TOO_SMALL;
  });
}

PALM_API int32_t CmGetCreatorDirectory(const char* creator, char* buffer, int32_t* size) {
  return GuardedCall(kLibrary, static_cast<int32_t>(CMERR_GENERAL), [&]() -> int32_t {
    if (creator == nullptr) return CMERR_GENERAL;
    auto entries = LoadConduitRegistry(HotSyncHome());
    const TConduitEntry* entry = FindConduit(entries, creator);
    if (entry == nullptr) return CMERR_CONDUIT_NOT_FOUND;
    return CopyTextToBuffer(entry->Directory, buffer, size) ? CMERR_NONE : CMERR_BUFFER_TOO_SMALL;
  });
}
