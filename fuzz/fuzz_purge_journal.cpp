// libFuzzer target: any bytes as a purge journal. A journal either reads, and then writes back
// to the same bytes' meaning, or is refused as damaged; nothing else escapes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "import/purge_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::vector<TJournalEntry> entries = ParsePurgeJournal(bytes);
    if (ParsePurgeJournal(FormatPurgeJournal(entries)) != entries) std::abort();
  } catch (const EPurgeJournalDamaged&) {
  }
  return 0;
}
