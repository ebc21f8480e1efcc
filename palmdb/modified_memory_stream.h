// TpfgModifiedMemoryStream: a memory stream that remembers whether it was written, resized or
// loaded since the flag was last cleared (the application info block of a handheld table).
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <vector>

class TpfgModifiedMemoryStream {
 public:
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return position_; }
  void Seek(size_t position) { position_ = position; }

  // Copies up to `count` bytes from the position on; returns how many were copied.
  size_t Read(void* data, size_t count);
  // Writes at the position, growing the stream as needed.
  void Write(const void* data, size_t count);
  void SetSize(size_t size);
  // Replaces the contents with the bytes (or the stream's remaining bytes); position 0.
  void LoadFromBytes(const uint8_t* data, size_t count);
  void LoadFromStream(std::istream& stream);

  bool Modified() const { return modified_; }
  // Empties the stream and clears the modified flag.
  void Reset();

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
  bool modified_ = false;
};
