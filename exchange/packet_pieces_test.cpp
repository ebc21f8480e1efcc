#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exchange/exchange_errors.h"
#include "exchange/packet_row_pieces.h"
#include "exchange/table_data.h"
#include "exchange/xml_packet_reader.h"

namespace {

// Every cell of the table as text, row by row, nulls as "-".
std::vector<std::string> Cells(const TTableData& data) {
  std::vector<std::string> cells;
  for (int row = 0; row < data.RowCount(); ++row) {
    for (int column = 0; column < data.ColumnCount(); ++column) {
      if (data.IsNull(row, column)) {
        cells.emplace_back("-");
        continue;
      }
      switch (data.Column(column).Def.DataType) {
        case TFieldType::ftInteger:
          cells.push_back(std::to_string(data.Int(row, column)));
          break;
        case TFieldType::ftFloat:
        case TFieldType::ftDateTime:
          cells.push_back(std::to_string(data.Float(row, column)));
          break;
        case TFieldType::ftString:
          cells.emplace_back(data.Text(row, column));
          break;
      }
    }
  }
  return cells;
}

std::string ErrorOf(const std::string& bytes, size_t piece_size) {
  try {
    ReadDataPacket(std::string_view(bytes), "p.xml", piece_size);
  } catch (const EDataPacketError& error) {
    return error.what();
  }
  return "read";
}

const std::string kHead =
    "<?xml version=\"1.0\"?>\r\n<!-- exported -->\r\n<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"ID\" fieldtype=\"i4\"/><FIELD attrname=\"NAME\" fieldtype=\"string\" WIDTH=\"30\"/>"
    "<FIELD attrname=\"SUM\" fieldtype=\"r8\"/></FIELDS><PARAMS/></METADATA><ROWDATA Note=\"a > b\">\r\n";

// Rows among comments, instructions, CDATA, nested elements, quotes holding markup characters,
// line breaks inside tags and rows that are not current.
std::string MixedRows() {
  std::string rows;
  for (int i = 1; i <= 40; ++i) {
    const std::string id = std::to_string(i);
    rows += "  <ROW ID=\"" + id + "\" NAME='n&amp;" + id + " \"/>' SUM=\"" + id + ".25\"/>\r\n";
    if (i % 7 == 0) rows += "  <!-- <ROW ID=\"999\"/> -->\r\n  <?note <ROW?>\r\n";
    if (i % 9 == 0) rows += "  <ROW\r\n   ID=\"-" + id + "\"\r\n   RowState=\"2\"/>\r\n";
    if (i % 11 == 0) rows += "  <ROW ID=\"" + id + "0\"><Extra><ROW ID=\"998\"/></Extra></ROW>\r\n";
    if (i % 13 == 0) rows += "  <Other><![CDATA[<ROW ID=\"997\"/>]]></Other>\r\n";
  }
  return rows;
}

TEST(PacketPieces, EveryPieceSizeReadsTheRowsTheWholeParseReads) {
  const std::string packet = kHead + MixedRows() + "</ROWDATA >\r\n<!-- end --></DATAPACKET>\r\n";
  const std::vector<std::string> whole = Cells(*ReadDataPacket(std::string_view(packet), "p.xml", 0));
  ASSERT_EQ(whole.size(), 3u * 43u);  // 40 rows and 3 nested in Extra's parents, none of the others
  for (const size_t piece_size : {size_t{1}, size_t{7}, size_t{100}, size_t{1000}, kPacketPieceSize}) {
    const auto pieces = FindPacketRowPieces(packet, piece_size);
    ASSERT_TRUE(pieces) << piece_size;
    EXPECT_EQ(Cells(*ReadDataPacket(std::string_view(packet), "p.xml", piece_size)), whole) << piece_size;
  }
  EXPECT_GT(FindPacketRowPieces(packet, 1)->Pieces.size(), 40u);
  std::string parsed_in_place = packet;
  EXPECT_EQ(Cells(*ReadDataPacket(std::span<char>(parsed_in_place), "p.xml")), whole);
}

// Whatever the pieces, a packet fails with the first fault the whole parse finds: a fault of
// the markup before a value that does not convert, wherever the two lie.
TEST(PacketPieces, FaultsAreTheWholeParsesFaults) {
  const std::string bad_value = "<ROW ID=\"1x\"/>";
  const std::string bad_markup = "<ROW ID=\"2\"></ROX>";
  for (const std::string& packet :
       {kHead + MixedRows() + bad_value + MixedRows() + bad_markup + "</ROWDATA></DATAPACKET>",
        kHead + bad_value + MixedRows() + "</ROWDATA></DATAPACKET><junk/>",
        kHead + MixedRows() + bad_value + "</ROWDATA></DATAPACKET>",
        kHead + MixedRows() + "</ROWDATA></DATAPACKET", kHead + MixedRows() + "<!-- open",
        kHead + MixedRows() + "</ROWDATA><![CDATA[x</DATAPACKET>"}) {
    const std::string expected = ErrorOf(packet, 0);
    EXPECT_NE(expected, "read");
    for (const size_t piece_size : {size_t{1}, size_t{50}, kPacketPieceSize}) {
      EXPECT_EQ(ErrorOf(packet, piece_size), expected) << piece_size;
    }
  }
}

TEST(PacketPieces, PacketsOfAnotherShapeAreLeftToTheWholeParse) {
  EXPECT_FALSE(FindPacketRowPieces("<DATAPACKET><METADATA/><ROWDATA/></DATAPACKET>", 1));
  EXPECT_FALSE(FindPacketRowPieces("<TABLE><ROWDATA></ROWDATA></TABLE>", 1));
  EXPECT_FALSE(FindPacketRowPieces("<DATAPACKET><X><ROWDATA></ROWDATA></X></DATAPACKET>", 1));
  EXPECT_FALSE(FindPacketRowPieces("<DATAPACKET><ROWDATA><ROW ID=\"1/></ROWDATA></DATAPACKET>", 1));
  EXPECT_FALSE(FindPacketRowPieces("<DATAPACKET><ROWDATA><ROW/></X></DATAPACKET>", 1));
  EXPECT_FALSE(FindPacketRowPieces("<!DOCTYPE x><DATAPACKET><ROWDATA></ROWDATA></DATAPACKET>", 1));
  const auto found = FindPacketRowPieces("<DATAPACKET><ROWDATA><ROW/><ROW/></ROWDATA></DATAPACKET>", 1);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Head, "<DATAPACKET><ROWDATA>");
  EXPECT_EQ(found->Pieces, (std::vector<std::string_view>{"<ROW/>", "<ROW/>"}));
  EXPECT_EQ(found->Tail, "</ROWDATA></DATAPACKET>");
}

}  // namespace
