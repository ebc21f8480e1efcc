#include "odbc/dbase_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "odbc/dbase_append.h"
#include "odbc/dbase_values.h"
#include "odbc/driver_error.h"

namespace {

class DbaseTableTest : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("dbase_table_test." + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::string Path(const char* name) const { return (directory_ / name).string(); }
  std::filesystem::path directory_;
};

DbaseTable SampleTable() {
  DbaseTable table;
  table.fields = {{"ID", 'N', 11, 0}, {"NOTE", 'C', 10, 0}, {"DAY", 'D', 8, 0}, {"PRICE", 'N', 15, 3}};
  table.rows.push_back({int64_t{7}, std::string("\xCF\xF0\xE8\xEC"), Date{2024, 3, 5}, 12.5});
  table.rows.push_back({int64_t{-3}, Value{}, Value{}, Value{}});
  return table;
}

TEST_F(DbaseTableTest, WritesWindows1251LanguageByteAndReadsBackTypedValues) {
  WriteDbaseTable(Path("Sample.DBF"), SampleTable(), true);
  std::ifstream file(Path("Sample.DBF"), std::ios::binary);
  char header[32];
  file.read(header, sizeof header);
  EXPECT_EQ(static_cast<unsigned char>(header[0]), 0x03);
  EXPECT_EQ(static_cast<unsigned char>(header[29]), kWindows1251LanguageByte);
  const DbaseTable read = ReadDbaseTable(Path("Sample.DBF"));
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_EQ(read.fields[3].decimals, 3);
  EXPECT_EQ(std::get<int64_t>(read.rows[0][0]), 7);
  EXPECT_EQ(std::get<std::string>(read.rows[0][1]), "\xCF\xF0\xE8\xEC");
  EXPECT_EQ(std::get<Date>(read.rows[0][2]), (Date{2024, 3, 5}));
  EXPECT_DOUBLE_EQ(std::get<double>(read.rows[0][3]), 12.5);
  EXPECT_TRUE(IsNull(read.rows[1][2]));
  EXPECT_TRUE(IsNull(read.rows[1][3]));
  for (const auto& entry : std::filesystem::directory_iterator(directory_)) {
    EXPECT_EQ(entry.path().filename(), "Sample.DBF");  // no temporary or side file is left
  }
}

TEST_F(DbaseTableTest, AFileThatIsNotDbaseIsNamedInTheError) {
  std::ofstream(Path("text.dbf")) << "Id;Name\n1;Moscow\n";
  try {
    ReadDbaseTable(Path("text.dbf"));
    FAIL() << "no error";
  } catch (const DriverError& error) {
    EXPECT_EQ(error.SqlState(), "HY000");
    EXPECT_NE(std::string(error.what()).find("\"" + Path("text.dbf") + "\" is not a dBase file"), std::string::npos);
  }
  std::ofstream(Path("empty.dbf")).close();
  EXPECT_THROW(ReadDbaseTable(Path("empty.dbf")), DriverError);
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(DbaseTableTest, AppendedRecordsFollowTheWrittenOnesAndReadBackAsWritten) {
  const DbaseTable sample = SampleTable();
  WriteDbaseTable(Path("grow.dbf"), DbaseTable{sample.fields, {}}, false);
  AppendDbaseRecords(Path("grow.dbf"), sample.fields, {sample.rows[0]}, true);
  AppendDbaseRecords(Path("grow.dbf"), sample.fields, {sample.rows[1], sample.rows[0]}, false);
  const DbaseTable read = ReadDbaseTable(Path("grow.dbf"));
  ASSERT_EQ(read.rows.size(), 3u);
  EXPECT_EQ(read.rows[0], sample.rows[0]);
  EXPECT_EQ(read.rows[1][0], sample.rows[1][0]);
  EXPECT_TRUE(IsNull(read.rows[1][1]));
  EXPECT_EQ(read.rows[2], sample.rows[0]);
  // The header, three records of 45 bytes and one end-of-file mark: nothing more, nothing less.
  const std::string bytes = FileBytes(Path("grow.dbf"));
  const size_t header_length = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  ASSERT_EQ(bytes.size(), header_length + 3 * 45 + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
  EXPECT_EQ(bytes.substr(header_length, 13), std::string(11, ' ') + "7\xCF");
}

TEST_F(DbaseTableTest, RecordsBeyondTheCountAreNotRowsAndTheNextAppendReplacesThem) {
  const DbaseTable sample = SampleTable();
  WriteDbaseTable(Path("crash.dbf"), DbaseTable{sample.fields, {sample.rows[0]}}, false);
  // What an append interrupted before its count leaves: record bytes after the counted ones.
  {
    std::ofstream file(Path("crash.dbf"), std::ios::binary | std::ios::app);
    file << " half-written record";
  }
  EXPECT_EQ(ReadDbaseTable(Path("crash.dbf")).rows.size(), 1u);
  AppendDbaseRecords(Path("crash.dbf"), sample.fields, {sample.rows[1]}, false);
  const DbaseTable read = ReadDbaseTable(Path("crash.dbf"));
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_EQ(read.rows[1][0], sample.rows[1][0]);
  EXPECT_TRUE(IsNull(read.rows[1][1]));
}

TEST_F(DbaseTableTest, AppendingWithOtherFieldsChangesNothing) {
  const DbaseTable sample = SampleTable();
  WriteDbaseTable(Path("other.dbf"), sample, false);
  const std::string before = FileBytes(Path("other.dbf"));
  std::vector<DbaseField> wider = sample.fields;
  wider[1].width = 11;
  EXPECT_THROW(AppendDbaseRecords(Path("other.dbf"), wider, {sample.rows[0]}, false), DriverError);
  EXPECT_EQ(FileBytes(Path("other.dbf")), before);
  EXPECT_THROW(AppendDbaseRecords(Path("missing.dbf"), sample.fields, {sample.rows[0]}, false), DriverError);
  std::ofstream(Path("short.dbf")) << "\x03";
  EXPECT_THROW(AppendDbaseRecords(Path("short.dbf"), sample.fields, {sample.rows[0]}, false), DriverError);
}

TEST(DbaseValues, NumbersKeepTheirDeclaredWidthAndDecimals) {
  const DbaseField price{"PRICE", 'N', 15, 3};
  EXPECT_DOUBLE_EQ(std::get<double>(FitToField(2.5, price)), 2.5);
  EXPECT_DOUBLE_EQ(std::get<double>(FitToField(std::string("10"), price)), 10.0);
  const DbaseField id{"ID", 'N', 11, 0};
  EXPECT_EQ(std::get<int64_t>(FitToField(2147483647.0, id)), 2147483647);
  EXPECT_THROW(FitToField(int64_t{123456789012}, id), DriverError);
  EXPECT_THROW(FitToField(1e15, price), DriverError);
  EXPECT_THROW(FitToField(std::string("abc"), price), DriverError);
  EXPECT_EQ(std::get<Date>(FitToField(std::string("2024-03-05"), DbaseField{"D", 'D', 8, 0})), (Date{2024, 3, 5}));
  EXPECT_THROW(FitToField(std::string("12345678901"), DbaseField{"C", 'C', 10, 0}), DriverError);
  EXPECT_EQ(FieldFor(ColumnDefinition{"Total", ColumnType::Numeric, 15, 3}).width, 15);
  EXPECT_THROW(FieldFor(ColumnDefinition{"ElevenChars", ColumnType::Integer}), DriverError);
}

}  // namespace
