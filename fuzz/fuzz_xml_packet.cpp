// libFuzzer target: any bytes as an XML data packet, read from a view and in place (the two must
// agree), walked through an index and written.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/exceptions.h"
#include "exchange/client_dataset.h"
#include "exchange/table_data.h"
#include "exchange/xml_packet_reader.h"
#include "exchange/xml_packet_writer.h"

namespace {

template <typename Bytes>
std::shared_ptr<TTableData> ReadOrNone(Bytes&& bytes) {
  try {
    return ReadDataPacket(std::forward<Bytes>(bytes), "fuzz.xml");
  } catch (const Exception&) {
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto table = ReadOrNone(bytes);
  const auto in_place = ReadOrNone(std::string(bytes));
  if (!table != !in_place) __builtin_trap();
  if (!table) return 0;
  if (in_place->RowCount() != table->RowCount() || in_place->ColumnCount() != table->ColumnCount()) __builtin_trap();
  try {
    const std::string written = DataPacketBytes(*table);
    const auto again = ReadDataPacket(written, "written.xml");
    if (again->RowCount() != table->RowCount() || again->ColumnCount() != table->ColumnCount()) __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
