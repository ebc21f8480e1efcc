#include "hotsync/host_records.h"

#include <algorithm>
#include <string>

#include "hotsync/host_errors.h"

namespace {

constexpr size_t kTextField = 256;

void PutLittleEndian32(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
  if (offset + 4 > record.size()) throw EHotSyncRequestError("A record field lies outside its record");
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(std::vector<uint8_t>& record, size_t offset, std::string_view text, std::string_view what) {
  if (text.size() >= kTextField) {
    throw EHotSyncRequestError(std::string(what) + " is longer than " + std::to_string(kTextField - 1) + " bytes: " +
                               std::string(text));
  }
  if (offset + kTextField > record.size()) throw EHotSyncRequestError("A record field lies outside its record");
  std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::vector<uint8_t> SyncPropertiesRecord(int32_t sync_type, std::string_view path_name, std::string_view local_name,
                                          std::string_view user_name) {
  std::vector<uint8_t> record(kSyncPropertiesSize, 0);
  PutLittleEndian32(record, 0, static_cast<uint32_t>(sync_type));
  PutText(record, 4, path_name, "The exchange directory");
  PutText(record, 260, local_name, "The local name");
  PutText(record, 516, user_name, "The user name");
  return record;
}

std::vector<uint8_t> ConfigurationRecord(std::string_view creator, std::string_view path_name) {
  std::vector<uint8_t> record(kConfigurationRecordSize, 0);
  PutLittleEndian32(record, 0, 1);
  PutLittleEndian32(record, 4, kConfigurationRecordSize);
  uint32_t creator_value = 0;
  if (creator.size() == 4) {
    for (int i = 0; i < 4; ++i) creator_value |= static_cast<uint32_t>(static_cast<uint8_t>(creator[i])) << (8 * i);
  }
  PutLittleEndian32(record, 8, creator_value);
  PutText(record, 80, path_name, "The path name");
  return record;
}
