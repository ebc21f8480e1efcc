// libFuzzer target: any bytes as an XML data packet, read whole from a view, in pieces of a few
// bytes and in place (the three must agree cell by cell), walked through an index and written.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "core/exceptions.h"
#include "exchange/client_dataset.h"
#include "exchange/table_data.h"
#include "exchange/xml_packet_reader.h"
#include "exchange/xml_packet_writer.h"

namespace {

template <typename Bytes, typename... Rest>
std::shared_ptr<TTableData> ReadOrNone(Bytes&& bytes, Rest... rest) {
  try {
    return ReadDataPacket(std::forward<Bytes>(bytes), "fuzz.xml", rest...);
  } catch (const Exception&) {
    return nullptr;
  }
}

bool SameCells(const TTableData& a, const TTableData& b) {
  if (a.RowCount() != b.RowCount() || a.ColumnCount() != b.ColumnCount()) return false;
  for (int column = 0; column < a.ColumnCount(); ++column) {
    if (a.Column(column).Def.Name != b.Column(column).Def.Name) return false;
    for (int row = 0; row < a.RowCount(); ++row) {
      if (a.IsNull(row, column) != b.IsNull(row, column)) return false;
      if (a.IsNull(row, column)) continue;
      switch (a.Column(column).Def.DataType) {
        case TFieldType::ftInteger:
          if (a.Int(row, column) != b.Int(row, column)) return false;
          break;
        case TFieldType::ftFloat:
        case TFieldType::ftDateTime: {
          const double x = a.Float(row, column);
          const double y = b.Float(row, column);
          if (std::memcmp(&x, &y, sizeof x) != 0) return false;
          break;
        }
        case TFieldType::ftString:
          if (a.Text(row, column) != b.Text(row, column)) return false;
          break;
      }
    }
  }
  return true;
}

bool Agree(const std::shared_ptr<TTableData>& a, const std::shared_ptr<TTableData>& b) {
  if (!a || !b) return !a == !b;
  return SameCells(*a, *b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto whole = ReadOrNone(bytes, size_t{0});
  const auto pieces = ReadOrNone(bytes, size_t{16});
  std::string copy(bytes);
  const auto in_place = ReadOrNone(std::span<char>(copy));
  if (!Agree(whole, pieces) || !Agree(whole, in_place)) __builtin_trap();
  if (!whole) return 0;
  try {
    const std::string written = DataPacketBytes(*whole);
    const auto again = ReadDataPacket(written, "written.xml");
    if (again->RowCount() != whole->RowCount() || again->ColumnCount() != whole->ColumnCount()) __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
