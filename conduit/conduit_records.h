// The records the HotSync Manager exchanges with the conduit, laid out byte for byte
// (little-endian 32-bit integers, zero-terminated 8-bit texts).
#pragma once

#include <cstddef>
#include <cstdint>

// Sync properties given to OpenConduit; the conduit reads the path name and the user name.
struct TpfgSyncProperties {
  int32_t SyncType;
  char PathName[256];   // offset 4: the exchange directory, ending with '/'
  char LocalName[256];  // offset 260
  char UserName[256];   // offset 516
  char RemoteName[32];
  uint8_t Reserved[220];
};
static_assert(offsetof(TpfgSyncProperties, PathName) == 4);
static_assert(offsetof(TpfgSyncProperties, UserName) == 516);

// Configuration record of CfgConduit (352 bytes).
struct TpfgCfgConduitInfo {
  uint32_t Version;
  uint32_t Size;
  uint32_t CreatorID;
  uint8_t Unused[68];
  char PathName[256];
  uint32_t PermanentSyncType;
  uint32_t TemporarySyncType;
  uint32_t NewSyncType;
  uint32_t SyncPreference;
};
static_assert(sizeof(TpfgCfgConduitInfo) == 352);
static_assert(offsetof(TpfgCfgConduitInfo, PathName) == 80);
static_assert(offsetof(TpfgCfgConduitInfo, NewSyncType) == 344);
