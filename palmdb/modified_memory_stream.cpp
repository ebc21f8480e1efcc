#include "palmdb/modified_memory_stream.h"

#include <algorithm>
#include <cstring>
#include <iterator>

size_t TpfgModifiedMemoryStream::Read(void* data, size_t count) {
  if (position_ >= bytes_.size()) return 0;
  const size_t copied = std::min(count, bytes_.size() - position_);
  std::memcpy(data, bytes_.data() + position_, copied);
  position_ += copied;
  return copied;
}

void TpfgModifiedMemoryStream::Write(const void* data, size_t count) {
  if (count == 0) return;
  if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, data, count);
  position_ += count;
  modified_ = true;
}

void TpfgModifiedMemoryStream::SetSize(size_t size) {
  bytes_.resize(size);
  position_ = std::min(position_, size);
  modified_ = true;
}

void TpfgModifiedMemoryStream::LoadFromBytes(const uint8_t* data, size_t count) {
  bytes_.assign(data, data + count);
  position_ = 0;
  modified_ = true;
}

void TpfgModifiedMemoryStream::LoadFromStream(std::istream& stream) {
  bytes_.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  position_ = 0;
  modified_ = true;
}

void TpfgModifiedMemoryStream::Reset() {
  bytes_.clear();
  position_ = 0;
  modified_ = false;
}
