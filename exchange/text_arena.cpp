#include "exchange/text_arena.h"

char* TTextArena::Take(size_t size) {
  if (size > left_) {
    // A text larger than a block gets a block of its own.
    const size_t block = size > kBlockSize ? size : kBlockSize;
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
    next_ = blocks_.back().get();
    left_ = block;
  }
  char* room = next_;
  next_ += size;
  left_ -= size;
  return room;
}

void TTextArena::Clear() {
  blocks_.clear();
  left_ = 0;
  next_ = nullptr;
}
