// Any bytes parse as a settings file; a written key reads back and leaves the other keys alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "session/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto before = FindProfileValue(text, "COMMON", "STOPFILENAME");
  FindProfileValue(text, "COMMON", "EXCHANGEFILEFORMAT");
  const std::string written = SetProfileValue(text, "COMMON", "STARTFILENAME", "/opt/x y");
  if (FindProfileValue(written, "COMMON", "STARTFILENAME") != "/opt/x y") std::abort();
  if (FindProfileValue(written, "COMMON", "STOPFILENAME") != before) std::abort();
  return 0;
}
