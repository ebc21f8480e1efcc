#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "exchange/client_dataset.h"
#include "exchange/exchange_errors.h"
#include "test_support/scratch_directory.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" standalone=\"yes\"?>  ";

class XmlPacketTest : public ::testing::Test {
 protected:
  void CreateIdName() {
    table_.FieldDefs().Add("ID", TFieldType::ftInteger);
    table_.FieldDefs().Add("NAME", TFieldType::ftString, 20);
    table_.CreateDataSet();
  }

  std::string LoadError(const std::string& bytes) {
    dir_.Write("Bad.xml", bytes);
    try {
      table_.LoadFromFile(dir_.Path("Bad.xml"));
    } catch (const EDataPacketError& error) {
      return error.what();
    }
    return "loaded";
  }

  TScratchDirectory dir_;
  TClientDataSet table_;
};

TEST_F(XmlPacketTest, OneRowPacketIsWrittenByteForByte) {
  CreateIdName();
  table_.Append();
  table_.FieldByName("ID").SetAsInteger(1);
  table_.FieldByName("NAME").SetAsString("abc");
  table_.Post();
  table_.SaveToFile(dir_.Path("Order.xml"));
  EXPECT_EQ(dir_.Read("Order.xml"), kDeclaration +
                                        "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                                        "<FIELD attrname=\"ID\" fieldtype=\"i4\"/>"
                                        "<FIELD attrname=\"NAME\" fieldtype=\"string\" WIDTH=\"20\"/>"
                                        "</FIELDS><PARAMS CHANGE_LOG=\"1 0 4\"/></METADATA>"
                                        "<ROWDATA><ROW RowState=\"4\" ID=\"1\" NAME=\"abc\"/></ROWDATA></DATAPACKET>");
}

TEST_F(XmlPacketTest, EmptyTableHasNoChangeLogAndEmptyRowData) {
  CreateIdName();
  EXPECT_EQ(table_.XmlPacket(), kDeclaration +
                                    "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                                    "<FIELD attrname=\"ID\" fieldtype=\"i4\"/>"
                                    "<FIELD attrname=\"NAME\" fieldtype=\"string\" WIDTH=\"20\"/>"
                                    "</FIELDS><PARAMS/></METADATA><ROWDATA></ROWDATA></DATAPACKET>");
}

TEST_F(XmlPacketTest, RowsCarryTheirValuesNullsAndEscapes) {
  const TFormatSettings saved = CurrentFormats();
  TFormatSettings comma = saved;
  comma.DecimalSeparator = ',';
  SetCurrentFormats(comma);
  table_.FieldDefs().Add("ID", TFieldType::ftInteger);
  table_.FieldDefs().Add("TOTAL", TFieldType::ftFloat);
  table_.FieldDefs().Add("ORDERDATE", TFieldType::ftDateTime);
  table_.FieldDefs().Add("NOTE", TFieldType::ftString, 200);
  table_.CreateDataSet();
  table_.Append();
  table_.FieldByName("ID").SetAsInteger(-7);
  table_.FieldByName("TOTAL").SetAsFloat(12.5);
  table_.FieldByName("ORDERDATE").SetAsDateTime(EncodeDate(2005, 12, 31));
  table_.FieldByName("NOTE").SetAsString("a<b&\"c\"");
  table_.Append();
  table_.FieldByName("TOTAL").SetAsFloat(1.0 / 3.0);
  table_.FieldByName("ORDERDATE")
      .SetAsDateTime(TDateTime{EncodeDate(2005, 12, 31).Value + EncodeTime(14, 5, 7, 250).Value});
  table_.FieldByName("NOTE").SetAsString("");
  table_.Append();
  table_.FieldByName("NOTE").SetAsString("c:\\x\r\n\t'>");
  table_.Post();
  const std::string packet = table_.XmlPacket();
  SetCurrentFormats(saved);

  const std::string rows = packet.substr(packet.find("<ROWDATA>"));
  EXPECT_EQ(rows,
            "<ROWDATA>"
            "<ROW RowState=\"4\" ID=\"-7\" TOTAL=\"12.5\" ORDERDATE=\"20051231\" NOTE=\"a&lt;b&amp;&quot;c&quot;\"/>"
            "<ROW RowState=\"4\" TOTAL=\"0.3333333333333333\" ORDERDATE=\"20051231T14:05:07250\" NOTE=\"\"/>"
            "<ROW RowState=\"4\" NOTE=\"c:&#092;x&#013;&#010;&#009;&apos;&gt;\"/>"
            "</ROWDATA></DATAPACKET>");
  EXPECT_NE(packet.find("<PARAMS CHANGE_LOG=\"1 0 4 2 0 4 3 0 4\"/>"), std::string::npos);
  EXPECT_NE(packet.find("<FIELD attrname=\"TOTAL\" fieldtype=\"r8\"/><FIELD attrname=\"ORDERDATE\" "
                        "fieldtype=\"dateTime\"/>"),
            std::string::npos);
}

