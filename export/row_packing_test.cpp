#include "export/row_packing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "palmdb/palm_catalogue.h"
#include "test_support/scratch_directory.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr TExportMapping kRouteMappings[] = {{"Id", "Id", Integer},
                                             {"Name", "Name", Text, Required, Required, 8},
                                             {"Day", "DayOfWeek", Integer},
                                             {"Nomer", "Nomer", Integer, Optional, Optional, 0, 3, 3},
                                             {"Summa", "SummaOrder", Currency}};
constexpr const char* kByDayNomerId[] = {"DayOfWeek", "Nomer", "Id"};

constexpr TExportMapping kRateMappings[] = {
    {"IdCurrency", "IdCurrency", Integer}, {"DateCurs", "DateCurs", Date}, {"Curs", "Curs", Float}};
constexpr const char* kById[] = {"IdCurrency"};

class RowPackingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentFormats(TFormatSettings{});
    session_.Directory = directory_.Path();
    session_.Settings.ExchangeFormat = TExchangeFormat::TXT;
  }

  void OpenText(const std::string& text) {
    directory_.Write("Input.txt", text);
    reader_.Open("input.txt", {});
  }

  // The records as the staged road writes them: read, ordered, packed.
  std::vector<std::string> StagedRoad(TpfgPalmRemoteTable& table, std::span<const TExportMapping> mappings,
                                      std::span<const char* const> sort_fields) {
    TStagedRecords records = ReadStagedRecords(reader_, mappings, TExchangeFormat::TXT);
    SortStagedRecords(records, sort_fields);
    std::optional<TPackedRecords> packed = PackStagedRecords(table, records);
    return packed ? Drained(*packed) : std::vector<std::string>{"none"};
  }

  static std::vector<std::string> Drained(TPackedRecords& packed) {
    std::vector<std::string> records;
    packed.Drain([&](std::span<const uint8_t> bytes) { records.emplace_back(bytes.begin(), bytes.end()); });
    return records;
  }

  TScratchDirectory directory_;
  TExchangeSession session_;
  TcsTXTTable text_table_{[](const std::string&, const std::string&) {}};
  TClientDataSet packet_table_;
  TReferenceReader reader_{session_, text_table_, packet_table_};
  TPalmCatalogue catalogue_;
};

// Rows packed as they are read and walked in key order are the records the staged road writes,
// byte for byte and in the same order, equal keys in the order they came.
TEST_F(RowPackingTest, PacksTheRecordsTheStagedRoadPacksInItsOrder) {
  std::mt19937 random(11);
  std::string text = "Id;Name;Day;Nomer;Summa\r\n";
  for (int id = 1; id <= 3000; ++id) {
    const int day = static_cast<int>(random() % 7);
    const int nomer = static_cast<int>(random() % 4);
    text += std::to_string(id % 500) + ";point number " + std::to_string(id) + ";" + std::to_string(day) + ";" +
            std::to_string(nomer) + ";" + std::to_string(id) + ".125;\r\n";
  }
  OpenText(text);
  const std::vector<std::string> staged = StagedRoad(catalogue_.ptRoute, kRouteMappings, kByDayNomerId);
  OpenText(text);
  std::vector<int32_t> days;
  std::optional<TPackedRecords> packed =
      ReadPackedRecords(reader_, kRouteMappings, TExchangeFormat::TXT, catalogue_.ptRoute, kByDayNomerId,
                        [&days](std::span<const TStagedInput> row) { days.push_back(std::get<int32_t>(row[2])); });
  ASSERT_TRUE(packed);
  EXPECT_EQ(days.size(), 3000u);
  EXPECT_EQ(Drained(*packed), staged);
  EXPECT_FALSE(catalogue_.ptRoute.Active());
}

// A row that does not pack sends the step back to the staged road, which reads every row first:
// a value that does not convert in a later row is the error then, as it always was. A value that
// does not convert before any row fails to pack is the error of either road.
TEST_F(RowPackingTest, ARowThatDoesNotPackLeavesTheErrorToTheStagedRoad) {
  const std::string header = "IdCurrency;DateCurs;Curs\r\n";
  const std::string timed = "1;05.03.2024 10:30;1.5;\r\n";
  OpenText(header + "2;05.03.2024;1.5;\r\n" + timed + "x;05.03.2024;1.5;\r\n");
  EXPECT_FALSE(ReadPackedRecords(reader_, kRateMappings, TExchangeFormat::TXT, catalogue_.ptCurrencyCurs, kById, {}));
  OpenText(header + "2;05.03.2024;1.5;\r\n" + timed + "x;05.03.2024;1.5;\r\n");
  try {
    StagedRoad(catalogue_.ptCurrencyCurs, kRateMappings, kById);
    FAIL() << "the staged road read a value that does not convert";
  } catch (const EConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("'x'"), std::string::npos) << error.what();
  }

  OpenText(header + "x;05.03.2024;1.5;\r\n" + timed);
  try {
    ReadPackedRecords(reader_, kRateMappings, TExchangeFormat::TXT, catalogue_.ptCurrencyCurs, kById, {});
    FAIL() << "a value that does not convert was packed";
  } catch (const EConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("'x'"), std::string::npos) << error.what();
  }

  catalogue_.ptCurrencyCurs.OnBeforePost = [](TpfgPalmTable&) {};
  OpenText(header + "2;05.03.2024;1.5;\r\n");
  EXPECT_FALSE(ReadPackedRecords(reader_, kRateMappings, TExchangeFormat::TXT, catalogue_.ptCurrencyCurs, kById, {}));
}

}  // namespace
