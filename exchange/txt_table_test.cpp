#include "exchange/txt_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <vector>

#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "exchange/append_text_line.h"
#include "exchange/exchange_errors.h"
#include "test_support/scratch_directory.h"

namespace {

struct TShownMessage {
  std::string Text;
  std::string Caption;
};

class TxtTableTest : public ::testing::Test {
 protected:
  TxtTableTest()
      : table_([this](const std::string& text, const std::string& caption) {
          shown_.push_back({text, caption});
        }) {
    table_.Directory = dir_.Path();
  }

  bool Load(const std::string& name, const std::string& bytes) {
    dir_.Write(name, bytes);
    table_.Clear();
    table_.FileName = name;
    return table_.Load();
  }

  std::vector<std::string> Walk(const std::string& field) {
    std::vector<std::string> values;
    while (!table_.Eof()) {
      values.emplace_back(table_.FieldByName(field).AsString());
      table_.Next();
    }
    return values;
  }

  TScratchDirectory dir_;
  std::vector<TShownMessage> shown_;
  TcsTXTTable table_;
};

TEST_F(TxtTableTest, WritesRecordsWithRegionalCommaAndDottedDate) {
  const TFormatSettings saved = CurrentFormats();
  TFormatSettings comma = saved;
  comma.DecimalSeparator = ',';
  SetCurrentFormats(comma);

  table_.FileName = "Order.txt";
  AppendTextLine(table_.Path(), "N;F;D;T");
  ASSERT_TRUE(table_.Load());
  table_.Append();
  table_.FieldByName("n").SetAsInteger(5);
  table_.FieldByName("f").SetAsFloat(12.5);
  table_.FieldByName("d").SetAsDateTime(EncodeDate(2005, 12, 31));
  table_.FieldByName("t").SetAsString("abc");
  table_.Post();
  // An appended record starts without values, whatever the one before held.
  table_.Append();
  table_.FieldByName("n").SetAsInteger(7);
  table_.Post();
  EXPECT_TRUE(table_.Save());
  SetCurrentFormats(saved);

  EXPECT_EQ(dir_.Read("Order.txt"), "N;F;D;T\r\n5;12,5;31.12.2005;abc;\r\n7;;;;\r\n");
  EXPECT_EQ(table_.RecordCount(), 2);
}

TEST_F(TxtTableTest, HeaderLosesQuotesAndTrailingDelimiter) {
  ASSERT_TRUE(Load("a.txt", "\"ID\";\"NAME\";\r\n1;x;\r\n"));
  ASSERT_EQ(table_.FieldCount(), 2);
  EXPECT_EQ(table_.Fields(0).FieldName(), "ID");
  EXPECT_EQ(table_.Fields(1).FieldName(), "NAME");

  ASSERT_TRUE(Load("b.txt", "A;;B\r\n"));
  ASSERT_EQ(table_.FieldCount(), 3);
  EXPECT_EQ(table_.Fields(1).FieldName(), "");
  EXPECT_EQ(table_.Fields(2).FieldName(), "B");
}

TEST_F(TxtTableTest, ShortLineLeavesLastValuesEmptyAndSurplusIsIgnored) {
  ASSERT_TRUE(Load("a.txt", "A;B;C\r\n1;2\r\n7;8;9;10;11;\r\n\"q\";;\r\n"));
  EXPECT_EQ(table_.FieldByName("A").AsString(), "1");
  EXPECT_EQ(table_.FieldByName("B").AsString(), "2");
  EXPECT_EQ(table_.FieldByName("C").AsString(), "");
  table_.Next();
  EXPECT_EQ(table_.FieldByName("C").AsString(), "9");
  table_.Next();
  EXPECT_EQ(table_.FieldByName("A").AsString(), "\"q\"");
  EXPECT_EQ(table_.FieldByName("B").AsString(), "");
}

TEST_F(TxtTableTest, AcceptsCrLfLfAndCrLineEnds) {
  ASSERT_TRUE(Load("a.txt", "ID\r\n1\n2\r3\r\n4"));
  EXPECT_EQ(table_.RecordCount(), 4);
  EXPECT_EQ(Walk("ID"), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(TxtTableTest, SortByIdIsNumericAndOtherKeysTextual) {
  ASSERT_TRUE(Load("TypePayment.txt", "ID;NAME\r\n10;a\r\n9;b\r\n100;c\r\n"));
  table_.SortBy("id");
  EXPECT_EQ(Walk("ID"), (std::vector<std::string>{"9", "10", "100"}));

  ASSERT_TRUE(Load("CurrencyCurs.txt", "IDCURRENCY;CURS\r\n2;1\r\n10;2\r\n1;3\r\n"));
  table_.SortBy("IDCURRENCY");
  EXPECT_EQ(Walk("IDCURRENCY"), (std::vector<std::string>{"1", "10", "2"}));
}

TEST_F(TxtTableTest, EqualKeysComeInTextOrderOfTheirLineNumbers) {
  std::string bytes = "ID;N\r\n";
  for (int line = 1; line <= 10; ++line) bytes += "5;" + std::to_string(line) + "\r\n";
  ASSERT_TRUE(Load("a.txt", bytes));
  table_.SortBy("ID");
  EXPECT_EQ(Walk("N"), (std::vector<std::string>{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(TxtTableTest, SortKeysIgnoreCaseAndIdsKeepTheirLastNineCharacters) {
  ASSERT_TRUE(Load("a.txt", "NAME\r\nb\r\nA\r\nC\r\n"));
  table_.SortBy("Name");
  EXPECT_EQ(Walk("NAME"), (std::vector<std::string>{"A", "b", "C"}));

  ASSERT_TRUE(Load("b.txt", "ID\r\n1000000001\r\n2\r\n"));
  table_.SortBy("ID");
  EXPECT_EQ(Walk("ID"), (std::vector<std::string>{"1000000001", "2"}));
}

TEST_F(TxtTableTest, HeaderOnlyFileIsAtItsEndWithOrWithoutSort) {
  ASSERT_TRUE(Load("CurrencyCurs.txt", "IDCURRENCY\r\n1\r\n2\r\n3\r\n"));
  table_.SortBy("IDCURRENCY");
  table_.Next();

  ASSERT_TRUE(Load("Note1.txt", "NAME\r\n"));
  EXPECT_EQ(table_.RecordCount(), 0);
  EXPECT_TRUE(table_.Eof());
  table_.SortBy("NAME");
  EXPECT_TRUE(table_.Eof());
  table_.Next();
  EXPECT_TRUE(table_.Eof());
  table_.First();
  EXPECT_TRUE(table_.Eof());
}

TEST_F(TxtTableTest, SortedWalkEndsAfterTheLastEntryAndFirstRestarts) {
  ASSERT_TRUE(Load("a.txt", "ID\r\n2\r\n1\r\n"));
  table_.SortBy("ID");
  EXPECT_EQ(Walk("ID"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "2");
  table_.First();
  EXPECT_FALSE(table_.Eof());
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "1");
}

TEST_F(TxtTableTest, FieldLookupIgnoresCaseAndMissingFieldIsShownThenThrown) {
  ASSERT_TRUE(Load("Customer.txt", "ID;NAME\r\n1;x\r\n"));
  ASSERT_NE(table_.FindField("name"), nullptr);
  EXPECT_EQ(table_.FindField("name")->FieldName(), "NAME");
  EXPECT_EQ(table_.FindField("Saldo"), nullptr);
  EXPECT_TRUE(shown_.empty());

  EXPECT_THROW(table_.FieldByName("CurrentSaldo"), ETXTFieldNotFound);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].Text, Ansi("Поля \"CurrentSaldo\" нет в таблице Customer.txt"));
  EXPECT_EQ(shown_[0].Caption, Ansi("Ошибка"));
}

TEST_F(TxtTableTest, MissingFileIsShownAndLoadFails) {
  table_.FileName = "Route.txt";
  EXPECT_FALSE(table_.Load());
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].Text, Ansi("Файл \"") + dir_.Path() + Ansi("Route.txt\" не найден"));
}

TEST_F(TxtTableTest, GoToBeyondTheEndIsShownAndChangesNothing) {
  ASSERT_TRUE(Load("a.txt", "ID\r\n1\r\n2\r\n"));
  table_.GoTo(2);
  table_.GoTo(4);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].Text, Ansi("Попытка обращения к несуществующей записи"));
  EXPECT_EQ(table_.RecNo(), 2);
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "2");
  table_.GoTo(3);
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "2");
}

