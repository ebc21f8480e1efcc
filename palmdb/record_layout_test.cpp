#include "palmdb/record_layout.h"

#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "core/text_conversions.h"
#include "palmdb/big_endian.h"
#include "palmdb/handheld_encodings.h"
#include "palmdb/modified_memory_stream.h"
#include "palmdb/palm_catalogue.h"
#include "palmdb/palm_errors.h"

namespace {

using Bytes = std::vector<uint8_t>;

const TFormatSettings kCFormats{};

class RecordLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentFormats(kCFormats); }
  void TearDown() override { SetCurrentFormats(kCFormats); }

  Bytes Pack(const TpfgPalmTable& table, std::vector<std::string> texts, TRecordLayout layout = {}) {
    Bytes record;
    LocalToRemoteRecord(table.FieldDefs(), layout, texts, record, CurrentFormats());
    return record;
  }
  std::vector<std::string> Unpack(const TpfgPalmTable& table, const Bytes& record, TRecordLayout layout = {}) {
    std::vector<std::string> texts;
    RemoteToLocalRecord(table.FieldDefs(), layout, record.data(), record.size(), texts, CurrentFormats());
    return texts;
  }

  TPalmCatalogue catalogue;
};

// A table of our own making for layouts the catalogue does not use.
class ScratchTable : public TpfgPalmRemoteTable {
 public:
  ScratchTable() : TpfgPalmRemoteTable("ptScratch") {}
};

TEST_F(RecordLayoutTest, OrderLineIsTwentyFourBigEndianBytes) {
  const Bytes record = Pack(catalogue.ptOrderItem, {"7", "-2", "1.5", "0.1"});
  const Bytes expected = {0x00, 0x00, 0x00, 0x07, 0xFF, 0xFF, 0xFF, 0xFE, 0x3F, 0xF8, 0x00, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A};
  EXPECT_EQ(record, expected);
  EXPECT_EQ(Unpack(catalogue.ptOrderItem, record), (std::vector<std::string>{"7", "-2", "1.5", "0.1"}));
}

