#include "palmdb/palm_cell.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "core/exceptions.h"
#include "core/text_conversions.h"
#include "palmdb/palm_remote_table.h"
#include "palmdb/record_layout.h"

namespace {

using Bytes = std::vector<uint8_t>;

const TFormatSettings kComma{',', '.', ':', TDateOrder::DayMonthYear};

// One field of every kind the cells hold as numbers, and a string.
class EveryKindTable : public TpfgPalmRemoteTable {
 public:
  EveryKindTable() : TpfgPalmRemoteTable("ptEveryKind") {
    FieldDefs().Add("B", ptByte);
    FieldDefs().Add("W", ptWord);
    FieldDefs().Add("L", ptLong);
    FieldDefs().Add("I", ptInt64);
    FieldDefs().Add("S", ptSingle);
    FieldDefs().Add("D", ptDouble);
    FieldDefs().Add("T", ptString);
  }
};

Bytes PackTexts(const TpfgPalmFieldDefs& defs, const std::vector<std::string>& texts) {
  Bytes record;
  LocalToRemoteRecord(defs, {}, texts, record, kComma);
  return record;
}

Bytes PackCells(const TpfgPalmFieldDefs& defs, const std::vector<TPalmCell>& cells) {
  Bytes record;
  LocalToRemoteRecord(defs, {}, cells, record, kComma);
  return record;
}

// The record's cells when every field holds the same number, as a caller's SetAsInteger or
// SetAsFloat leaves them, and the texts the same calls stored before cells existed.
std::vector<TPalmCell> FloatCells(double value, size_t count) {
  std::vector<TPalmCell> cells(count);
  for (TPalmCell& cell : cells) cell.SetFloat(value, kComma);
  return cells;
}

TEST(PalmCellTest, NumbersGiveTheBytesAndTheTextsOfTheirRegionalTexts) {
  EveryKindTable table;
  const TpfgPalmFieldDefs& defs = table.FieldDefs();
  for (const int32_t value : {0, 7, -2, 70000, std::numeric_limits<int32_t>::min()}) {
    std::vector<TPalmCell> cells(7);
    for (TPalmCell& cell : cells) cell.SetInteger(value);
    EXPECT_EQ(PackCells(defs, cells), PackTexts(defs, std::vector<std::string>(7, IntToStr(value)))) << value;
  }
  // Integer fields refuse a floating text the same way whatever holds it.
  for (const double value : {0.0, -0.0, 2.0, 1e20, 0.1 + 0.2, 1.0 / 3}) {
    std::vector<TPalmCell> floats = FloatCells(value, 7);
    std::vector<std::string> texts(7, FloatToStr(value, kComma));
    for (int integer_field = 0; integer_field < 4; ++integer_field) {
      floats[integer_field].SetInteger(5);
      texts[integer_field] = "5";
    }
    EXPECT_EQ(PackCells(defs, floats), PackTexts(defs, texts)) << value;
    for (const TPalmCell& cell : floats) EXPECT_EQ(cell.Text(kComma), texts[&cell - floats.data()]);
  }
}

TEST(PalmCellTest, FloatsReadBackAsTheirFifteenDigitTextsForAnyBitPattern) {
  std::mt19937_64 random(13);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    TPalmCell cell;
    cell.SetFloat(value, kComma);
    const std::string text = cell.Text(kComma);
    ASSERT_EQ(text, FloatToStr(value, kComma));
    ASSERT_EQ(std::bit_cast<uint64_t>(cell.RoundedFloat().value()), std::bit_cast<uint64_t>(StrToFloat(text, kComma)))
        << text;
  }
}

TEST(PalmCellTest, NonFiniteFloatsAndMismatchedKindsTakeTheTextsWay) {
  TPalmCell nan;
  nan.SetFloat(std::nan(""), kComma);
  EXPECT_EQ(nan.Kind(), TPalmCell::TKind::Text);
  EXPECT_EQ(nan.Text(kComma), "NAN");

  TpfgPalmRemoteTable table("ptScratch");
  table.FieldDefs().Add("L", ptLong);
  table.FieldDefs().Add("DT", ptDate);
  const auto pack_error = [&](std::vector<TPalmCell> cells) -> std::string {
    try {
      PackCells(table.FieldDefs(), cells);
    } catch (const EConvertError& error) {
      return error.what();
    }
    return "no error";
  };
  std::vector<TPalmCell> cells(2);
  cells[0].SetFloat(1.5, kComma);
  EXPECT_EQ(pack_error(cells), "'1,5' is not a valid integer value");
  cells[0].SetInteger(int64_t{1} << 40);
  EXPECT_EQ(pack_error(cells), "'1099511627776' is not a valid integer value");
  cells[0].SetInteger(1);
  cells[1].SetDate(TDateTime{38717.5});
  EXPECT_EQ(pack_error(cells), "'31.12.2005 12:00:00' is not a valid date");
  cells[1].SetInteger(5);
  EXPECT_EQ(pack_error(cells), "'5' is not a valid date");
  cells[1].SetDate(TDateTime{38717});
  EXPECT_EQ(PackCells(table.FieldDefs(), cells), (Bytes{0, 0, 0, 1, 0xCB, 0x9F}));
}

TEST(PalmCellTest, ReadRecordsKeepNumbersAndTheirTexts) {
  EveryKindTable table;
  const std::vector<std::string> texts = {"200", "70", "-2", "-9000000000", "0,5", "0,3", "x"};
  const Bytes record = PackTexts(table.FieldDefs(), texts);
  std::vector<TPalmCell> cells;
  ASSERT_TRUE(RemoteToLocalRecord(table.FieldDefs(), {}, record.data(), record.size(), cells, kComma));
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(cells[i].Text(kComma), texts[i]);
  EXPECT_EQ(cells[3].Integer(), -9000000000);
  EXPECT_EQ(cells[5].RoundedFloat(), 0.3);
  EXPECT_EQ(PackCells(table.FieldDefs(), cells), record);
  // The largest double's text rounds past it and reads as no number, however it is held.
  cells[5].SetFloat(std::numeric_limits<double>::max(), kComma);
  EXPECT_EQ(cells[5].RoundedFloat(), std::nullopt);
  EXPECT_THROW(PackCells(table.FieldDefs(), cells), EConvertError);
}

}  // namespace
