// The records the host hands a conduit, built byte by byte (little-endian 32-bit integers,
// zero-terminated 8-bit texts in fixed fields).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Sync properties given to OpenConduit, 1024 bytes:
//   OFFSET  SIZE  MEANING
//        0     4  synchronisation type (0: a full exchange)
//        4   256  path name: the conduit's exchange directory, ending with '/'
//      260   256  local name
//      516   256  user name (Windows-1251)
//      772   252  zero
// A text longer than 255 bytes throws EHotSyncRequestError (it is never cut short).
inline constexpr size_t kSyncPropertiesSize = 1024;
std::vector<uint8_t> SyncPropertiesRecord(int32_t sync_type, std::string_view path_name, std::string_view local_name,
                                          std::string_view user_name);

// Configuration record given to CfgConduit, 352 bytes:
//   OFFSET  SIZE  MEANING
//        0     4  version (1)
//        4     4  size, 352
//        8     4  creator ID, first character in the lowest byte (0 when unknown)
//       12    68  zero
//       80   256  path name
//      336    16  synchronisation types and preference, zero
inline constexpr size_t kConfigurationRecordSize = 352;
std::vector<uint8_t> ConfigurationRecord(std::string_view creator, std::string_view path_name);
