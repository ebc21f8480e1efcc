#include "conduit/desktop_libraries.h"

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "conduit/library_path.h"
#include "core/message_box_text.h"

namespace {

// What the binding holds. It is made on first use, because the library's top file binds from its
// own static object, which may be initialised before this file's statics are.
struct TBindingState {
  TDesktopLibraries desktop;
  std::array<void*, 6> handles{};
  // The directory of the last binding; the message box service looks for libhsapi.so there.
  std::string bound_directory;
};

TBindingState& State() {
  static TBindingState state;
  return state;
}

// A library that loaded but lacks a function.
struct MissingFunction {
  std::string function;
};

template <typename Function>
void Resolve(void* handle, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(dlsym(handle, name));
  if (slot == nullptr) throw MissingFunction{name};
}

void ResolveUserData(void* h, TUserDataCalls& c) {
  Resolve(h, "UmGetRootDirectory", c.GetRootDirectory);
  Resolve(h, "UmGetUserCount", c.GetUserCount);
  Resolve(h, "UmGetUserID", c.GetUserID);
  Resolve(h, "UmGetUserDirectory", c.GetUserDirectory);
}

void ResolveSyncManager(void* h, TSyncManagerCalls& c) {
  Resolve(h, "SyncRegisterConduit", c.RegisterConduit);
  Resolve(h, "SyncUnRegisterConduit", c.UnRegisterConduit);
  Resolve(h, "SyncYieldCycles", c.YieldCycles);
  Resolve(h, "SyncOpenDB", c.OpenDB);
  Resolve(h, "SyncCreateDB", c.CreateDB);
  Resolve(h, "SyncCloseDB", c.CloseDB);
  Resolve(h, "SyncDeleteDB", c.DeleteDB);
  Resolve(h, "SyncGetDBRecordCount", c.GetDBRecordCount);
  Resolve(h, "SyncPurgeAllRecs", c.PurgeAllRecs);
  Resolve(h, "SyncPurgeDeletedRecs", c.PurgeDeletedRecs);
  Resolve(h, "SyncReadDBAppInfoBlock", c.ReadDBAppInfoBlock);
  Resolve(h, "SyncWriteDBAppInfoBlock", c.WriteDBAppInfoBlock);
  Resolve(h, "SyncResetRecordIndex", c.ResetRecordIndex);
  Resolve(h, "SyncReadRecordByIndex", c.ReadRecordByIndex);
  Resolve(h, "SyncReadRecordById", c.ReadRecordById);
  Resolve(h, "SyncReadNextModifiedRec", c.ReadNextModifiedRec);
  Resolve(h, "SyncReadNextRecInCategory", c.ReadNextRecInCategory);
  Resolve(h, "SyncReadNextModifiedRecInCategory", c.ReadNextModifiedRecInCategory);
  Resolve(h, "SyncWriteRec", c.WriteRec);
  Resolve(h, "SyncDeleteRec", c.DeleteRec);
}

void ResolveCondMgr(void* h, TCondMgrCalls& c) {
  Resolve(h, "CmInstallCreator", c.InstallCreator);
  Resolve(h, "CmSetCreatorName", c.SetCreatorName);
  Resolve(h, "CmSetCreatorTitle", c.SetCreatorTitle);
  Resolve(h, "CmSetCreatorDirectory", c.SetCreatorDirectory);
  Resolve(h, "CmSetCreatorFile", c.SetCreatorFile);
  Resolve(h, "CmSetCreatorRemote", c.SetCreatorRemote);
  Resolve(h, "CmSetCreatorInfo", c.SetCreatorInfo);
  Resolve(h, "CmSetCreatorPriority", c.SetCreatorPriority);
  Resolve(h, "CmRemoveConduitByCreatorID", c.RemoveConduitByCreatorID);
  Resolve(h, "CmGetCorePath", c.GetCorePath);
  Resolve(h, "CmGetCreatorDirectory", c.GetCreatorDirectory);
}

void ResolveHsLog(void* h, THsLogCalls& c) { Resolve(h, "LogAddEntry", c.AddEntry); }

void ResolveInstallAide(void* h, TInstallAideCalls& c) { Resolve(h, "PltInstallFile", c.InstallFile); }

void ResolveHsApi(void* h, THsApiCalls& c) {
  Resolve(h, "HsRefreshConduitInfo", c.RefreshConduitInfo);
  Resolve(h, "MessageBoxA", c.MessageBox);
}

// One library of the binding: its unit name for messages, its file, whether the conduit can do
// without it, and how its functions are resolved into the table.
struct LibraryBinding {
  const char* unit;
  const char* file;
  bool optional;
  void (*resolve)(void* handle, TDesktopLibraries& table);
};

// The binding order is fixed: user data, Sync Manager, Conduit Manager, log, install aide, HotSync API.
const std::array<LibraryBinding, 6> kBindings{{
    {"pfgUserData", "libuserdata.so", true, [](void* h, TDesktopLibraries& t) { ResolveUserData(h, t.UserData); }},
    {"pfgSyncMgr", "libsync20.so", false, [](void* h, TDesktopLibraries& t) { ResolveSyncManager(h, t.Sync); }},
    {"pfgCondMgre", "libcondmgr.so", false, [](void* h, TDesktopLibraries& t) { ResolveCondMgr(h, t.CondMgr); }},
    {"pfgHslog", "libhslog20.so", false, [](void* h, TDesktopLibraries& t) { ResolveHsLog(h, t.Log); }},
    {"pfgPalmInstall", "libinstaide.so", false,
     [](void* h, TDesktopLibraries& t) { ResolveInstallAide(h, t.InstallAide); }},
    {"pfgHSAPI", "libhsapi.so", false, [](void* h, TDesktopLibraries& t) { ResolveHsApi(h, t.HsApi); }},
}};

std::string WithSlash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

void ShowBindingError(const std::string& text) { MessageBox(text, "Error", MB_OK | MB_ICONERROR); }

int AnswerOnStderr(const std::string& text, const std::string& caption, unsigned style) {
  std::fputs(MessageBoxForTerminal(text, caption).c_str(), stderr);
  return DefaultAnswer(style);
}

}  // namespace