TEST_F(TxtTableTest, FileNameAndDirectoryResolveWithoutRegardToCase) {
  dir_.Write("Customer.txt", "ID\r\n1\r\n");
  table_.Directory = dir_.Path().substr(0, dir_.Path().size() - 1);
  table_.FileName = "customer.TXT";
  ASSERT_TRUE(table_.Load());
  table_.Append();
  table_.FieldByName("ID").SetAsInteger(2);
  table_.Post();
  table_.Save();
  EXPECT_FALSE(dir_.Exists("customer.TXT"));
  EXPECT_EQ(dir_.Read("Customer.txt"), "ID\r\n1\r\n2;\r\n");
}

TEST_F(TxtTableTest, WindowsBytesPassUntouched) {
  const std::string name = Ansi("Ёлка «№1»");
  ASSERT_TRUE(Load("a.txt", "NAME;\r\n" + name + ";\r\n"));
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), name);
  table_.Save();
  EXPECT_EQ(dir_.Read("a.txt"), "NAME;\r\n" + name + ";\r\n");
}

TEST_F(TxtTableTest, ConversionsFollowTheRegionalRules) {
  ASSERT_TRUE(Load("a.txt", "I;F;C;D\r\n-7;1.5;1.23456;05.03.2024\r\n;x;99.99999;\r\n"));
  EXPECT_EQ(table_.FieldByName("I").AsInteger(), -7);
  EXPECT_DOUBLE_EQ(table_.FieldByName("F").AsFloat(), 1.5);
  EXPECT_DOUBLE_EQ(table_.FieldByName("C").AsCurrency(), 1.2346);
  EXPECT_EQ(table_.FieldByName("D").AsDateTime(), EncodeDate(2024, 3, 5));
  table_.Next();
  EXPECT_THROW(table_.FieldByName("I").AsInteger(), EConvertError);
  EXPECT_THROW(table_.FieldByName("F").AsFloat(), EConvertError);
  EXPECT_DOUBLE_EQ(table_.FieldByName("C").AsCurrency(), 100.0);
  EXPECT_THROW(table_.FieldByName("D").AsDateTime(), EConvertError);
  for (const int32_t value : {0, -7, 2147483647, -2147483647 - 1}) {
    table_.FieldByName("I").SetAsInteger(value);
    EXPECT_EQ(table_.FieldByName("I").AsString(), std::to_string(value));
  }
}

