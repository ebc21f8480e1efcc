#include "hotsync/device/record_id_index.h"

#include <bit>

void RecordIdIndex::Clear() {
  slots_.clear();
  count_ = 0;
}

void RecordIdIndex::Reserve(size_t count) {
  if (2 * count > slots_.size()) Grow(std::bit_ceil(2 * count));
}

size_t RecordIdIndex::SlotOf(uint32_t id) const {
  // IDs are mostly handed out one after another: consecutive IDs take consecutive slots, so a
  // walk over the records touches the table in order; the high bits folded in spread IDs that
  // lie a power of two apart.
  return static_cast<size_t>(id ^ (id >> 11)) & (slots_.size() - 1);
}

bool RecordIdIndex::Insert(uint32_t id, uint32_t index) {
  if (id == 0) return false;
  if (2 * (count_ + 1) > slots_.size()) Grow(slots_.empty() ? 16 : 2 * slots_.size());
  for (size_t slot = SlotOf(id);; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot].id == id) return false;
    if (slots_[slot].id == 0) {
      slots_[slot] = {id, index};
      ++count_;
      return true;
    }
  }
}

std::optional<uint32_t> RecordIdIndex::Find(uint32_t id) const {
  if (id == 0 || slots_.empty()) return std::nullopt;
  for (size_t slot = SlotOf(id);; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot].id == id) return slots_[slot].index;
    if (slots_[slot].id == 0) return std::nullopt;
  }
}

void RecordIdIndex::Grow(size_t capacity) {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(capacity, Slot{});
  count_ = 0;
  for (const Slot& slot : old) {
    if (slot.id != 0) Insert(slot.id, slot.index);
  }
}
