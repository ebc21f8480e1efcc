// The ten entry points the HotSync host calls, with C linkage; the only symbols the conduit
// library exports. The host takes their types from here (decltype(&OpenConduit)).
#pragma once

#include <cstdint>

#include "api/conduit_records.h"
#include "conduit/palm_component.h"

#define CONDUIT_API extern "C" __attribute__((visibility("default")))

// Result codes of the conduit interface and of self-registration.
inline constexpr int32_t kCondErrUnknownInfo = 0x1070;          // 4208
inline constexpr int32_t kCondErrInvalidPtr = 0x1071;           // 4209
inline constexpr int32_t kCondErrInvalidBufferSize = 0x1073;    // 4211
inline constexpr int32_t kCondErrInvalidInArgs = 0x1074;        // 4212
inline constexpr int32_t kCondErrInvalidInArgsStruct = 0x1075;  // 4213
inline constexpr int32_t kCondErrInvalidOutSizePtr = 0x1077;    // 4215
inline constexpr int32_t kCondErrInvalidOutSize = 0x1078;       // 4216
inline constexpr int32_t kCondErrInvalidArgSize = 0x107A;       // 4218
inline constexpr int32_t kCondErrUnsupportedVersion = 0x107B;   // 4219
inline constexpr int32_t kRegisterFailed = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t kClassNotAvailable = static_cast<int32_t>(0x80040111u);

// One synchronisation: 0, the Sync Manager code of an escaped EPalmSyncError, or -1.
CONDUIT_API int32_t OpenConduit(TpfgProgressCallback progress, TpfgSyncProperties* properties);
// ConduitName into buffer, at most length - 1 characters and a zero; 0, or -1 without a component.
CONDUIT_API int32_t GetConduitName(char* buffer, uint16_t length);
// Version (major in the high byte); 0 without a component.
CONDUIT_API int32_t GetConduitVersion();
// Info type 0: name (input record version 1, size 80); 1: the interface version; 2: default action.
CONDUIT_API int32_t GetConduitInfo(int32_t info_type, void* in_args, void* out, uint32_t* out_size);
// The settings dialog from an old-style record (path at 0, preference at 516, type at 520).
CONDUIT_API int32_t ConfigureConduit(void* old_record);
// The settings dialog from a 352-byte configuration record of type 0.
CONDUIT_API int32_t CfgConduit(int32_t type, void* record, uint32_t* size);
// Registers the conduit with the Conduit Manager; 0, the Conduit Manager code, 1 or 0x80004005.
CONDUIT_API int32_t DllRegisterServer();
// Removes the conduit's user directories and its registration; 0 or 0x80004005.
CONDUIT_API int32_t DllUnregisterServer();
CONDUIT_API int32_t DllGetClassObject(void* class_id, void* interface_id, void* object);
CONDUIT_API int32_t DllCanUnloadNow();
