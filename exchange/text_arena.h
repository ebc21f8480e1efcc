// TTextArena: room for many texts that live as long as the arena, taken from large blocks so a
// text costs no allocation of its own; what was taken never moves.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class TTextArena {
 public:
  // `size` bytes of room, the caller's to fill.
  char* Take(size_t size);
  void Clear();

 private:
  static constexpr size_t kBlockSize = size_t{1} << 20;

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t left_ = 0;  // room left at the end of the last block
  char* next_ = nullptr;
};
