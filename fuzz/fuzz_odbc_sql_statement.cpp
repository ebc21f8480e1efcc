// libFuzzer target: any bytes as a statement for the ODBC drivers' SQL parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "odbc/driver_error.h"
#include "odbc/sql_statement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    ParseSqlStatement(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const DriverError&) {
  }
  return 0;
}
