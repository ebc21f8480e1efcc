#include "core/text_buffer.h"

#include <algorithm>

void TTextBuffer::Grow(size_t size) {
  const size_t capacity = std::max({2 * capacity_, size_ + size, size_t{4096}});
  std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}
