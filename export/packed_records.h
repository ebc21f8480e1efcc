// Records packed as a handheld table stores them, kept in blocks of about a megabyte so that
// packing many rows copies none of them twice, and handed to the table in the order of the walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TPackedRecords {
 public:
  void Add(std::span<const uint8_t> record);
  size_t Count() const { return records_.size(); }
  // The walk: the record added at Order()[i] is the i-th; empty walks them as they were added.
  void SetOrder(std::vector<uint32_t> order) { order_ = std::move(order); }
  // Hands every record to write in the walk's order; the records are gone afterwards. Each block
  // goes as soon as all its records are written.
  void Drain(const std::function<void(std::span<const uint8_t>)>& write);

 private:
  static constexpr size_t kBlockSize = size_t{1} << 20;
  struct TBlock {
    std::unique_ptr<uint8_t[]> Bytes;
    size_t Records = 0;  // how many records lie in it
  };
  std::vector<TBlock> blocks_;
  std::vector<std::span<const uint8_t>> records_;
  std::vector<uint32_t> block_of_;  // the block each record lies in
  std::vector<uint32_t> order_;
  uint8_t* next_ = nullptr;  // where the next record goes in the last block
  size_t left_ = 0;          // room left there
};
