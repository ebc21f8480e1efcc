// libFuzzer target: any bytes given to the .pdb reader either parse, and then write out and
// parse again to the same records, or fail with EPdbFormatError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hotsync/device/pdb_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PdbDatabase database;
  try {
    database = ParsePdb(bytes, "fuzz.pdb");
  } catch (const EPdbFormatError&) {
    return 0;
  }
  if (database.name.size() >= kPdbNameSize) return 0;
  const PdbDatabase again = ParsePdb(SerializePdb(database), "again.pdb");
  if (again.records.size() != database.records.size() || again.app_info != database.app_info) std::abort();
  for (size_t i = 0; i < again.records.size(); ++i)
    if (again.records[i].data != database.records[i].data ||
        again.records[i].unique_id != database.records[i].unique_id)
      std::abort();
  return 0;
}