TEST_F(RecordLayoutTest, RateRecordIsFourteenBytesWithPackedDateWord) {
  const Bytes record = Pack(catalogue.ptCurrencyCurs, {"2", "31.12.2005", "1.5"});
  const Bytes expected = {0x00, 0x00, 0x00, 0x02, 0xCB, 0x9F, 0x3F, 0xF8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(record, expected);
  EXPECT_EQ(Unpack(catalogue.ptCurrencyCurs, record), (std::vector<std::string>{"2", "31.12.2005", "1.5"}));
}

TEST_F(RecordLayoutTest, EmptyOrderIsFortyFourBytesWithTextsBetweenDateWords) {
  const Bytes empty = Pack(catalogue.ptOrder, std::vector<std::string>(13));
  EXPECT_EQ(empty.size(), 44u);

  std::vector<std::string> texts(13);
  texts[2] = "10:50";
  texts[3] = "14.03.2024";
  const Bytes record = Pack(catalogue.ptOrder, texts);
  ASSERT_EQ(record.size(), 44u + 5);
  // Id (4), OrderDate (2), OrderTime "10:50" and its zero, then DeliverDate at 7 + 5.
  EXPECT_EQ(record[6 + 5], 0x00);
  EXPECT_EQ(ReadBigEndian(record.data(), record.size(), 12, 2), (2024u - 1904) * 512 + 3 * 32 + 14);
  const auto back = Unpack(catalogue.ptOrder, record);
  EXPECT_EQ(back[2], "10:50");
  EXPECT_EQ(back[3], "14.03.2024");
  EXPECT_EQ(back[1], "0");  // the date word 0 names no date
}

TEST_F(RecordLayoutTest, EmptyNoteIsOneZeroByte) {
  EXPECT_EQ(Pack(catalogue.ptNote1, {""}), Bytes{0x00});
  EXPECT_EQ(Unpack(catalogue.ptNote1, Bytes{0x00}), std::vector<std::string>{""});
}

TEST_F(RecordLayoutTest, IntegersKeepTheirLowBytes) {
  ScratchTable table;
  table.FieldDefs().Add("W", ptWord);
  table.FieldDefs().Add("B", ptByte);
  table.FieldDefs().Add("L", ptLong);
  table.FieldDefs().Add("Q", ptInt64);
  const Bytes record = Pack(table, {"70000", "257", "-2", "-2"});
  const Bytes expected = {0x11, 0x70, 0x01, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE};
  EXPECT_EQ(record, expected);
  EXPECT_EQ(Unpack(table, record), (std::vector<std::string>{"4464", "1", "-2", "-2"}));
}

TEST_F(RecordLayoutTest, EmptyRecordReadsAllFieldsEmptyEvenWhenStrict) {
  std::vector<std::string> texts = {"stale"};
  EXPECT_FALSE(RemoteToLocalRecord(catalogue.ptOrder.FieldDefs(), {}, nullptr, 0, texts, kCFormats));
  EXPECT_EQ(texts, std::vector<std::string>(13));
}

TEST_F(RecordLayoutTest, RecordEndingAfterAFieldDependsOnStrictFields) {
  const Bytes first_two = {0, 0, 0, 1, 0, 0, 0, 2};
  try {
    Unpack(catalogue.ptOrderItem, first_two);
    FAIL() << "a short record must fail";
  } catch (const EPalmDBError& error) {
    EXPECT_STREQ(error.what(), "A mapped field went beyond the end of the physical record structure");
  }
  ScratchTable table;
  table.FieldDefs().Add("A", ptLong);
  table.FieldDefs().Add("B", ptLong);
  table.FieldDefs().Add("C", ptDouble);
  table.FieldDefs().SetStrictFields(false);
  EXPECT_EQ(Unpack(table, first_two), (std::vector<std::string>{"1", "2", ""}));
}

TEST_F(RecordLayoutTest, CutFixedFieldFailsWhateverStrictFieldsSays) {
  ScratchTable table;
  table.FieldDefs().Add("A", ptLong);
  table.FieldDefs().Add("B", ptDouble);
  table.FieldDefs().SetStrictFields(false);
  const Bytes cut = {0, 0, 0, 1, 0x3F, 0xF8};
  std::vector<std::string> texts;
  EXPECT_THROW(RemoteToLocalRecord(table.FieldDefs(), {}, cut.data(), cut.size(), texts, kCFormats), EPalmDBError);
  EXPECT_EQ(texts, (std::vector<std::string>{"1", ""}));  // the fields before the failure keep their texts
}

TEST_F(RecordLayoutTest, CellsOfTheRecordReadBeforeNeverOutliveAShorterOrFailingRecord) {
  ScratchTable table;
  table.FieldDefs().Add("A", ptLong);
  table.FieldDefs().Add("B", ptString);
  table.FieldDefs().Add("C", ptLong);
  table.FieldDefs().SetStrictFields(false);
  const Bytes full = {0, 0, 0, 1, 'x', 0, 0, 0, 0, 3};
  const auto texts = [](const std::vector<TPalmCell>& cells) {
    std::vector<std::string> out;
    for (const TPalmCell& cell : cells) out.push_back(cell.Text(kCFormats));
    return out;
  };
  std::vector<TPalmCell> cells;
  const auto read_full = [&] {
    ASSERT_TRUE(RemoteToLocalRecord(table.FieldDefs(), {}, full.data(), full.size(), cells, kCFormats));
    ASSERT_EQ(texts(cells), (std::vector<std::string>{"1", "x", "3"}));
  };

  read_full();
  const Bytes ends_early = {0, 0, 0, 7};
  RemoteToLocalRecord(table.FieldDefs(), {}, ends_early.data(), ends_early.size(), cells, kCFormats);
  EXPECT_EQ(texts(cells), (std::vector<std::string>{"7", "", ""}));

  read_full();
  const Bytes cut = {0, 0, 0, 7, 'y', 0, 0, 0};
  EXPECT_THROW(RemoteToLocalRecord(table.FieldDefs(), {}, cut.data(), cut.size(), cells, kCFormats), EPalmDBError);
  EXPECT_EQ(texts(cells), (std::vector<std::string>{"7", "y", ""}));

  read_full();
  EXPECT_FALSE(RemoteToLocalRecord(table.FieldDefs(), {}, nullptr, 0, cells, kCFormats));
  EXPECT_EQ(texts(cells), (std::vector<std::string>{"", "", ""}));

  read_full();
  const TpfgPalmReadFieldEvent failing_hook = [](TpfgPalmTable&, const uint8_t*, size_t, int index, size_t&,
                                                 std::string&) {
    if (index == 1) throw EPalmDBError("the hook failed");
    throw EAbort();
  };
  const TRecordHooks hooks{&table, &failing_hook, nullptr};
  EXPECT_THROW(RemoteToLocalRecord(table.FieldDefs(), {}, full.data(), full.size(), cells, kCFormats, hooks),
               EPalmDBError);
  EXPECT_EQ(texts(cells), (std::vector<std::string>{"1", "", ""}));
}

TEST_F(RecordLayoutTest, UnterminatedStringStopsAtTheRecordsEnd) {
  const Bytes record = {'a', 'b', 'c'};
  EXPECT_EQ(Unpack(catalogue.ptNote1, record), std::vector<std::string>{"abc"});
  // A later field then lies beyond the record.
  EXPECT_THROW(Unpack(catalogue.ptTypePayment, Bytes{0, 0, 0, 1, 'x'}), EPalmDBError);
}

TEST_F(RecordLayoutTest, FixedSizeStringsArePaddedAndCut) {
  ScratchTable table;
  table.FieldDefs().Add("S", ptString, 4);
  table.FieldDefs().Add("C", ptCustom, 3);
  EXPECT_EQ(Pack(table, {"ab", "xyzw"}), (Bytes{'a', 'b', 0, 0, 'x', 'y', 'z'}));
  EXPECT_EQ(Pack(table, {"abcdef", ""}), (Bytes{'a', 'b', 'c', 'd', 0, 0, 0}));
  EXPECT_EQ(Unpack(table, Bytes{'a', 'b', 'c', 'd', 'x', 0, 'z'}),
            (std::vector<std::string>{"abcd", std::string("x\0z", 3)}));
}

TEST_F(RecordLayoutTest, NumAlignPutsEvenWidthsAtEvenOffsets) {
  ScratchTable table;
  table.FieldDefs().Add("B", ptByte);
  table.FieldDefs().Add("W", ptWord);
  table.FieldDefs().Add("S", ptString);
  table.FieldDefs().Add("L", ptLong);
  const TRecordLayout layout{true, false};
  const Bytes record = Pack(table, {"1", "2", "ab", "3"}, layout);
  EXPECT_EQ(record, (Bytes{1, 0, 0, 2, 'a', 'b', 0, 0, 0, 0, 0, 3}));
  EXPECT_EQ(Unpack(table, record, layout), (std::vector<std::string>{"1", "2", "ab", "3"}));
}

TEST_F(RecordLayoutTest, AlignmentRoundsAfterFieldsAndAfterStringsOnlyWhenAsked) {
  ScratchTable table;
  table.FieldDefs().Add("B", ptByte);
  table.FieldDefs().Add("S", ptString);
  table.FieldDefs().Add("T", ptString);
  table.FieldDefs().Add("L", ptLong);
  table.FieldDefs().SetAlignment(4);
  const std::vector<std::string> texts = {"1", "a", "bc", "2"};
  const Bytes packed = Pack(table, texts);
  EXPECT_EQ(packed, (Bytes{1, 0, 0, 0, 'a', 0, 'b', 'c', 0, 0, 0, 0, 2, 0, 0, 0}));  // the last field is rounded too
  EXPECT_EQ(Unpack(table, packed), texts);
  // With opStringsAlign the rounding follows the last string of a run, not the ones inside it.
  const TRecordLayout strings_align{false, true};
  const Bytes aligned = Pack(table, texts, strings_align);
  EXPECT_EQ(aligned, (Bytes{1, 0, 0, 0, 'a', 0, 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(Unpack(table, aligned, strings_align), texts);
}

TEST_F(RecordLayoutTest, CustomerOptionChangesNothingWithoutAlignment) {
  std::vector<std::string> texts = {"1", "C1", "Name", "Addr", "5", "Mon", "12.5", "2", "0", "3"};
  const Bytes plain = Pack(catalogue.ptCustomer, texts);
  const Bytes aligned = Pack(catalogue.ptCustomer, texts, TRecordLayout{false, true});
  EXPECT_EQ(plain, aligned);
  EXPECT_EQ(plain.size(), 32u + 3 + 5 + 5 + 4);
}

TEST_F(RecordLayoutTest, PackingErrorsNameTheText) {
  auto expect_error = [&](std::vector<std::string> texts, const char* message) {
    try {
      Pack(catalogue.ptCurrencyCurs, texts);
      ADD_FAILURE() << message;
    } catch (const EConvertError& error) {
      EXPECT_STREQ(error.what(), message);
    }
  };
  expect_error({"1.5", "", ""}, "'1.5' is not a valid integer value");
  expect_error({"1", "31.12.2005 10:00:00", ""}, "'31.12.2005 10:00:00' is not a valid date");
  expect_error({"1", "", "x"}, "'x' is not a valid floating point value");
}

TEST_F(RecordLayoutTest, DateOutsideTheHandheldsYearsIsRefused) {
  EXPECT_THROW(Pack(catalogue.ptCurrencyCurs, {"1", "31.12.1903", "0"}), EPalmDBError);
  EXPECT_THROW(Pack(catalogue.ptCurrencyCurs, {"1", "01.01.2032", "0"}), EPalmDBError);
  EXPECT_EQ(Pack(catalogue.ptCurrencyCurs, {"1", "31.12.2031", "0"})[4], 0xFF);
}

TEST_F(RecordLayoutTest, UnreadableNumbersAndDatesReadAsZero) {
  // Day 31 of February; a NaN double.
  const Bytes record = {0, 0, 0, 1, 0x02, 0x5F, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Unpack(catalogue.ptCurrencyCurs, record), (std::vector<std::string>{"1", "0", "0"}));
  EXPECT_EQ(ParsePalmDateTime("0").Value, 0.0);
}

TEST_F(RecordLayoutTest, TimeAndDateTimeEncodings) {
  ScratchTable table;
  table.FieldDefs().Add("T", ptTime);
  table.FieldDefs().Add("D", ptDateTime);
  table.FieldDefs().Add("F", ptSingle);
  const Bytes record = Pack(table, {"", "31.12.2005 10:20:30", "0.5"});
  const Bytes expected = {0xFF, 0xFF, 0, 30, 0, 20, 0, 10, 0, 31, 0, 12, 0x07, 0xD5, 0, 6, 0x3F, 0x00, 0x00, 0x00};
  EXPECT_EQ(record, expected);
  EXPECT_EQ(Unpack(table, record), (std::vector<std::string>{"", "31.12.2005 10:20:30", "0.5"}));

  EXPECT_EQ(Pack(table, {"08:05:59", "", ""}), (Bytes{8, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const Bytes bad_time = {25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Unpack(table, bad_time), (std::vector<std::string>{"0", "30.12.1899", "0"}));
}

TEST_F(RecordLayoutTest, RegionalFormatsShapeTheTexts) {
  SetCurrentFormats(TFormatSettings{',', '/', ':', TDateOrder::MonthDayYear});
  const Bytes record = Pack(catalogue.ptCurrencyCurs, {"2", "12/31/2005", "1,5"});
  EXPECT_EQ(record[4], 0xCB);
  EXPECT_EQ(Unpack(catalogue.ptCurrencyCurs, record), (std::vector<std::string>{"2", "12/31/2005", "1,5"}));
}

TEST_F(RecordLayoutTest, DoublesTravelWithFifteenSignificantDigits) {
  const Bytes record = Pack(catalogue.ptOrderItem, {"1", "1", "0.1234567890123456789", "1E20"});
  EXPECT_EQ(Unpack(catalogue.ptOrderItem, record)[2], "0.123456789012346");
  EXPECT_EQ(Unpack(catalogue.ptOrderItem, record)[3], "1E20");
}

TEST_F(RecordLayoutTest, FieldHooksComeFirstAndAbortHandsTheFieldBack) {
  TpfgPalmReadFieldEvent read = [](TpfgPalmTable&, const uint8_t* data, size_t, int index, size_t& position,
                                   std::string& text) {
    if (index != 0) throw EAbort();
    text = "hooked " + std::to_string(data[position]);
    position += 4;
  };
  TpfgPalmWriteFieldEvent write = [](TpfgPalmTable&, int index, TPalmBytes& bytes) {
    if (index != 1) throw EAbort();
    bytes = {0xAA, 0xBB};
  };
  TRecordHooks hooks{&catalogue.ptOrderItem, &read, &write};
  std::vector<uint8_t> record;
  const std::vector<std::string> texts = {"1", "ignored", "1.5", "0"};
  LocalToRemoteRecord(catalogue.ptOrderItem.FieldDefs(), {}, texts, record, kCFormats, hooks);
  ASSERT_EQ(record.size(), 4u + 2 + 8 + 8);
  EXPECT_EQ(record[4], 0xAA);
  EXPECT_EQ(record[6], 0x3F);
  std::vector<std::string> back;
  const Bytes plain = Pack(catalogue.ptOrderItem, {"9", "2", "1.5", "0"});
  RemoteToLocalRecord(catalogue.ptOrderItem.FieldDefs(), {}, plain.data(), plain.size(), back, kCFormats, hooks);
  EXPECT_EQ(back, (std::vector<std::string>{"hooked 0", "2", "1.5", "0"}));
}

TEST(ModifiedMemoryStreamTest, RemembersWritesResizesAndLoads) {
  TpfgModifiedMemoryStream stream;
  EXPECT_FALSE(stream.Modified());
  stream.Write("ab", 2);
  EXPECT_TRUE(stream.Modified());
  stream.Seek(1);
  stream.Write("cd", 2);
  EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{'a', 'c', 'd'}));
  char read[4] = {};
  stream.Seek(1);
  EXPECT_EQ(stream.Read(read, 4), 2u);
  EXPECT_STREQ(read, "cd");
  stream.Reset();
  EXPECT_FALSE(stream.Modified());
  stream.SetSize(2);
  EXPECT_TRUE(stream.Modified());
  EXPECT_EQ(stream.Size(), 2u);
}

TEST(BigEndianTest, ReverseValAndBoundsChecks) {
  EXPECT_EQ(ReverseVal(2, 0x1234), 0x3412u);
  EXPECT_EQ(ReverseVal(4, 0xAABBCCDD), 0xDDCCBBAAu);
  EXPECT_EQ(ReverseVal(8, 0x0102030405060708ull), 0x0807060504030201ull);
  EXPECT_EQ(ReverseVal(1, 0x1FF), 0xFFu);
  try {
    ReverseVal(9, 0);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Illegal # Bytes for ReverseVal");
  }
  EXPECT_THROW(ReverseVal(0, 0), Exception);
  const uint8_t data[3] = {1, 2, 3};
  EXPECT_EQ(ReadBigEndian(data, 3, 1, 2), 0x0203u);
  EXPECT_THROW(ReadBigEndian(data, 3, 2, 2), EPalmDBError);
  EXPECT_THROW(ReadBigEndian(data, 3, 4, 1), EPalmDBError);
}

TEST(DateWordTest, PacksAndUnpacks) {
  EXPECT_EQ(DateToPalmDateWord(EncodeDate(2005, 12, 31)), 0xCB9F);
  EXPECT_EQ(DateToPalmDateWord(TDateTime{}), 0);
  TDateTime date;
  ASSERT_TRUE(TryPalmDateWordToDate(0xCB9F, date));
  EXPECT_EQ(date, EncodeDate(2005, 12, 31));
  EXPECT_FALSE(TryPalmDateWordToDate(0, date));
}

}  // namespace