const TDesktopLibraries& Desktop() { return State().desktop; }

std::string LocateDesktopLibraries(const std::string& conduit_directory, const char* hotsync_path) {
  std::string own = WithSlash(conduit_directory);
  std::error_code error;
  if (!own.empty() && std::filesystem::exists(own + "libuserdata.so", error)) return own;
  if (hotsync_path != nullptr && *hotsync_path != '\0') {
    std::string parent = std::filesystem::path(hotsync_path).parent_path().string();
    if (!parent.empty()) return WithSlash(parent);
  }
  return own;
}

const std::string& DesktopLibraryDirectory() {
  static const std::string directory = LocateDesktopLibraries(ConduitLibraryDirectory(), std::getenv("HOTSYNC_PATH"));
  return directory;
}

bool BindDesktopLibraries() { return BindDesktopLibraries(DesktopLibraryDirectory()); }

bool BindDesktopLibraries(const std::string& directory) {
  ReleaseDesktopLibraries();
  State().bound_directory = WithSlash(directory);
  for (size_t i = 0; i < kBindings.size(); ++i) {
    const LibraryBinding& binding = kBindings[i];
    void* handle = dlopen((State().bound_directory + binding.file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      ShowBindingError(std::string(binding.unit) + ": Unable to load " + binding.file);
      if (binding.optional) continue;
      ReleaseDesktopLibraries();
      return false;
    }
    State().handles[i] = handle;
    try {
      binding.resolve(handle, State().desktop);
    } catch (const MissingFunction& missing) {
      ShowBindingError(std::string(binding.unit) + ": " + binding.file + " lacks " + missing.function);
      ReleaseDesktopLibraries();
      return false;
    }
  }
  return true;
}

void ReleaseDesktopLibraries() {
  State().desktop = TDesktopLibraries{};
  for (void*& handle : State().handles) {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
  }
}

int MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  if (State().desktop.HsApi.MessageBox != nullptr) {
    return State().desktop.HsApi.MessageBox(nullptr, text.c_str(), caption.c_str(), style);
  }
  const std::string& directory = State().bound_directory.empty() ? DesktopLibraryDirectory() : State().bound_directory;
  void* handle = dlopen((directory + "libhsapi.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return AnswerOnStderr(text, caption, style);
  auto show = reinterpret_cast<decltype(&::MessageBoxA)>(dlsym(handle, "MessageBoxA"));
  int answer =
      show != nullptr ? show(nullptr, text.c_str(), caption.c_str(), style) : AnswerOnStderr(text, caption, style);
  dlclose(handle);
  return answer;
}
