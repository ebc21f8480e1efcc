#include "exchange/xml_packet_writer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text_conversions.h"
#include "exchange/exchange_errors.h"
#include "exchange/packet_values.h"
#include "exchange/table_data.h"

namespace {

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
  for (const TTextSpan& text : target.Texts) longest = std::max(longest, text.Size);
  return static_cast<int>(longest);
}

void AppendValue(std::string& out, const TTableData& data, int row, int column) {
  const TColumn& target = data.Column(column);
  switch (target.Def.DataType) {
    case TFieldType::ftInteger:
      AppendInteger(out, target.Ints[row]);
      return;
    case TFieldType::ftFloat: {
      if (!AppendPacketFloat(out, target.Floats[row])) {
        throw EDatabaseError("Field '" + target.Def.Name + "' holds a number without a packet form");
      }
      return;
    }
    case TFieldType::ftDateTime: {
      const double value = target.Floats[row];
      if (!(value >= kFirstDay && value < kPastLastDay)) {
        throw EDatabaseError("Field '" + target.Def.Name + "' holds an invalid date-time");
      }
      AppendPacketDateTime(out, TDateTime{value});
      return;
    }
    case TFieldType::ftString:
      AppendEscaped(out, target.Text(row));
      return;
  }
}

}  // namespace

std::string WriteDataPacket(const TTableData& data) {
  std::string out = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
  for (int column = 0; column < data.ColumnCount(); ++column) {
    const TFieldDef& def = data.Column(column).Def;
    CheckAttributeName(def.Name);
    out += "<FIELD attrname=\"";
    AppendEscaped(out, def.Name);
    out += "\" fieldtype=\"";
    out += FieldTypeName(def.DataType);
    out += '"';
    if (def.DataType == TFieldType::ftString) out += " WIDTH=\"" + std::to_string(PacketWidth(data, column)) + "\"";
    out += "/>";
  }
  out += "</FIELDS><PARAMS";
  std::string change_log;
  for (int row = 0; row < data.RowCount(); ++row) {
    if (!data.Inserted(row)) continue;
    if (!change_log.empty()) change_log += ' ';
    AppendInteger(change_log, row + 1);
    change_log += " 0 4";
  }
  if (!change_log.empty()) out += " CHANGE_LOG=\"" + change_log + "\"";
  out += "/></METADATA><ROWDATA>";
  // What goes before each value: a blank, the attribute's name, '=' and the opening quote.
  std::vector<std::string> attribute_starts;
  size_t row_size = 32;
  for (int column = 0; column < data.ColumnCount(); ++column) {
    attribute_starts.push_back(" " + data.Column(column).Def.Name + "=\"");
    row_size += attribute_starts.back().size() + 12;
  }
  // Room for rows of typical values up front; longer texts grow it as they come.
  out.reserve(out.size() + static_cast<size_t>(data.RowCount()) * row_size + 32);
  for (int row = 0; row < data.RowCount(); ++row) {
    out += data.Inserted(row) ? std::string_view("<ROW RowState=\"4\"") : std::string_view("<ROW");
    for (int column = 0; column < data.ColumnCount(); ++column) {
      if (data.IsNull(row, column)) continue;
      out += attribute_starts[column];
      AppendValue(out, data, row, column);
      out += '"';
    }
    out += "/>";
  }
  out += "</ROWDATA></DATAPACKET>";
  return out;
}