TEST_F(XmlPacketTest, WrittenPacketReadsBackTheSame) {
  table_.FieldDefs().Add("ID", TFieldType::ftInteger);
  table_.FieldDefs().Add("F", TFieldType::ftFloat);
  table_.FieldDefs().Add("D", TFieldType::ftDateTime);
  table_.FieldDefs().Add("S", TFieldType::ftString, 30);
  table_.CreateDataSet();
  const TDateTime when{EncodeDate(2024, 2, 29).Value + EncodeTime(23, 59, 58, 999).Value};
  const std::string text = Ansi("Сок «Яблоко» ") + "a<b&\"c\"\\\r\n";
  table_.Append();
  table_.FieldByName("ID").SetAsInteger(2147483647);
  table_.FieldByName("F").SetAsFloat(-1.0 / 7.0);
  table_.FieldByName("D").SetAsDateTime(when);
  table_.FieldByName("S").SetAsString(text);
  table_.Append();
  table_.Post();
  table_.SaveToFile(dir_.Path("Back.XML"));

  TClientDataSet loaded;
  loaded.LoadFromFile(dir_.Path("Back.XML"));
  ASSERT_EQ(loaded.RecordCount(), 2);
  EXPECT_EQ(loaded.FieldDefs()[3].Size, 30);
  EXPECT_EQ(loaded.FieldByName("id").AsInteger(), 2147483647);
  EXPECT_DOUBLE_EQ(loaded.FieldByName("F").AsFloat(), -1.0 / 7.0);
  EXPECT_NEAR(loaded.FieldByName("D").AsDateTime().Value, when.Value, 1e-9);
  EXPECT_EQ(loaded.FieldByName("S").AsString(), text);
  loaded.Next();
  EXPECT_TRUE(loaded.FieldByName("ID").IsNull());
  EXPECT_TRUE(loaded.FieldByName("S").IsNull());
}

// Its change log alone passes the megabyte in which a packet is written.
TEST_F(XmlPacketTest, APacketOfManyMegabytesIsWrittenWhole) {
  CreateIdName();
  const int rows = 120000;
  for (int id = 1; id <= rows; ++id) {
    table_.Append();
    table_.FieldByName("ID").SetAsInteger(id);
    table_.FieldByName("NAME").SetAsString("name & number " + std::to_string(id));
    table_.Post();
  }
  table_.SaveToFile(dir_.Path("Large.xml"));
  const std::string saved = dir_.Read("Large.xml");
  ASSERT_GT(saved.size(), 2u << 20);
  EXPECT_EQ(saved, table_.XmlPacket());
  std::string change_log = "<PARAMS CHANGE_LOG=\"1 0 4";
  for (int row = 2; row <= rows; ++row) change_log += " " + std::to_string(row) + " 0 4";
  EXPECT_NE(saved.find(change_log + "\"/></METADATA><ROWDATA><ROW RowState=\"4\" ID=\"1\""), std::string::npos);
  TClientDataSet loaded;
  loaded.LoadFromFile(dir_.Path("Large.xml"));
  ASSERT_EQ(loaded.RecordCount(), rows);
  int last_id = 0;
  std::string last_name;
  for (loaded.First(); !loaded.Eof(); loaded.Next()) {
    ASSERT_EQ(loaded.FieldByName("ID").AsInteger(), last_id + 1);
    last_id = loaded.FieldByName("ID").AsInteger();
    last_name = loaded.FieldByName("NAME").AsString();
  }
  EXPECT_EQ(last_id, rows);
  EXPECT_EQ(last_name, "name & number " + std::to_string(rows));
}

