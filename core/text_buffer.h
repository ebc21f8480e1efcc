// A text built a piece at a time: room is asked for up front and written through a pointer,
// without the buffer being cleared first or its size checked at every byte.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class TTextBuffer {
 public:
  // At least `size` writable bytes where the text ends; Commit then says how far they were written.
  char* Room(size_t size) {
    Reserve(size);
    return bytes_.get() + size_;
  }
  // Room for `size` more bytes from now on, asked for at once.
  void Reserve(size_t size) {
    if (size > capacity_ - size_) Grow(size);
  }
  // The text now ends at `end`, a place within the last room.
  void Commit(const char* end) { size_ = static_cast<size_t>(end - bytes_.get()); }
  void Append(std::string_view text) {
    if (text.empty()) return;
    std::memcpy(Room(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  std::string_view View() const { return {bytes_.get(), size_}; }
  // Empties the text and keeps the room.
  void Clear() { size_ = 0; }

 private:
  void Grow(size_t size);

  std::unique_ptr<char[]> bytes_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
