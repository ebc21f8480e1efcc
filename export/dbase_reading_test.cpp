// The dBase reference files: header checks before shapelib reads, names matched on 10
// characters, values by field type, the text files' key order and the reader's failures.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/date_time.h"
#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "export/dbase_cursor.h"
#include "export/dbase_file.h"
#include "export/dbase_values.h"
#include "export/staged_records.h"
#include "test_support/scratch_directory.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

// A dBase III table made byte by byte: values are padded to their field's width (numbers to the
// right), a record starting with '*' is marked deleted.
std::string DbaseBytes(const std::vector<TDbaseField>& fields, const std::vector<std::vector<std::string>>& rows,
                       const std::vector<bool>& deleted = {}, unsigned char language_driver = 0) {
  int record_length = 1;
  for (const TDbaseField& field : fields) record_length += field.Width;
  const int header_length = 32 + 32 * static_cast<int>(fields.size()) + 1;
  std::string bytes(32, '\0');
  bytes[0] = 0x03;
  bytes[1] = 124;
  bytes[2] = 1;
  bytes[3] = 1;
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>((rows.size() >> (8 * i)) & 0xFF);
  bytes[8] = static_cast<char>(header_length & 0xFF);
  bytes[9] = static_cast<char>(header_length >> 8);
  bytes[10] = static_cast<char>(record_length & 0xFF);
  bytes[11] = static_cast<char>(record_length >> 8);
  bytes[29] = static_cast<char>(language_driver);
  for (const TDbaseField& field : fields) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, field.Name.size(), field.Name);
    descriptor[11] = field.Type;
    descriptor[16] = static_cast<char>(field.Width);
    descriptor[17] = static_cast<char>(field.Decimals);
    bytes += descriptor;
  }
  bytes += '\r';
  for (size_t row = 0; row < rows.size(); ++row) {
    bytes += row < deleted.size() && deleted[row] ? '*' : ' ';
    for (size_t column = 0; column < fields.size(); ++column) {
      std::string value = rows[row][column];
      const size_t width = static_cast<size_t>(fields[column].Width);
      const bool number = fields[column].Type == 'N' || fields[column].Type == 'F';
      if (value.size() < width) value.insert(number ? 0 : value.size(), width - value.size(), ' ');
      bytes += value.substr(0, width);
    }
  }
  return bytes + '\x1A';
}

const std::vector<TDbaseField> kFields{{"ID", 'N', 5, 0}, {"NAME", 'C', 12, 0}, {"PERCENTDIS", 'N', 6, 2}};

class DbaseReadingTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentFormats(TFormatSettings{}); }

  std::string Write(const std::string& name, const std::string& bytes) {
    directory_.Write(name, bytes);
    return directory_.Path(name);
  }

  TScratchDirectory directory_;
};

TEST_F(DbaseReadingTest, LiveRecordsKeepTheirBytesAndNamesMatchOnTenCharacters) {
  const std::string cyrillic = Ansi("Сок яблочный");
  const TDbaseFile file = TDbaseFile::Read(Write(
      "t.dbf",
      DbaseBytes(kFields, {{"10", cyrillic, "2.50"}, {"11", "gone", "0"}, {"9", " lead", ""}}, {false, true, false})));
  ASSERT_EQ(file.RecordCount(), 2);
  EXPECT_EQ(file.Fields()[2].Name, "PERCENTDIS");
  EXPECT_EQ(file.Fields()[2].Decimals, 2);
  EXPECT_EQ(file.Value(0, 1), cyrillic);
  EXPECT_EQ(file.Value(1, 0), "    9");
  EXPECT_EQ(DbaseAsString(file.Fields()[1], file.Value(1, 1)), " lead");
  EXPECT_EQ(file.FindField("PercentDiscount"), 2);
  EXPECT_EQ(file.FindField("name"), 1);
  EXPECT_EQ(file.FindField("Names"), -1);
  EXPECT_EQ(file.FindField("PercentDi"), -1);
}

