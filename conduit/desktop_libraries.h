// The desktop libraries bound at load: one table of entry points per library, filled by
// dlopen/dlsym in the fixed order (user data, Sync Manager, Conduit Manager, log, install aide, HotSync API).
#pragma once

#include <string>

#include "api/conduit_manager.h"
#include "api/hotsync_api.h"
#include "api/hotsync_log.h"
#include "api/install_aide.h"
#include "api/sync_manager.h"
#include "api/user_data.h"
#include "core/exceptions.h"

struct TUserDataCalls {
  decltype(&::UmGetRootDirectory) GetRootDirectory = nullptr;
  decltype(&::UmGetUserCount) GetUserCount = nullptr;
  decltype(&::UmGetUserID) GetUserID = nullptr;
  decltype(&::UmGetUserDirectory) GetUserDirectory = nullptr;
};

struct TSyncManagerCalls {
  decltype(&::SyncRegisterConduit) RegisterConduit = nullptr;
  decltype(&::SyncUnRegisterConduit) UnRegisterConduit = nullptr;
  decltype(&::SyncYieldCycles) YieldCycles = nullptr;
  decltype(&::SyncOpenDB) OpenDB = nullptr;
  decltype(&::SyncCreateDB) CreateDB = nullptr;
  decltype(&::SyncCloseDB) CloseDB = nullptr;
  decltype(&::SyncDeleteDB) DeleteDB = nullptr;
  decltype(&::SyncGetDBRecordCount) GetDBRecordCount = nullptr;
  decltype(&::SyncPurgeAllRecs) PurgeAllRecs = nullptr;
  decltype(&::SyncPurgeDeletedRecs) PurgeDeletedRecs = nullptr;
  decltype(&::SyncReadDBAppInfoBlock) ReadDBAppInfoBlock = nullptr;
  decltype(&::SyncWriteDBAppInfoBlock) WriteDBAppInfoBlock = nullptr;
  decltype(&::SyncResetRecordIndex) ResetRecordIndex = nullptr;
  decltype(&::SyncReadRecordByIndex) ReadRecordByIndex = nullptr;
  decltype(&::SyncReadRecordById) ReadRecordById = nullptr;
  decltype(&::SyncReadNextModifiedRec) ReadNextModifiedRec = nullptr;
  decltype(&::SyncReadNextRecInCategory) ReadNextRecInCategory = nullptr;
  decltype(&::SyncReadNextModifiedRecInCategory) ReadNextModifiedRecInCategory = nullptr;
  decltype(&::SyncWriteRec) WriteRec = nullptr;
  decltype(&::SyncDeleteRec) DeleteRec = nullptr;
};

struct TCondMgrCalls {
  decltype(&::CmInstallCreator) InstallCreator = nullptr;
  decltype(&::CmSetCreatorName) SetCreatorName = nullptr;
  decltype(&::CmSetCreatorTitle) SetCreatorTitle = nullptr;
  decltype(&::CmSetCreatorDirectory) SetCreatorDirectory = nullptr;
  decltype(&::CmSetCreatorFile) SetCreatorFile = nullptr;
  decltype(&::CmSetCreatorRemote) SetCreatorRemote = nullptr;
  decltype(&::CmSetCreatorInfo) SetCreatorInfo = nullptr;
  decltype(&::CmSetCreatorPriority) SetCreatorPriority = nullptr;
  decltype(&::CmRemoveConduitByCreatorID) RemoveConduitByCreatorID = nullptr;
  decltype(&::CmGetCorePath) GetCorePath = nullptr;
  decltype(&::CmGetCreatorDirectory) GetCreatorDirectory = nullptr;
};

struct THsLogCalls {
  decltype(&::LogAddEntry) AddEntry = nullptr;
};

struct TInstallAideCalls {
  decltype(&::PltInstallFile) InstallFile = nullptr;
};

struct THsApiCalls {
  decltype(&::HsRefreshConduitInfo) RefreshConduitInfo = nullptr;
  decltype(&::MessageBoxA) MessageBox = nullptr;
};

struct TDesktopLibraries {
  TUserDataCalls UserData;
  TSyncManagerCalls Sync;
  TCondMgrCalls CondMgr;
  THsLogCalls Log;
  TInstallAideCalls InstallAide;
  THsApiCalls HsApi;
};

// The bound entry points (all null before binding).
const TDesktopLibraries& Desktop();

// A call to a desktop-library function that is not bound (its library is not loaded).
class EDesktopLibraryError : public Exception {
 public:
  using Exception::Exception;
};

// The bound entry point; EDesktopLibraryError "<function> is not bound" when it is null.
template <typename Function>
Function Bound(Function entry, const char* function) {
  if (entry == nullptr) throw EDesktopLibraryError(std::string(function) + " is not bound");
  return entry;
}

// The directory the desktop libraries are loaded from, ending with '/': the conduit library's
// own directory when libuserdata.so lies there, else the directory of the program named by
// hotsync_path (null or empty: none), else the conduit library's directory again.
std::string LocateDesktopLibraries(const std::string& conduit_directory, const char* hotsync_path);
// LocateDesktopLibraries for this conduit library and $HOTSYNC_PATH, found once per process.
const std::string& DesktopLibraryDirectory();

// Finds the installation directory (beside the conduit library when libuserdata.so is there,
// else the directory of $HOTSYNC_PATH) and binds the six libraries in order. A library that
// cannot be loaded shows "pfgSyncMgr: Unable to load libsync20.so" (and its kin) in a message
// box; false when binding must abort the conduit's initialisation.
bool BindDesktopLibraries();
// Binds from the given directory (tests, and the host's own checks). A library that loads but
// lacks one of its functions shows "<unit>: <library> lacks <function>" and also aborts.
bool BindDesktopLibraries(const std::string& directory);
// Unbinds and releases every library (at unload; harmless when nothing is bound).
void ReleaseDesktopLibraries();

// The message box service: through libhsapi.so when it can be loaded (bound or not yet),
// otherwise caption and text on stderr and the default answer.
int MessageBox(const std::string& text, const std::string& caption, unsigned style);
