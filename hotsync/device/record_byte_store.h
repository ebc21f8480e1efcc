// Where a database held in memory keeps the bytes of the records written to it: chunks that
// never move, so each record views its bytes there and a write costs no allocation of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class RecordByteStore {
 public:
  // A copy of the bytes, valid as long as the store.
  std::string_view Keep(std::string_view bytes);

 private:
  std::vector<std::unique_ptr<char[]>> chunks_;
  size_t used_ = 0;  // bytes taken from the last chunk
  size_t room_ = 0;  // the last chunk's size
  size_t next_room_ = 64 << 10;
};