TEST_F(XmlPacketTest, ReadsTheAccountingSystemsPackets) {
  const std::string cyrillic = Ansi("Молоко");
  dir_.Write("Note1.xlm",
             "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"
             "<DATAPACKET Version=\"2.0\">\r\n"
             "  <METADATA>\r\n"
             "    <FIELDS>\r\n"
             "      <FIELD fieldtype=\"string\" WIDTH=\"40\" attrname=\"Name\"/>\r\n"
             "      <FIELD attrname=\"Id\" fieldtype=\"i4\"></FIELD>\r\n"
             "      <FIELD attrname=\"Curs\" fieldtype=\"r8\"/>\r\n"
             "    </FIELDS>\r\n"
             "    <PARAMS/>\r\n"
             "  </METADATA>\r\n"
             "  <ROWDATA>\r\n"
             "    <ROW Id=\"2\" Name=\"" +
                 cyrillic +
                 "&#092;&#1040;&amp;\" Curs=\"1.5E2\"/>\r\n"
                 "    <ROW Name='x&#x9;y' Id=' 3 '/>\r\n"
                 "  </ROWDATA>\r\n"
                 "</DATAPACKET>\r\n");
  table_.LoadFromFile(dir_.Path("Note1.xlm"));
  table_.Open();
  ASSERT_EQ(table_.RecordCount(), 2);
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), cyrillic + "\\" + Ansi("А") + "&");
  EXPECT_EQ(table_.FieldByName("ID").AsInteger(), 2);
  EXPECT_DOUBLE_EQ(table_.FieldByName("Curs").AsFloat(), 150.0);
  table_.Next();
  EXPECT_EQ(table_.FieldByName("Name").AsString(), "x\ty");
  EXPECT_EQ(table_.FieldByName("Id").AsInteger(), 3);
  EXPECT_EQ(table_.FieldByName("Curs").AsFloat(), 0.0);
  EXPECT_THROW(table_.FieldByName("DayToOpl"), EDatabaseError);
}

TEST_F(XmlPacketTest, AByteOrderMarkAndAnEncodingNameChangeNoBytes) {
  const std::string name = Ansi("Ёж");
  dir_.Write("Bom.xml",
             "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1251\"?><DATAPACKET><METADATA><FIELDS>"
             "<FIELD attrname=\"N\" fieldtype=\"string\"/></FIELDS></METADATA><ROWDATA><ROW N=\"" +
                 name + "\"/></ROWDATA></DATAPACKET>");
  table_.LoadFromFile(dir_.Path("Bom.xml"));
  EXPECT_EQ(table_.FieldByName("N").AsString(), name);
  EXPECT_EQ(table_.FieldDefs()[0].Size, 0);
  EXPECT_NE(table_.XmlPacket().find("<FIELD attrname=\"N\" fieldtype=\"string\" WIDTH=\"2\"/>"), std::string::npos);
}

