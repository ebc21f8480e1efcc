// libFuzzer target: any bytes as a .dbf file, read whole by the dBase driver's table reader and,
// when it reads, grown by one empty record and read again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "odbc/dbase_append.h"
#include "odbc/dbase_table.h"
#include "odbc/driver_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("fuzz_dbase_table." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "Input.DBF").string();
  }();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    ReadDbaseTable(path);
    const std::vector<DbaseField> fields = ReadDbaseFields(path);
    AppendDbaseRecords(path, fields, {std::vector<Value>(fields.size())}, false);
    ReadDbaseTable(path);
  } catch (const DriverError&) {
  }
  return 0;
}