TEST_F(DbaseReadingTest, TablesMarkedAsDosCyrillicHaveTheirTextsRecoded) {
  const std::string dos = "\x91\xAE\xAA \xEF\xA1\xAB\xAE\xE7\xAD\xEB\xA9 \xC9";  // "Сок яблочный" and a box sign
  const std::vector<TDbaseField> fields{{"NAME", 'C', 20, 0}, {"ID", 'N', 3, 0}};
  for (const unsigned char marked : {0x26, 0x65}) {
    const TDbaseFile file = TDbaseFile::Read(Write("dos.dbf", DbaseBytes(fields, {{dos, "7"}}, {}, marked)));
    EXPECT_EQ(DbaseAsString(file.Fields()[0], file.Value(0, 0)), Ansi("Сок яблочный ?"));
    EXPECT_EQ(DbaseAsInteger(file.Fields()[1], file.Value(0, 1)), 7);
  }
  const TDbaseFile unmarked = TDbaseFile::Read(Write("ansi.dbf", DbaseBytes(fields, {{dos, "7"}}, {}, 0xC9)));
  EXPECT_EQ(DbaseAsString(unmarked.Fields()[0], unmarked.Value(0, 0)), dos);
}

TEST_F(DbaseReadingTest, FilesThatAreNoDbaseTablesFailNamingThePath) {
  const std::string good = DbaseBytes(kFields, {{"1", "a", "1"}, {"2", "b", "2"}});
  std::vector<std::string> damaged;
  damaged.push_back("");
  damaged.push_back("Id;Name\r\n1;a\r\n");
  damaged.push_back(good.substr(0, 31));
  std::string version = good;
  version[0] = 0x7F;
  damaged.push_back(version);
  std::string more_records = good;
  more_records[4] = 3;
  damaged.push_back(more_records);
  damaged.push_back(good.substr(0, good.size() - 2));
  std::string long_header = good;
  long_header[9] = 0x7F;
  damaged.push_back(long_header);
  std::string short_header = good;
  short_header[8] = 32;
  short_header[9] = 0;
  damaged.push_back(short_header);
  std::string shorter_record = good;
  --shorter_record[10];
  damaged.push_back(shorter_record);
  std::string wider_field = good;
  wider_field[32 + 16] = 40;
  damaged.push_back(wider_field);
  std::string no_record_length = good;
  no_record_length[10] = 0;
  damaged.push_back(no_record_length);
  for (size_t i = 0; i < damaged.size(); ++i) {
    const std::string path = Write("bad" + std::to_string(i) + ".dbf", damaged[i]);
    try {
      TDbaseFile::Read(path);
      ADD_FAILURE() << "damaged file " << i << " was read";
    } catch (const EDbaseFileError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(path, 0), 0u) << error.what();
    }
  }
  EXPECT_THROW(TDbaseFile::Read(directory_.Path("missing.dbf")), EDbaseFileError);
  EXPECT_EQ(TDbaseFile::Read(Write("good.dbf", good)).RecordCount(), 2);
}