TEST_F(TxtTableTest, BadFilesFailWithAnErrorNamingTheFile) {
  EXPECT_THROW(Load("empty.txt", ""), ETXTTableError);
  EXPECT_THROW(Load("semi.txt", ";\r\n1;\r\n"), ETXTTableError);
  try {
    static const char kBytes[] =
        "ID\r\n1\r\n2\0"
        "3\r\n";
    Load("nul2.txt", std::string(kBytes, sizeof kBytes - 1));
    ADD_FAILURE() << "a NUL byte was accepted";
  } catch (const ETXTTableError& error) {
    EXPECT_NE(std::string(error.what()).find("nul2.txt: line 3"), std::string::npos) << error.what();
  }
}

TEST_F(TxtTableTest, LoadsATenMegabyteLine) {
  const std::string big(10 * 1024 * 1024, 'x');
  ASSERT_TRUE(Load("big.txt", "A;B\r\n" + big + ";1\r\n"));
  EXPECT_EQ(table_.FieldByName("A").AsString().size(), big.size());
  EXPECT_EQ(table_.FieldByName("B").AsInteger(), 1);
}

TEST_F(TxtTableTest, ReadValuesStayWhatTheyWereWhileLinesArePostedAndAppended) {
  ASSERT_TRUE(Load("t.txt", "A;B\r\nx;1\r\ny;2\r\n"));
  const std::string_view first = table_.FieldByName("A").AsString();
  table_.FieldByName("A").SetAsString("changed");
  table_.Post();
  for (int i = 0; i < 100; ++i) {
    table_.Append();
    table_.FieldByName("A").SetAsString(std::string(40, 'z'));
    table_.Post();
  }
  EXPECT_EQ(first, "x");
  table_.GoTo(1);
  EXPECT_EQ(table_.FieldByName("A").AsString(), "changed");
  EXPECT_EQ(table_.FieldByName("B").AsInteger(), 1);
  table_.GoTo(2);
  EXPECT_EQ(table_.FieldByName("A").AsString(), "y");
  ASSERT_TRUE(table_.Save());
  EXPECT_EQ(dir_.Read("t.txt").substr(0, 22), "A;B\r\nchanged;1;\r\ny;2\r\n");
}

TEST_F(TxtTableTest, PostAfterTheEndIsAnError) {
  ASSERT_TRUE(Load("a.txt", "ID\r\n"));
  EXPECT_THROW(table_.Post(), ETXTTableError);
}

TEST(TxtFieldTest, NumbersWrittenInPlaceGiveTheirTextsWhateverCameBefore) {
  SetCurrentFormats(TFormatSettings{});
  TcsTXTField field("F");
  field.SetAsString("a long text that the number replaces");
  field.SetAsInteger(-2147483647 - 1);
  EXPECT_EQ(field.AsString(), "-2147483648");
  field.SetAsFloat(-1234.5);
  EXPECT_EQ(field.AsString(), "-1234.5");
  field.SetAsFloat(1.0 / 3);
  EXPECT_EQ(field.AsString(), "0.333333333333333");
  field.SetAsFloat(-1.5e-300);
  EXPECT_EQ(field.AsString(), "-1.5E-300");
  field.SetAsFloat(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(field.AsString(), "NAN");
  field.SetAsFloat(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(field.AsString(), "-INF");
  field.SetAsString("text again");
  EXPECT_EQ(field.AsString(), "text again");
  field.SetAsInteger(7);
  EXPECT_EQ(field.AsInteger(), 7);
}

TEST(AppendTextLineTest, CreatesThenAppendsAndIgnoresFailures) {
  TScratchDirectory dir;
  AppendTextLine(dir.Path("Cash.txt"), "ID;SUMMA;");
  AppendTextLine(dir.Path("Cash.txt"), "1;2;");
  EXPECT_EQ(dir.Read("Cash.txt"), "ID;SUMMA;\r\n1;2;\r\n");
  AppendTextLine(dir.Path("cash.TXT"), "2;3;");
  EXPECT_EQ(dir.Read("Cash.txt"), "ID;SUMMA;\r\n1;2;\r\n2;3;\r\n");
  EXPECT_FALSE(dir.Exists("cash.TXT"));
  AppendTextLine("", "x");
  AppendTextLine(dir.Path("missing/dir/x.txt"), "x");
  EXPECT_FALSE(dir.Exists("missing"));
}

}  // namespace
