#include "hotsync/device/record_byte_store.h"

#include <algorithm>
#include <cstring>

namespace {

// Chunks grow from 64 KiB to this, so a small database takes little room and a large one few chunks.
constexpr size_t kLargestChunk = 4 << 20;

}  // namespace

std::string_view RecordByteStore::Keep(std::string_view bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > room_ - used_) {
    room_ = std::max(bytes.size(), next_room_);
    next_room_ = std::min(2 * next_room_, kLargestChunk);
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(room_));
    used_ = 0;
  }
  char* const kept = chunks_.back().get() + used_;
  std::memcpy(kept, bytes.data(), bytes.size());
  used_ += bytes.size();
  return {kept, bytes.size()};
}
