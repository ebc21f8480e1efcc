#include "export/staged_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "exchange/exchange_errors.h"
#include "palmdb/palm_catalogue.h"
#include "test_support/scratch_directory.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr TExportMapping kMappings[] = {{"Id", "Id", Integer},
                                        {"Name", "Name", Text, Required, Required, 5},
                                        {"Saldo", "CurrentSaldo", Currency, Required, Optional},
                                        {"IdQuest", "IDQuest", Integer, Optional, Optional, 0, 0, 1},
                                        {"Note", "Address", Text, Optional, Ignored}};

class StagedRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentFormats(TFormatSettings{});
    session_.Directory = directory_.Path();
  }

  TStagedRecords ReadText(const std::string& text, TReadOrder order = {}) {
    session_.Settings.ExchangeFormat = TExchangeFormat::TXT;
    directory_.Write("Input.txt", text);
    TReferenceReader reader(session_, text_table_, packet_table_);
    reader.Open("input.TXT", order);
    return ReadStagedRecords(reader, kMappings, TExchangeFormat::TXT);
  }

  TScratchDirectory directory_;
  TExchangeSession session_;
  std::vector<std::string> messages_;
  TcsTXTTable text_table_{[this](const std::string& text, const std::string&) { messages_.push_back(text); }};
  TClientDataSet packet_table_;
};

TEST_F(StagedRecordsTest, TextRowsAreCutRoundedAndDefaulted) {
  const TStagedRecords records =
      ReadText("ID;NAME;SALDO;NOTE\r\n7;Longer name;1.23456;kept;\r\n8;Short;99.99999;;\r\n");
  ASSERT_EQ(records.RowCount(), 2u);
  EXPECT_EQ(records.Fields, (std::vector<std::string>{"Id", "Name", "CurrentSaldo", "IDQuest", "Address"}));
  EXPECT_EQ(records.RowView(0), (std::vector<TStagedInput>{int32_t{7}, "Longe", 1.2346, int32_t{0}, "kept"}));
  EXPECT_EQ(std::get<double>(records.Row(1)[2]), 100.0);
}

TEST_F(StagedRecordsTest, MissingRequiredColumnOrBadValueFailsTheWholeRead) {
  EXPECT_THROW(ReadText("Id;Name\r\n1;a;\r\n"), ETXTFieldNotFound);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("Saldo"), std::string::npos);
  EXPECT_THROW(ReadText("Id;Name;Saldo\r\n1;a;0;\r\n;b;0;\r\n"), EConvertError);
}

TEST_F(StagedRecordsTest, PacketsTakeTheirOwnDefaultsAndSkipIgnoredColumns) {
  session_.Settings.ExchangeFormat = TExchangeFormat::XML;
  TClientDataSet packet;
  packet.FieldDefs().Add("ID", TFieldType::ftInteger);
  packet.FieldDefs().Add("Name", TFieldType::ftString, 20);
  packet.FieldDefs().Add("Note", TFieldType::ftString, 20);
  packet.CreateDataSet();
  for (int id : {3, 1, 2}) {
    packet.Append();
    packet.FieldByName("ID").SetAsInteger(id);
    packet.FieldByName("Name").SetAsString("n");
    packet.FieldByName("Note").SetAsString("never read");
    packet.Post();
  }
  packet.SaveToFile(directory_.Path("Input.xml"));
  TReferenceReader reader(session_, text_table_, packet_table_);
  reader.Open("Input.xml", TReadOrder{"", "ID"});
  const TStagedRecords records = ReadStagedRecords(reader, kMappings, TExchangeFormat::XML);
  reader.Close();
  ASSERT_EQ(records.RowCount(), 3u);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(records.RowView(row),
              (std::vector<TStagedInput>{int32_t{row + 1}, "n", 0.0, int32_t{1}, std::monostate{}}));
  }
  EXPECT_FALSE(packet_table_.Active());
}

