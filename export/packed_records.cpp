#include "export/packed_records.h"

#include <algorithm>
#include <cstring>

void TPackedRecords::Add(std::span<const uint8_t> record) {
  if (blocks_.empty() || record.size() > left_) {
    const size_t size = std::max(record.size(), kBlockSize);
    blocks_.push_back({std::make_unique_for_overwrite<uint8_t[]>(size), 0});
    next_ = blocks_.back().Bytes.get();
    left_ = size;
  }
  if (!record.empty()) std::memcpy(next_, record.data(), record.size());
  records_.emplace_back(next_, record.size());
  block_of_.push_back(static_cast<uint32_t>(blocks_.size() - 1));
  ++blocks_.back().Records;
  next_ += record.size();
  left_ -= record.size();
}

void TPackedRecords::Drain(const std::function<void(std::span<const uint8_t>)>& write) {
  for (size_t position = 0; position < records_.size(); ++position) {
    const size_t record = order_.empty() ? position : order_[position];
    write(records_[record]);
    TBlock& block = blocks_[block_of_[record]];
    if (--block.Records == 0) block.Bytes.reset();
  }
  *this = TPackedRecords();
}
