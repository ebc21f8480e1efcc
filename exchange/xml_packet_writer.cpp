#include "exchange/xml_packet_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "core/float_format.h"
#include "core/text_buffer.h"
#include "exchange/exchange_errors.h"
#include "exchange/packet_values.h"
#include "exchange/table_data.h"

namespace {

// A packet goes out in pieces of this size, so a large one never sits in memory whole.
constexpr size_t kPieceSize = 1 << 20;

// Day numbers of 1 January 0001 and of 1 January 10000.
constexpr double kFirstDay = -693593.0;
constexpr double kPastLastDay = 2958466.0;

bool IsNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-'; }

void CheckAttributeName(const std::string& name) {
  const bool valid = !name.empty() && IsNameStart(name[0]) && name != "RowState" &&
                     std::all_of(name.begin(), name.end(), [](char c) { return IsNameChar(c); });
  if (!valid) throw EDatabaseError("Field name '" + name + "' cannot be written to an XML data packet");
}

const char* FieldTypeName(TFieldType type) {
  switch (type) {
    case TFieldType::ftInteger:
      return "i4";
    case TFieldType::ftFloat:
      return "r8";
    case TFieldType::ftDateTime:
      return "dateTime";
    case TFieldType::ftString:
      break;
  }
  return "string";
}

int PacketWidth(const TTableData& data, int column) {
  const TColumn& target = data.Column(column);
  if (target.Def.Size > 0) return target.Def.Size;
  size_t longest = 1;
  for (const TTextSpan& text : target.Texts) longest = std::max<size_t>(longest, text.Size);
  return static_cast<int>(longest);
}

// Writes the text of one value, after the attribute's start, and its closing quote.
void WriteAttribute(TTextBuffer& out, std::string_view start, const TTableData& data, int row, int column) {
  const TColumn& target = data.Column(column);
  const bool text = target.Def.DataType == TFieldType::ftString;
  const std::string_view value = text ? target.Text(row) : std::string_view();
  const size_t value_room = text ? value.size() * kEscapedRoomPerChar : std::max(kFloatTextRoom, kPacketDateTimeRoom);
  char* at = out.Room(start.size() + value_room + 1);
  std::memcpy(at, start.data(), start.size());
  at += start.size();
  switch (target.Def.DataType) {
    case TFieldType::ftInteger:
      at = std::to_chars(at, at + value_room, target.Ints[row]).ptr;
      break;
    case TFieldType::ftFloat:
      at = WritePacketFloat(at, target.Floats[row]);
      if (at == nullptr) throw EDatabaseError("Field '" + target.Def.Name + "' holds a number without a packet form");
      break;
    case TFieldType::ftDateTime: {
      const double date = target.Floats[row];
      if (!(date >= kFirstDay && date < kPastLastDay)) {
        throw EDatabaseError("Field '" + target.Def.Name + "' holds an invalid date-time");
      }
      at = WritePacketDateTime(at, TDateTime{date});
      break;
    }
    case TFieldType::ftString:
      at = WriteEscaped(at, value);
      break;
  }
  *at++ = '"';
  out.Commit(at);
}

void AppendEscaped(TTextBuffer& out, std::string_view text) {
  out.Commit(WriteEscaped(out.Room(text.size() * kEscapedRoomPerChar), text));
}

}  // namespace

void WriteDataPacket(const TTableData& data, const std::function<void(std::string_view)>& write) {
  TTextBuffer out;
  out.Append("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
  for (int column = 0; column < data.ColumnCount(); ++column) {
    const TFieldDef& def = data.Column(column).Def;
    CheckAttributeName(def.Name);
    out.Append("<FIELD attrname=\"");
    AppendEscaped(out, def.Name);
    out.Append("\" fieldtype=\"");
    out.Append(FieldTypeName(def.DataType));
    out.Append("\"");
    if (def.DataType == TFieldType::ftString)
      out.Append(" WIDTH=\"" + std::to_string(PacketWidth(data, column)) + "\"");
    out.Append("/>");
  }
  out.Append("</FIELDS><PARAMS");
  // The change log names every appended row: "row 0 4" each, written a piece at a time.
  bool logged = false;
  for (int row = 0; row < data.RowCount(); ++row) {
    if (!data.Inserted(row)) continue;
    out.Append(logged ? std::string_view(" ") : std::string_view(" CHANGE_LOG=\""));
    logged = true;
    char* at = out.Room(16);
    at = std::to_chars(at, at + 11, row + 1).ptr;
    std::memcpy(at, " 0 4", 4);
    out.Commit(at + 4);
    if (out.View().size() >= kPieceSize) {
      write(out.View());
      out.Clear();
    }
  }
  if (logged) out.Append("\"");
  out.Append("/></METADATA><ROWDATA>");
  // What goes before each value: a blank, the attribute's name, '=' and the opening quote.
  std::vector<std::string> attribute_starts;
  size_t row_size = 32;
  for (int column = 0; column < data.ColumnCount(); ++column) {
    attribute_starts.push_back(" " + data.Column(column).Def.Name + "=\"");
    row_size += attribute_starts.back().size() + 12;
  }
  // Room for the rows of a piece up front; longer texts grow it as they come.
  out.Reserve(std::min(static_cast<size_t>(data.RowCount()) * row_size + 32, kPieceSize));
  for (int row = 0; row < data.RowCount(); ++row) {
    out.Append(data.Inserted(row) ? std::string_view("<ROW RowState=\"4\"") : std::string_view("<ROW"));
    for (int column = 0; column < data.ColumnCount(); ++column) {
      if (!data.IsNull(row, column)) WriteAttribute(out, attribute_starts[column], data, row, column);
    }
    out.Append("/>");
    if (out.View().size() >= kPieceSize) {
      write(out.View());
      out.Clear();
    }
  }
  out.Append("</ROWDATA></DATAPACKET>");
  write(out.View());
}

std::string DataPacketBytes(const TTableData& data) {
  std::string bytes;
  WriteDataPacket(data, [&bytes](std::string_view piece) { bytes += piece; });
  return bytes;
}