TEST_F(DbaseReadingTest, NumbersDatesAndLogicalsConvertByTheirStoredForm) {
  SetCurrentFormats(TFormatSettings{','});
  const TDbaseField integer{"ID", 'N', 10, 0};
  const TDbaseField decimal{"PRICE", 'N', 10, 2};
  const TDbaseField real{"CURS", 'F', 12, 5};
  EXPECT_EQ(DbaseAsInteger(integer, "        10"), 10);
  EXPECT_EQ(DbaseAsInteger(decimal, "     -7.00"), -7);
  EXPECT_EQ(DbaseAsString(integer, "        10"), "10");
  EXPECT_DOUBLE_EQ(DbaseAsFloat(decimal, "      2.50"), 2.5);
  EXPECT_DOUBLE_EQ(DbaseAsCurrency(real, "    99.99999"), 100.0);
  for (const char* stored : {"      2.50", "          ", "**********", "3000000000", "1e"}) {
    EXPECT_THROW(DbaseAsInteger(decimal, stored), EConvertError) << stored;
  }
  EXPECT_THROW(DbaseAsFloat(real, "            "), EConvertError);
  EXPECT_THROW(DbaseAsCurrency(real, "1e20"), EConvertError);
  EXPECT_THROW(DbaseAsDateTime(integer, "  20240305"), EConvertError);

  const TDbaseField date{"DATECURS", 'D', 8, 0};
  EXPECT_EQ(DbaseAsDateTime(date, "20240305"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(DbaseAsString(date, "20240305"), "05.03.2024");
  for (const char* stored : {"        ", "20240230", "2024035 ", "abcdefgh"}) {
    EXPECT_THROW(DbaseAsDateTime(date, stored), EConvertError) << stored;
  }
  EXPECT_THROW(DbaseAsInteger(date, "20240305"), EConvertError);

  const TDbaseField logical{"ISMAIN", 'L', 1, 0};
  EXPECT_EQ(DbaseAsInteger(logical, "T"), 1);
  EXPECT_EQ(DbaseAsInteger(logical, "y"), 1);
  EXPECT_EQ(DbaseAsInteger(logical, "F"), 0);
  EXPECT_EQ(DbaseAsInteger(logical, "n"), 0);
  EXPECT_THROW(DbaseAsInteger(logical, "?"), EConvertError);
  EXPECT_THROW(DbaseAsInteger(logical, " "), EConvertError);
}

// The little-endian bytes of a value.
template <typename T>
std::string Bytes(T value) {
  std::string bytes(sizeof value, '\0');
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

TEST_F(DbaseReadingTest, VisualFoxProBinaryFieldsAreReadByTheirBytes) {
  SetCurrentFormats(TFormatSettings{','});
  const TDbaseField integer{"ID", 'I', 4, 0};
  EXPECT_EQ(DbaseAsInteger(integer, Bytes(int32_t{-7})), -7);
  EXPECT_EQ(DbaseAsString(integer, Bytes(int32_t{123456})), "123456");
  const TDbaseField amount{"SALDO", 'Y', 8, 0};
  EXPECT_DOUBLE_EQ(DbaseAsCurrency(amount, Bytes(int64_t{-123456})), -12.3456);
  EXPECT_EQ(DbaseAsInteger(amount, Bytes(int64_t{50000})), 5);
  EXPECT_THROW(DbaseAsInteger(amount, Bytes(int64_t{50001})), EConvertError);
  const TDbaseField real{"CURS", 'B', 8, 0};
  EXPECT_DOUBLE_EQ(DbaseAsFloat(real, Bytes(90.25)), 90.25);
  EXPECT_EQ(DbaseAsString(real, Bytes(90.25)), "90.25");
  EXPECT_THROW(DbaseAsFloat(real, Bytes(std::numeric_limits<double>::quiet_NaN())), EConvertError);
  const TDbaseField stamp{"DATECURS", 'T', 8, 0};
  const std::string morning = Bytes(int32_t{2460375}) + Bytes(int32_t{37800000});
  EXPECT_EQ(DbaseAsDateTime(stamp, morning), TDateTime{EncodeDate(2024, 3, 5).Value + 0.4375});
  EXPECT_EQ(DbaseAsString(stamp, morning), "05.03.2024 10:30:00");
  for (const std::string& empty : {std::string(8, '\0'), std::string(8, ' '), Bytes(int32_t{2460375}) + Bytes(-1)}) {
    EXPECT_THROW(DbaseAsDateTime(stamp, empty), EConvertError);
  }
  EXPECT_THROW(DbaseAsInteger(stamp, morning), EConvertError);
}

TEST_F(DbaseReadingTest, CharacterFieldsConvertByTheTextFilesRules) {
  SetCurrentFormats(TFormatSettings{','});
  const TDbaseField text{"CODE", 'C', 12, 0};
  EXPECT_EQ(DbaseAsInteger(text, "  12        "), 12);
  EXPECT_DOUBLE_EQ(DbaseAsFloat(text, "1,5         "), 1.5);
  EXPECT_THROW(DbaseAsFloat(text, "1.5         "), EConvertError);
  EXPECT_THROW(DbaseAsInteger(text, "            "), EConvertError);
  EXPECT_EQ(DbaseAsDateTime(text, "05.03.2024  "), EncodeDate(2024, 3, 5));
  EXPECT_EQ(DbaseAsString(text, "            "), "");
}

TEST_F(DbaseReadingTest, KeysOrderRecordsAsTheTextTableOrdersLines) {
  const std::vector<TDbaseField> fields{{"ID", 'N', 5, 0}, {"IDCURRENCY", 'N', 5, 0}};
  TDbaseCursor cursor;
  cursor.Open(Write("k.dbf", DbaseBytes(fields, {{"10", "2"}, {"9", "10"}, {"100", "2"}})));
  const auto ids = [&] {
    std::vector<int32_t> read;
    const TDbaseColumn id(cursor, 0);
    for (; !cursor.Eof(); cursor.Next()) read.push_back(id.AsInteger());
    return read;
  };
  EXPECT_EQ(ids(), (std::vector<int32_t>{10, 9, 100}));
  cursor.SortBy(0);
  EXPECT_EQ(ids(), (std::vector<int32_t>{9, 10, 100}));
  cursor.SortBy(1);
  EXPECT_EQ(ids(), (std::vector<int32_t>{9, 10, 100}));
  cursor.Close();
  EXPECT_EQ(cursor.RecordCount(), 0);
  EXPECT_TRUE(cursor.Eof());
}

constexpr TExportMapping kMappings[] = {{"Id", "Id", Integer},
                                        {"Name", "Name", Text, Required, Required, 5},
                                        {"PercentDiscount", "PercentDiscount", Float},
                                        {"IdQuest", "IDQuest", Integer, Optional, Optional, 0, 7, 1}};

class DbaseReferenceReaderTest : public DbaseReadingTest {
 protected:
  void SetUp() override {
    DbaseReadingTest::SetUp();
    session_.Settings.ExchangeFormat = TExchangeFormat::DBF;
    session_.Directory = directory_.Path();
    session_.MessageBox = [this](const std::string& text, const std::string&, unsigned) {
      messages_.push_back(text);
      return 1;
    };
  }

  TStagedRecords Read(const std::string& file_name, TReadOrder order = {}) {
    TReferenceReader reader(session_, text_table_, packet_table_);
    reader.Open(file_name, order);
    TStagedRecords records = ReadStagedRecords(reader, kMappings, TExchangeFormat::DBF);
    reader.Close();
    return records;
  }

  TExchangeSession session_;
  std::vector<std::string> messages_;
  TcsTXTTable text_table_;
  TClientDataSet packet_table_;
};

TEST_F(DbaseReferenceReaderTest, RowsComeInKeyOrderCutAndDefaultedAsFromTextFiles) {
  Write("product.DBF", DbaseBytes(kFields, {{"10", "Longer name", "2.50"}, {"9", "Short", "0"}}));
  const TStagedRecords records = Read("Product.dbf", TReadOrder{"ID", "ID"});
  ASSERT_EQ(records.RowCount(), 2u);
  EXPECT_EQ(records.RowView(0), (std::vector<TStagedInput>{int32_t{9}, "Short", 0.0, int32_t{7}}));
  EXPECT_EQ(records.RowView(1), (std::vector<TStagedInput>{int32_t{10}, "Longe", 2.5, int32_t{7}}));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(DbaseReferenceReaderTest, MissingFileOrColumnShowsTheTextTablesMessageAndFails) {
  EXPECT_THROW(Read("Product.dbf"), EDbaseFileError);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Ansi("Файл \"") + directory_.Path() + Ansi("Product.dbf\" не найден"));
  Write("Product.dbf", DbaseBytes({{"ID", 'N', 5, 0}, {"NAME", 'C', 12, 0}}, {{"1", "a"}}));
  EXPECT_THROW(Read("Product.dbf"), EDbaseFieldNotFound);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], Ansi("Поля \"PercentDiscount\" нет в таблице Product.dbf"));
  EXPECT_THROW(Read("Product.dbf", TReadOrder{"IDCURRENCY", "ID"}), EDbaseFieldNotFound);
}

TEST_F(DbaseReferenceReaderTest, ABlankNumberFailsTheWholeRead) {
  Write("Product.dbf", DbaseBytes(kFields, {{"1", "a", "1"}, {"", "b", "1"}}));
  EXPECT_THROW(Read("Product.dbf"), EConvertError);
}

}  // namespace