TEST_F(StagedRecordsTest, SortIsStableOnSeveralIntegerFields) {
  TStagedRecords records;
  records.Fields = {"DayOfWeek", "Nomer", "Id"};
  records.AddRow({int32_t{2}, int32_t{1}, int32_t{5}});
  records.AddRow({int32_t{1}, int32_t{5}, int32_t{4}});
  records.AddRow({int32_t{1}, int32_t{2}, int32_t{9}});
  records.AddRow({int32_t{1}, int32_t{2}, int32_t{3}});
  constexpr const char* kOrder[] = {"DAYOFWEEK", "NOMER", "ID"};
  SortStagedRecords(records, kOrder);
  std::vector<int32_t> ids;
  for (size_t row = 0; row < records.RowCount(); ++row) ids.push_back(std::get<int32_t>(records.Row(row)[2]));
  EXPECT_EQ(ids, (std::vector<int32_t>{3, 9, 4, 5}));

  // Rows of equal keys keep their reading order; a row without an integer sorts as 0.
  records.AddRow({std::monostate{}, int32_t{7}, int32_t{8}});
  records.AddRow({int32_t{1}, int32_t{2}, int32_t{1}});
  constexpr const char* kTwoKeys[] = {"DayOfWeek", "Nomer"};
  SortStagedRecords(records, kTwoKeys);
  ids.clear();
  for (size_t row = 0; row < records.RowCount(); ++row) ids.push_back(std::get<int32_t>(records.Row(row)[2]));
  EXPECT_EQ(ids, (std::vector<int32_t>{8, 3, 9, 1, 4, 5}));

  // Many rows with few distinct keys, negative and extreme ones too: the same order as a stable
  // sort, every text along.
  TStagedRecords many;
  many.Fields = {"Key", "Id", "Name"};
  std::vector<std::pair<int32_t, int32_t>> expected;
  std::mt19937 random(3);
  for (int32_t id = 0; id < 2000; ++id) {
    const int32_t extremes[] = {INT32_MIN, INT32_MAX, -1, 0};
    const auto key = id % 100 < 4 ? extremes[id % 100] : static_cast<int32_t>(random() % 37) - 18;
    many.AddRow({key, id, "name " + std::to_string(id) + std::string(20, 'x')});
    expected.emplace_back(key, id);
  }
  std::stable_sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.first < b.first; });
  constexpr const char* kKey[] = {"Key"};
  SortStagedRecords(many, kKey);
  ASSERT_EQ(many.RowCount(), expected.size());
  for (size_t row = 0; row < expected.size(); ++row) {
    const auto values = many.Row(row);
    ASSERT_EQ(std::get<int32_t>(values[1]), expected[row].second) << row;
    ASSERT_EQ(many.Text(std::get<TStagedText>(values[2])),
              "name " + std::to_string(expected[row].second) + std::string(20, 'x'));
  }
}

TEST_F(StagedRecordsTest, DateWithATimeOfDayFailsThePackCheckAsPostWould) {
  TPalmCatalogue catalogue;
  TStagedRecords records;
  records.Fields = {"IdCurrency", "DateCurs", "Curs"};
  records.AddRow({int32_t{1}, TDateTime{45356.0}, 1.5});
  EXPECT_NO_THROW(CheckRecordsPack(catalogue.ptCurrencyCurs, records));
  records.AddRow({int32_t{2}, TDateTime{45356.4375}, 1.5});
  try {
    CheckRecordsPack(catalogue.ptCurrencyCurs, records);
    FAIL() << "a date with a time of day packed";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'05.03.2024 10:30:00' is not a valid date");
  }
  EXPECT_FALSE(catalogue.ptCurrencyCurs.Active());
  EXPECT_FALSE(catalogue.ptCurrencyCurs.DbSaving());
}

TEST_F(StagedRecordsTest, PackingFailsWithThePackChecksErrorOrLeavesEventfulTablesAlone) {
  TPalmCatalogue catalogue;
  TpfgPalmRemoteTable& rates = catalogue.ptCurrencyCurs;
  TStagedRecords records;
  // The table packs IdCurrency first; the check looks at the rows' own order, date first.
  records.Fields = {"DateCurs", "IdCurrency", "Curs"};
  records.AddRow({TDateTime{45356.0}, int32_t{1}, 1.5});
  const std::optional<TPackedRecords> packed = PackStagedRecords(rates, records);
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->Count(), 1u);

  records.AddRow({TDateTime{45356.4375}, "1.5", 1.5});
  try {
    PackStagedRecords(rates, records);
    FAIL() << "a date with a time of day packed";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'05.03.2024 10:30:00' is not a valid date");
  }
  EXPECT_FALSE(rates.DbSaving());

  // A number whose 15-digit rounding passes the largest double has no handheld form. The pack
  // check lets it by, so before it failed only on its Post, after the table had been emptied;
  // packed first, it fails before the handheld is touched.
  TStagedRecords huge;
  huge.Fields = {"IdCurrency", "DateCurs", "Curs"};
  huge.AddRow({int32_t{1}, TDateTime{45356.0}, 1.7976931348623157e308});
  EXPECT_NO_THROW(CheckRecordsPack(rates, huge));
  EXPECT_THROW(PackStagedRecords(rates, huge), EConvertError);

  rates.OnAfterInsert = [](TpfgPalmTable&) {};
  EXPECT_FALSE(PackStagedRecords(rates, records));
}

}  // namespace
