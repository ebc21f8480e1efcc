// Fuzz target: the home's INI text parser must reject garbage with EHotSyncFileError, never crash;
// whatever it accepts formats and parses back to the same sections.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hotsync/host_errors.h"
#include "hotsync/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto sections = ParseIniText(text, "fuzz.ini");
    const auto again = ParseIniText(FormatIniText(sections), "fuzz.ini");
    if (again.size() != sections.size()) std::abort();
    for (size_t i = 0; i < sections.size(); ++i) {
      if (again[i].Name != sections[i].Name || again[i].Values != sections[i].Values) std::abort();
    }
  } catch (const EHotSyncFileError&) {
  } catch (const EHotSyncRequestError&) {
  }
  return 0;
}
