// Fuzz target: any file name found in a device or exchange directory is either a temporary name
// with a positive writer ID that its own maker gives back, or not one; never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/temporary_file_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  const std::optional<pid_t> writer = TemporaryFileWriter(name);
  if (!writer) return 0;
  if (*writer <= 0) std::abort();
  const std::string stem(name.substr(0, name.rfind(".tmp-")));
  if (stem.empty() || std::to_string(*writer) != name.substr(stem.size() + 5)) std::abort();
  return 0;
}
