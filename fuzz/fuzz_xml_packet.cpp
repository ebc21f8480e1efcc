// libFuzzer target: any bytes as an XML data packet, read, walked through an index and written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/exceptions.h"
#include "exchange/client_dataset.h"
#include "exchange/table_data.h"
#include "exchange/xml_packet_reader.h"
#include "exchange/xml_packet_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const auto table = ReadDataPacket(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xml");
    const std::string written(WriteDataPacket(*table).View());
    const auto again = ReadDataPacket(written, "written.xml");
    if (again->RowCount() != table->RowCount() || again->ColumnCount() != table->ColumnCount()) __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
