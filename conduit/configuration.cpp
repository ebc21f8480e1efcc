// ConfigureConduit and CfgConduit: the two ways the host opens the conduit's settings dialog.
#include <cstring>

#include "conduit/entry_points.h"
#include "conduit/export_guard.h"
#include "core/byte_order.h"

namespace {

constexpr uint32_t kCfgRecordSize = cfg_conduit_info::kSize;
constexpr int32_t kCfgTypeDialog = 0;

// The settings dialog through OnConfigConduit: 0, or -1 for any error.
int32_t DispatchConfig(TpfgCfgConduitInfo& record) {
  return Guarded(-1, SyncErrorResult::Failure, [&] {
    TpfgPalmComponent& component = TpfgPalmComponent::Find();
    if (component.OnConfigConduit) component.OnConfigConduit(record);
    return 0;
  });
}

// The creator ID as a 32-bit value in memory order (first character in the lowest byte), or 0.
uint32_t CreatorIdWord() {
  TpfgPalmComponent* component = TpfgPalmComponent::Registered();
  if (component == nullptr || component->CreatorID().size() != 4) return 0;
  uint32_t word = 0;
  std::memcpy(&word, component->CreatorID().data(), 4);
  return word;
}

}  // namespace

CONDUIT_API int32_t ConfigureConduit(void* old_record) {
  if (old_record == nullptr) return -1;
  const std::span old(static_cast<uint8_t*>(old_record), old_configuration::kSize);
  TpfgCfgConduitInfo record{};
  record.Version = cfg_conduit_info::kAnyVersion;
  record.Size = kCfgRecordSize;
  record.CreatorID = CreatorIdWord();
  std::memcpy(record.PathName, old.data() + old_configuration::kPathName, sizeof record.PathName);
  record.SyncPreference = ReadLittle32(old, old_configuration::kSyncPreference);
  record.PermanentSyncType = ReadLittle32(old, old_configuration::kSyncType);
  record.TemporarySyncType = record.PermanentSyncType;
  int32_t result = DispatchConfig(record);
  if (result == 0) {
    WriteLittle32(old, old_configuration::kSyncPreference, record.SyncPreference);
    WriteLittle32(old, old_configuration::kSyncType, record.NewSyncType);
  }
  return result;
}

CONDUIT_API int32_t CfgConduit(int32_t type, void* record, uint32_t* size) {
  if (record == nullptr) return kCondErrInvalidInArgs;
  if (size == nullptr) return kCondErrInvalidOutSize;
  if (*size != kCfgRecordSize) return kCondErrInvalidArgSize;
  if (type != kCfgTypeDialog) return kCondErrUnsupportedVersion;
  return DispatchConfig(*static_cast<TpfgCfgConduitInfo*>(record));
}
