// Fuzz target: any bytes as a semicolon file of handheld records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/semicolon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TSemicolonFile file = ParseSemicolonFile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    for (const TSemicolonRow& row : file.rows) {
      if (row.values.size() != file.header.size()) __builtin_trap();
    }
  } catch (const ESemicolonFileError&) {
  }
  return 0;
}
