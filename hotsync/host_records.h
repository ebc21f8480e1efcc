// The records the host hands a conduit, built byte by byte in the layouts of
// api/conduit_records.h. A text longer than its field allows throws EHotSyncRequestError.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "api/conduit_records.h"

inline constexpr size_t kSyncPropertiesSize = sync_properties::kSize;
// The sync properties of one OpenConduit call; every text must leave room for its zero.
std::vector<uint8_t> SyncPropertiesRecord(int32_t sync_type, std::string_view path_name, std::string_view local_name,
                                          std::string_view user_name);

inline constexpr size_t kConfigurationRecordSize = cfg_conduit_info::kSize;
// The configuration record of one CfgConduit call: version 1, its size, the creator ID
// (0 unless it has four characters) and the path name; everything else zero.
std::vector<uint8_t> ConfigurationRecord(std::string_view creator, std::string_view path_name);