TEST_F(XmlPacketTest, RowsOutsideTheCurrentDataAreSkipped) {
  dir_.Write("Changes.xml",
             kDeclaration +
                 "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"ID\" fieldtype=\"i4\"/>"
                 "</FIELDS><PARAMS/></METADATA><ROWDATA>"
                 "<ROW RowState=\"4\" ID=\"1\"/><ROW RowState=\"2\" ID=\"2\"/><ROW RowState=\"1\" ID=\"3\"/>"
                 "<ROW RowState=\"8\" ID=\"4\"/><ROW ID=\"5\"/>"
                 // The state counts wherever it stands; a row left out is not read at all.
                 "<ROW ID=\"6\" RowState=\"2\"/><ROW ID=\"x\" RowState=\"1\"/><ROW ID=\"7\" RowState=\"4\"/>"
                 "</ROWDATA></DATAPACKET>");
  table_.LoadFromFile(dir_.Path("Changes.xml"));
  std::vector<int> ids;
  for (table_.First(); !table_.Eof(); table_.Next()) ids.push_back(table_.FieldByName("ID").AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{1, 4, 5, 7}));

  dir_.Write("BadState.xml", kDeclaration +
                                 "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"ID\" "
                                 "fieldtype=\"i4\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
                                 "<ROW ID=\"1\"/><ROW ID=\"2\" RowState=\"new\"/></ROWDATA></DATAPACKET>");
  try {
    table_.LoadFromFile(dir_.Path("BadState.xml"));
    FAIL() << "an invalid RowState was read";
  } catch (const EDataPacketError& error) {
    EXPECT_EQ(std::string(error.what()), dir_.Path("BadState.xml") + ": ROW 2 has an invalid RowState 'new'");
  }
}

TEST_F(XmlPacketTest, BadPacketsFailWithAnErrorNamingTheFile) {
  const std::string fields = "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"ID\" fieldtype=\"i4\"/></FIELDS>";
  const std::string path = dir_.Path("Bad.xml");
  EXPECT_EQ(LoadError("ID;NAME\r\n1;x\r\n").rfind(path + ": not an XML file", 0), 0u);
  EXPECT_EQ(LoadError("<a><b></a>").rfind(path + ": not an XML file", 0), 0u);
  // Zero bytes cut a file short, even before a last '>' (the file is parsed where it was read).
  const std::string whole = fields + "</METADATA><ROWDATA><ROW ID=\"1\"/></ROWDATA></DATAPACKET>";
  EXPECT_EQ(LoadError(whole), "loaded");
  EXPECT_EQ(
      LoadError(whole.substr(0, whole.size() - 1) + std::string(3, '\0') + ">").rfind(path + ": not an XML file", 0),
      0u);
  EXPECT_EQ(LoadError("<TABLE/>"), path + ": not a data packet (no DATAPACKET element)");
  EXPECT_EQ(LoadError("<DATAPACKET><ROWDATA/></DATAPACKET>"),
            path + ": not a data packet (no METADATA/FIELDS element)");
  EXPECT_EQ(LoadError("<DATAPACKET><METADATA><FIELDS/></METADATA></DATAPACKET>"),
            path + ": not a data packet (no FIELD definitions)");
  EXPECT_EQ(LoadError(fields + "</METADATA><ROWDATA><ROW ID=\"1x\"/></ROWDATA></DATAPACKET>"),
            path + ": ROW 1, field 'ID': not a valid integer value: '1x'");
  EXPECT_EQ(LoadError(fields + "</METADATA><ROWDATA><ROW ID=\"&bogus;\"/></ROWDATA></DATAPACKET>"),
            path + ": ROW 1, field 'ID': malformed entity or character reference: '&bogus;'");
  EXPECT_EQ(LoadError("<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"string\" WIDTH=\"-1\"/>"
                      "</FIELDS></METADATA></DATAPACKET>"),
            path + ": field 'A' has an invalid WIDTH '-1'");
  EXPECT_EQ(LoadError("<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"i4\"/>"
                      "<FIELD attrname=\"a\" fieldtype=\"i4\"/></FIELDS></METADATA></DATAPACKET>"),
            path + ": field 'a' is defined twice");
  EXPECT_THROW(table_.LoadFromFile(dir_.Path("Missing.xml")), Exception);
}

TEST_F(XmlPacketTest, ValuesWithoutAPacketFormAreRefusedBeforeAnythingIsWritten) {
  table_.FieldDefs().Add("F", TFieldType::ftFloat);
  table_.CreateDataSet();
  table_.Append();
  table_.FieldByName("F").SetAsFloat(std::numeric_limits<double>::quiet_NaN());
  table_.Post();
  EXPECT_THROW(table_.SaveToFile(dir_.Path("Nan.xml")), EDatabaseError);
  EXPECT_FALSE(dir_.Exists("Nan.xml"));
}

}  // namespace
