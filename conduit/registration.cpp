// DllRegisterServer and DllUnregisterServer: the conduit's entry in the Conduit Manager's
// registry, and at removal the conduit's directory under every HotSync user.
#include <cstring>
#include <filesystem>
#include <system_error>

#include "conduit/desktop_libraries.h"
#include "conduit/entry_points.h"
#include "conduit/export_guard.h"
#include "conduit/library_path.h"
#include "core/file_lookup.h"

namespace {

constexpr int32_t kConduitTypeApplication = 1;
constexpr size_t kPathBufferSize = 256;

// The host's conduit list is refreshed as a courtesy: every failure is ignored.
void RefreshConduitList() noexcept {
  try {
    if (auto refresh = Desktop().HsApi.RefreshConduitInfo) refresh();
  } catch (...) {
    // A host that cannot refresh rereads the registry at its next start.
  }
}

void SetOptional(decltype(&::CmSetCreatorFile) set, const char* function, const std::string& creator,
                 const std::string& value) {
  if (!value.empty()) CheckSyncResult(Bound(set, function)(creator.c_str(), value.c_str()));
}

void RegisterWithConduitManager(const TpfgPalmComponent& component) {
  const TCondMgrCalls& cm = Desktop().CondMgr;
  const std::string& creator = component.CreatorID();
  const char* id = creator.c_str();
  CheckSyncResult(Bound(cm.InstallCreator, "CmInstallCreator")(id, kConduitTypeApplication));
  CheckSyncResult(Bound(cm.SetCreatorName, "CmSetCreatorName")(id, ConduitLibraryPath().c_str()));
  CheckSyncResult(Bound(cm.SetCreatorTitle, "CmSetCreatorTitle")(id, component.ConduitName.c_str()));
  CheckSyncResult(Bound(cm.SetCreatorDirectory, "CmSetCreatorDirectory")(id, component.Directory.c_str()));
  SetOptional(cm.SetCreatorFile, "CmSetCreatorFile", creator, component.CreatorFile);
  SetOptional(cm.SetCreatorRemote, "CmSetCreatorRemote", creator, component.RemoteFile);
  CheckSyncResult(Bound(cm.SetCreatorPriority, "CmSetCreatorPriority")(id, component.Priority()));
  SetOptional(cm.SetCreatorInfo, "CmSetCreatorInfo", creator, component.Information);
}

// A directory name that stays below the directory it is joined to: not empty, not absolute,
// and with no ".." that climbs out. An empty name would make the joined path the parent itself.
bool StaysBelow(const std::string& name) {
  std::filesystem::path path = std::filesystem::path(name).lexically_normal();
  if (name.empty() || path.is_absolute() || path.empty() || path == ".") return false;
  return *path.begin() != "..";
}

// The text a call leaves in a 256-byte buffer given a size of 255; empty when fill reports failure.
template <typename Fill>
std::string FilledText(Fill fill) {
  char buffer[kPathBufferSize] = {};
  int32_t size = kPathBufferSize - 1;
  if (!fill(buffer, &size)) return {};
  return std::string(buffer, strnlen(buffer, kPathBufferSize));
}

// Deletes HOME/<user dir>/<creator dir> of every user, silently. Users whose directory or the
// creator directory would not name a directory strictly below the HotSync home are skipped:
// an empty creator directory would otherwise delete a user's whole directory.
void RemoveUserDirectories(const std::string& creator) {
  const TCondMgrCalls& cm = Desktop().CondMgr;
  const TUserDataCalls& um = Desktop().UserData;
  std::string core = FilledText(
      [&](char* buffer, int32_t* size) { return Bound(cm.GetCorePath, "CmGetCorePath")(buffer, size) == 0; });
  std::string creator_dir = FilledText([&](char* buffer, int32_t* size) {
    return Bound(cm.GetCreatorDirectory, "CmGetCreatorDirectory")(creator.c_str(), buffer, size) == 0;
  });
  if (core.empty() || !StaysBelow(creator_dir)) return;
  int32_t users = Bound(um.GetUserCount, "UmGetUserCount")();
  for (int32_t index = 0; index < users; ++index) {
    uint32_t user_id = 0;
    if (Bound(um.GetUserID, "UmGetUserID")(index, &user_id) != 0) continue;
    std::string user_dir = FilledText([&](char* buffer, int32_t* size) {
      return Bound(um.GetUserDirectory, "UmGetUserDirectory")(user_id, buffer, size) >= 0;
    });
    if (!StaysBelow(user_dir)) continue;
    std::error_code ignored;
    std::filesystem::remove_all(WithTrailingSlash(core) + WithTrailingSlash(user_dir) + creator_dir, ignored);
  }
}

}  // namespace

CONDUIT_API int32_t DllRegisterServer() {
  TpfgPalmComponent* component = TpfgPalmComponent::Registered();
  if (component == nullptr) return 1;
  return Guarded(kRegisterFailed, SyncErrorResult::ShownCode, [&] {
    if (component->OnRegisterConduit) component->OnRegisterConduit(*component);
    RegisterWithConduitManager(*component);
    RefreshConduitList();
    return 0;
  });
}

CONDUIT_API int32_t DllUnregisterServer() {
  return Guarded(kRegisterFailed, SyncErrorResult::Failure, [] {
    TpfgPalmComponent& component = TpfgPalmComponent::Find();
    bool remove_dirs = true;
    if (component.OnUnregisterConduit) component.OnUnregisterConduit(component, remove_dirs);
    if (remove_dirs) {
      try {
        RemoveUserDirectories(component.CreatorID());
      } catch (...) {
        // Leftover directories do no harm; the registration is still removed.
      }
    }
    if (Bound(Desktop().CondMgr.RemoveConduitByCreatorID,
              "CmRemoveConduitByCreatorID")(component.CreatorID().c_str()) <= 0) {
      return kRegisterFailed;
    }
    RefreshConduitList();
    return 0;
  });
}
