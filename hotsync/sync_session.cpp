// The session part of libsync20.so: a conduit registers for the synchronisation, yields while
// it works and unregisters at its end. One conduit runs at a time, so one handle is live at most.
#include "api/sync_manager.h"

#include "hotsync/c_boundary.h"

namespace {

constexpr std::string_view kLibrary = "libsync20.so";

struct TSessionState {
  uint32_t LastHandle = 0;
  bool Registered = false;
};

TSessionState& Session() {
  static TSessionState state;
  return state;
}

}  // namespace

PALM_API int32_t SyncRegisterConduit(uint32_t* handle) {
  return GuardedCall(kLibrary, static_cast<int32_t>(SYNCERR_BAD_ARGUMENT), [&]() -> int32_t {
    if (handle == nullptr) return SYNCERR_BAD_ARGUMENT;
    TSessionState& session = Session();
    session.LastHandle = session.LastHandle == UINT32_MAX ? 1 : session.LastHandle + 1;
    session.Registered = true;
    *handle = session.LastHandle;
    return SYNCERR_NONE;
  });
}

PALM_API int32_t SyncUnRegisterConduit(uint32_t handle) {
  TSessionState& session = Session();
  if (!session.Registered || handle != session.LastHandle) return SYNCERR_BAD_ARGUMENT;
  session.Registered = false;
  return SYNCERR_NONE;
}

// Nothing waits for the desktop here: the host has no window to keep alive.
PALM_API int32_t SyncYieldCycles(uint16_t) { return SYNCERR_NONE; }
