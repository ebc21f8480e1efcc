// The records the HotSync host and a conduit exchange as raw memory, each laid out once here:
// little-endian 32-bit integers and zero-terminated 8-bit texts in fixed fields.
#pragma once

#include <cstddef>
#include <cstdint>

// Sync properties given to OpenConduit, 1024 bytes:
//   OFFSET  SIZE  MEANING
//        0     4  synchronisation type (0: a full exchange)
//        4   256  path name: the conduit's exchange directory, ending with '/'
//      260   256  local name
//      516   256  user name (Windows-1251)
//      772    32  remote name
//      804   220  zero
namespace sync_properties {
inline constexpr size_t kSyncType = 0;
inline constexpr size_t kPathName = 4;
inline constexpr size_t kLocalName = 260;
inline constexpr size_t kUserName = 516;
inline constexpr size_t kRemoteName = 772;
inline constexpr size_t kTextSize = 256;
inline constexpr size_t kSize = 1024;
}  // namespace sync_properties

struct TpfgSyncProperties {
  int32_t SyncType;
  char PathName[sync_properties::kTextSize];
  char LocalName[sync_properties::kTextSize];
  char UserName[sync_properties::kTextSize];
  char RemoteName[32];
  uint8_t Reserved[220];
};
static_assert(offsetof(TpfgSyncProperties, SyncType) == sync_properties::kSyncType);
static_assert(offsetof(TpfgSyncProperties, PathName) == sync_properties::kPathName);
static_assert(offsetof(TpfgSyncProperties, LocalName) == sync_properties::kLocalName);
static_assert(offsetof(TpfgSyncProperties, UserName) == sync_properties::kUserName);
static_assert(offsetof(TpfgSyncProperties, RemoteName) == sync_properties::kRemoteName);
static_assert(sizeof(TpfgSyncProperties) == sync_properties::kSize);

// Configuration record given to CfgConduit, 352 bytes:
//   OFFSET  SIZE  MEANING
//        0     4  version (1 from the host; any version is accepted)
//        4     4  size, 352
//        8     4  creator ID, first character in the lowest byte (0 when unknown)
//       12    68  zero
//       80   256  path name
//      336     4  permanent synchronisation type
//      340     4  temporary synchronisation type
//      344     4  new synchronisation type, chosen by the dialog
//      348     4  synchronisation preference
namespace cfg_conduit_info {
inline constexpr size_t kVersion = 0;
inline constexpr size_t kRecordSize = 4;
inline constexpr size_t kCreatorID = 8;
inline constexpr size_t kPathName = 80;
inline constexpr size_t kPermanentSyncType = 336;
inline constexpr size_t kTemporarySyncType = 340;
inline constexpr size_t kNewSyncType = 344;
inline constexpr size_t kSyncPreference = 348;
inline constexpr size_t kTextSize = 256;
inline constexpr size_t kSize = 352;
inline constexpr uint32_t kHostVersion = 1;
inline constexpr uint32_t kAnyVersion = 0xFFFFFFFF;
}  // namespace cfg_conduit_info

struct TpfgCfgConduitInfo {
  uint32_t Version;
  uint32_t Size;
  uint32_t CreatorID;
  uint8_t Unused[68];
  char PathName[cfg_conduit_info::kTextSize];
  uint32_t PermanentSyncType;
  uint32_t TemporarySyncType;
  uint32_t NewSyncType;
  uint32_t SyncPreference;
};
static_assert(offsetof(TpfgCfgConduitInfo, Version) == cfg_conduit_info::kVersion);
static_assert(offsetof(TpfgCfgConduitInfo, Size) == cfg_conduit_info::kRecordSize);
static_assert(offsetof(TpfgCfgConduitInfo, CreatorID) == cfg_conduit_info::kCreatorID);
static_assert(offsetof(TpfgCfgConduitInfo, PathName) == cfg_conduit_info::kPathName);
static_assert(offsetof(TpfgCfgConduitInfo, PermanentSyncType) == cfg_conduit_info::kPermanentSyncType);
static_assert(offsetof(TpfgCfgConduitInfo, TemporarySyncType) == cfg_conduit_info::kTemporarySyncType);
static_assert(offsetof(TpfgCfgConduitInfo, NewSyncType) == cfg_conduit_info::kNewSyncType);
static_assert(offsetof(TpfgCfgConduitInfo, SyncPreference) == cfg_conduit_info::kSyncPreference);
static_assert(sizeof(TpfgCfgConduitInfo) == cfg_conduit_info::kSize);

// Old-style configuration record given to ConfigureConduit:
//   OFFSET  SIZE  MEANING
//        0   256  path name
//      516     4  synchronisation preference, written back by the dialog
//      520     4  synchronisation type, written back by the dialog
namespace old_configuration {
inline constexpr size_t kPathName = 0;
inline constexpr size_t kTextSize = 256;
inline constexpr size_t kSyncPreference = 516;
inline constexpr size_t kSyncType = 520;
inline constexpr size_t kSize = 524;
}  // namespace old_configuration

// Name request record given to GetConduitInfo with info type 0, 80 bytes:
//   OFFSET  SIZE  MEANING
//        0     4  version, 1
//        4     4  size, 80
//        8    72  unused
namespace name_request {
inline constexpr size_t kVersion = 0;
inline constexpr size_t kRecordSize = 4;
inline constexpr size_t kSize = 80;
inline constexpr uint32_t kExpectedVersion = 1;
}  // namespace name_request
