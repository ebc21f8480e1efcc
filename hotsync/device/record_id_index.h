// RecordIdIndex: where each record ID of a database sits, as one flat table probed in place
// (record IDs are never 0, which marks a free slot), so a database of many records costs no
// allocation per record.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class RecordIdIndex {
 public:
  void Clear();
  // Room for `count` IDs without growing.
  void Reserve(size_t count);
  // False, and nothing changes, for an ID there already or the ID 0.
  bool Insert(uint32_t id, uint32_t index);
  std::optional<uint32_t> Find(uint32_t id) const;
  bool Contains(uint32_t id) const { return Find(id).has_value(); }

 private:
  struct Slot {
    uint32_t id = 0;
    uint32_t index = 0;
  };
  size_t SlotOf(uint32_t id) const;
  void Grow(size_t capacity);

  std::vector<Slot> slots_;  // a power of two in size, at most half full
  size_t count_ = 0;
};
