#include "hotsync/host_records.h"

#include <algorithm>
#include <string>

#include "core/byte_order.h"
#include "hotsync/host_errors.h"

namespace {

void PutText(std::vector<uint8_t>& record, size_t offset, size_t field_size, std::string_view text,
             std::string_view what) {
  if (text.size() >= field_size) {
    throw EHotSyncRequestError(std::string(what) + " is longer than " + std::to_string(field_size - 1) +
                               " bytes: " + std::string(text));
  }
  if (!BytesFit(record.size(), offset, field_size))
    throw EHotSyncRequestError("A record field lies outside its record");
  std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::vector<uint8_t> SyncPropertiesRecord(int32_t sync_type, std::string_view path_name, std::string_view local_name,
                                          std::string_view user_name) {
  using namespace sync_properties;
  std::vector<uint8_t> record(kSize, 0);
  WriteLittle32(record, kSyncType, static_cast<uint32_t>(sync_type));
  PutText(record, kPathName, kTextSize, path_name, "The exchange directory");
  PutText(record, kLocalName, kTextSize, local_name, "The local name");
  PutText(record, kUserName, kTextSize, user_name, "The user name");
  return record;
}

std::vector<uint8_t> ConfigurationRecord(std::string_view creator, std::string_view path_name) {
  using namespace cfg_conduit_info;
  std::vector<uint8_t> record(kSize, 0);
  WriteLittle32(record, kVersion, kHostVersion);
  WriteLittle32(record, kRecordSize, kSize);
  if (creator.size() == 4) WriteLittle32(record, kCreatorID, ReadLittle32(AsBytes(creator), 0));
  PutText(record, kPathName, kTextSize, path_name, "The path name");
  return record;
}
