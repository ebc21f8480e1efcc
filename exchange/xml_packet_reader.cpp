#include "exchange/xml_packet_reader.h"

#include <pugixml.hpp>

#include <climits>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/collation.h"
#include "exchange/exchange_errors.h"
#include "exchange/packet_row_pieces.h"
#include "exchange/packet_values.h"
#include "exchange/table_data.h"

namespace {

// Standard entities and character references are undone by Unescape, so that a reference above
// 127 becomes a Windows-1251 byte and every other byte stays as it is (no encoding conversion).
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol;

struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};

using TColumnMap = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;

class TPacketReader {
 public:
  explicit TPacketReader(const std::string& file) : file_(file) {}

  std::shared_ptr<TTableData> Read(std::string_view bytes) {
    pugi::xml_document document;
    return ReadDocument(document, document.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_utf8));
  }

  // The same over the caller's bytes, which the parse changes instead of copying them first.
  std::shared_ptr<TTableData> ReadInPlace(std::span<char> bytes) {
    pugi::xml_document document;
    return ReadDocument(document,
                        document.load_buffer_inplace(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_utf8));
  }

  // The packet's outline (all but the rows) parsed whole, then the rows a piece at a time, so
  // that only one piece's nodes are held at once. None when the packet has no plain shape or
  // anything in it fails: the whole parse then finds the same rows, or the first fault in order.
  std::optional<std::shared_ptr<TTableData>> ReadInPieces(std::string_view bytes, size_t piece_size) {
    const std::optional<TPacketRowPieces> found = FindPacketRowPieces(bytes, piece_size);
    if (!found) return std::nullopt;
    std::string outline;
    outline.reserve(found->Head.size() + found->Tail.size());
    outline.append(found->Head).append(found->Tail);
    pugi::xml_document document;
    if (!document.load_buffer_inplace(outline.data(), outline.size(), kParseOptions, pugi::encoding_utf8)) {
      return std::nullopt;
    }
    try {
      std::shared_ptr<TTableData> data = StartTable(document, found->RowTags);
      pugi::xml_document piece_document;
      int row_number = 0;
      for (const std::string_view piece : found->Pieces) {
        if (!piece_document.load_buffer(piece.data(), piece.size(), kParseOptions | pugi::parse_fragment,
                                        pugi::encoding_utf8)) {
          return std::nullopt;
        }
        for (const pugi::xml_node row : piece_document.children("ROW")) ReadRow(row, ++row_number, *data);
      }
      return data;
    } catch (const EDataPacketError&) {
      return std::nullopt;
    }
  }

 private:
  std::shared_ptr<TTableData> ReadDocument(const pugi::xml_document& document, const pugi::xml_parse_result& parsed) {
    if (!parsed) {
      Fail("not an XML file (" + std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset) + ")");
    }
    const pugi::xml_node rows = document.document_element().child("ROWDATA");
    const auto all_rows = rows.children("ROW");
    std::shared_ptr<TTableData> data =
        StartTable(document, static_cast<size_t>(std::distance(all_rows.begin(), all_rows.end())));
    int row_number = 0;
    for (const pugi::xml_node row : rows.children("ROW")) ReadRow(row, ++row_number, *data);
    return data;
  }

  // The table of the packet's columns, with room for that many rows.
  std::shared_ptr<TTableData> StartTable(const pugi::xml_document& document, size_t rows) {
    const pugi::xml_node packet = document.document_element();
    if (std::strcmp(packet.name(), "DATAPACKET") != 0) Fail("not a data packet (no DATAPACKET element)");
    const pugi::xml_node fields = packet.child("METADATA").child("FIELDS");
    if (!fields) Fail("not a data packet (no METADATA/FIELDS element)");

    std::vector<TFieldDef> defs = ReadFieldDefs(fields);
    auto data = std::make_shared<TTableData>(defs);
    columns_.clear();
    for (size_t i = 0; i < defs.size(); ++i) columns_.emplace(defs[i].Name, static_cast<int>(i));
    data->ReserveRows(static_cast<int>(std::min<size_t>(rows, INT_MAX)));
    return data;
  }

  [[noreturn]] void Fail(const std::string& what) const { throw EDataPacketError(file_ + ": " + what); }

  std::string Text(const char* raw, const std::string& where) const {
    std::optional<std::string> text = Unescape(raw);
    if (!text) Fail(where + ": malformed entity or character reference in '" + std::string(raw) + "'");
    return std::move(*text);
  }

  std::vector<TFieldDef> ReadFieldDefs(const pugi::xml_node fields) const {
    std::vector<TFieldDef> defs;
    std::unordered_set<std::string> upper_names;
    for (const pugi::xml_node field : fields.children("FIELD")) {
      const std::string where = "FIELD " + std::to_string(defs.size() + 1);
      TFieldDef def;
      def.Name = Text(field.attribute("attrname").value(), where);
      if (def.Name.empty()) Fail(where + " has no attrname");
      if (!upper_names.insert(AnsiUpperCase(def.Name)).second) Fail("field '" + def.Name + "' is defined twice");
      def.DataType = TypeOf(field.attribute("fieldtype").value());
      if (def.DataType == TFieldType::ftString) def.Size = WidthOf(field, def.Name);
      defs.push_back(std::move(def));
    }
    if (defs.empty()) Fail("not a data packet (no FIELD definitions)");
    return defs;
  }

  static TFieldType TypeOf(std::string_view type) {
    for (const char* name : {"i1", "i2", "i4", "ui1", "ui2"}) {
      if (type == name) return TFieldType::ftInteger;
    }
    for (const char* name : {"r8", "r4", "i8", "ui4", "fixed", "fixedFMT"}) {
      if (type == name) return TFieldType::ftFloat;
    }
    for (const char* name : {"dateTime", "date", "time", "SQLdateTime"}) {
      if (type == name) return TFieldType::ftDateTime;
    }
    return TFieldType::ftString;
  }

  int WidthOf(const pugi::xml_node field, const std::string& name) const {
    const pugi::xml_attribute width = field.attribute("WIDTH");
    if (!width) return 0;
    const std::optional<int32_t> value = ParsePacketInteger(width.value());
    if (!value || *value < 1) Fail("field '" + name + "' has an invalid WIDTH '" + width.value() + "'");
    return *value;
  }

  // A row without RowState is current; one whose state marks it deleted or replaced is not.
  bool IsCurrentState(const char* state, int row_number) const {
    if (state == nullptr) return true;
    const std::optional<int32_t> value = ParsePacketInteger(state);
    if (!value) Fail("ROW " + std::to_string(row_number) + " has an invalid RowState '" + state + "'");
    return (*value & 3) == 0;
  }

  // One pass over the row's attributes finds its state (the first RowState) and the values of
  // known columns; a current row then takes the values.
  void ReadRow(const pugi::xml_node row, int row_number, TTableData& data) {
    row_values_.clear();
    const char* state = nullptr;
    size_t position = 0;
    for (const pugi::xml_attribute attribute : row.attributes()) {
      const char* name = attribute.name();
      if (state == nullptr && name[0] == 'R' && std::strcmp(name, "RowState") == 0) state = attribute.value();
      const int column = ColumnAt(position++, name, data);
      if (column >= 0) row_values_.emplace_back(column, attribute.value());
    }
    if (!IsCurrentState(state, row_number)) return;
    const int target = data.AddRow(false);
    for (const auto& [column, raw] : row_values_) {
      const TFieldDef& def = data.Column(column).Def;
      const std::optional<std::string_view> text = UnescapeView(raw, scratch_);
      if (!text) FailValue(row_number, def, "malformed entity or character reference", raw);
      if (def.DataType == TFieldType::ftString) {
        data.SetText(target, column, *text);
        continue;
      }
      if (text->empty()) continue;
      if (!StoreValue(data, target, column, *text)) {
        FailValue(row_number, def, "not a valid " + std::string(TypeName(def.DataType)) + " value", *text);
      }
    }
  }

  // Whether an attribute's name is the field's name, compared as it is read: the common match
  // costs no length count first.
  static bool IsName(const std::string& field, const char* name) {
    for (size_t i = 0; i < field.size(); ++i) {
      if (name[i] == '\0' || name[i] != field[i]) return false;
    }
    return name[field.size()] == '\0';
  }

  // The column of the attribute at this position of a row, or -1 when it names none. Rows
  // usually list their attributes in one order, so the column found at the same position of
  // the row before is tried first.
  int ColumnAt(size_t position, const char* name, const TTableData& data) {
    if (position < columns_by_position_.size()) {
      const int known = columns_by_position_[position];
      if (known >= 0 && IsName(data.Column(known).Def.Name, name)) return known;
    } else {
      columns_by_position_.resize(position + 1, -1);
    }
    const auto found = columns_.find(std::string_view(name));
    const int column = found == columns_.end() ? -1 : found->second;
    columns_by_position_[position] = column;
    return column;
  }

  static bool StoreValue(TTableData& data, int row, int column, std::string_view text) {
    switch (data.Column(column).Def.DataType) {
      case TFieldType::ftInteger:
        if (const std::optional<int32_t> value = ParsePacketInteger(text)) {
          data.SetInt(row, column, *value);
          return true;
        }
        return false;
      case TFieldType::ftFloat:
        if (const std::optional<double> value = ParsePacketFloat(text)) {
          data.SetFloat(row, column, *value);
          return true;
        }
        return false;
      case TFieldType::ftDateTime:
        if (const std::optional<TDateTime> value = ParsePacketDateTime(text)) {
          data.SetFloat(row, column, value->Value);
          return true;
        }
        return false;
      case TFieldType::ftString:
        break;
    }
    data.SetText(row, column, text);
    return true;
  }

  static const char* TypeName(TFieldType type) {
    switch (type) {
      case TFieldType::ftInteger:
        return "integer";
      case TFieldType::ftFloat:
        return "number";
      case TFieldType::ftDateTime:
        return "date-time";
      case TFieldType::ftString:
        break;
    }
    return "text";
  }

  [[noreturn]] void FailValue(int row_number, const TFieldDef& def, const std::string& what,
                              std::string_view text) const {
    Fail("ROW " + std::to_string(row_number) + ", field '" + def.Name + "': " + what + ": '" + std::string(text) + "'");
  }

  const std::string& file_;
  TColumnMap columns_;                                   // the columns by name
  std::string scratch_;                                  // the last value whose references were undone
  std::vector<int> columns_by_position_;                 // the column of each attribute position of the row before
  std::vector<std::pair<int, const char*>> row_values_;  // the row's known columns and their raw values
};

}  // namespace

std::shared_ptr<TTableData> ReadDataPacket(std::string_view bytes, const std::string& file, size_t piece_size) {
  if (piece_size > 0 && bytes.find('\0') == std::string_view::npos) {
    if (auto data = TPacketReader(file).ReadInPieces(bytes, piece_size)) return std::move(*data);
  }
  return TPacketReader(file).Read(bytes);
}

std::shared_ptr<TTableData> ReadDataPacket(std::span<char> bytes, const std::string& file) {
  const std::string_view view(bytes.data(), bytes.size());
  // A parse takes the first zero byte for the end of its buffer, where the copying whole parse
  // finds the document cut short: bytes holding one take that road.
  if (view.find('\0') != std::string_view::npos) return TPacketReader(file).Read(view);
  if (auto data = TPacketReader(file).ReadInPieces(view, kPacketPieceSize)) return std::move(*data);
  return TPacketReader(file).ReadInPlace(bytes);
}
