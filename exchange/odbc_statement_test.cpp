// The access layer's pieces that need no driver: parameters, connection lines, binding and
// column types, return-code texts, field values and the error dialog model.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/cp1251.h"
#include "exchange/odbc_connection_lines.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_diagnostics.h"
#include "exchange/odbc_error_dialog.h"
#include "exchange/odbc_parameter_binding.h"
#include "exchange/odbc_parameter_parser.h"
#include "exchange/odbc_query.h"
#include "exchange/odbc_result_columns.h"

namespace {

using Names = std::vector<std::string>;

TEST(OdbcParameterParser, OrderLineInsertGivesFourParametersAndFourQuestionMarks) {
  const TParsedStatement parsed = ParseStatementParameters(
      "insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values "
      "(:idOrder,:IdProduct,:Quantity,:Price)");
  EXPECT_EQ(parsed.Names, (Names{"idOrder", "IdProduct", "Quantity", "Price"}));
  EXPECT_EQ(parsed.DriverText, "insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values (?,?,?,?)");
}

TEST(OdbcParameterParser, NamesEndAtLineBreaksBlanksAndPunctuation) {
  const TParsedStatement parsed = ParseStatementParameters(":a\n:b\r:c :d):e,:f;:g");
  EXPECT_EQ(parsed.Names, (Names{"a", "b", "c", "d", "e", "f", "g"}));
  EXPECT_EQ(parsed.DriverText, "?\n?\r? ?)?,?;?");
}

TEST(OdbcParameterParser, DoubleColonIsOneLiteralColonAndQuotedColonsStay) {
  const TParsedStatement parsed =
      ParseStatementParameters("select a::b, ':x', \"::y :z\" from t where c = :c and d = '12:30'");
  EXPECT_EQ(parsed.Names, (Names{"c"}));
  EXPECT_EQ(parsed.DriverText, "select a:b, ':x', \"::y :z\" from t where c = ? and d = '12:30'");
}

TEST(OdbcParameterParser, QuotedNamesRepeatedNamesAndLoneColons) {
  const TParsedStatement parsed = ParseStatementParameters("values (:\"my name\", :'b', :x, :x, : , :");
  EXPECT_EQ(parsed.Names, (Names{"my name", "b", "x", "x"}));
  EXPECT_EQ(parsed.DriverText, "values (?, ?, ?, ?, : , :");
}

TEST(OdbcConnectionLines, FoxProLinesJoinWithoutBracesOrTrailingSemicolon) {
  TmDataBase database;
  database.Params = DbaseConnectionLines("Microsoft FoxPro VFP Driver (*.dbf)", "/home/u/Default/");
  EXPECT_EQ(database.ConnectionString(),
            "DRIVER=Microsoft FoxPro VFP Driver (*.dbf);SourceDB=/home/u/Default/;SourceType=DBF;"
            "Exclusive=No;BackgroundFetch=Yes;Collate=RUSSIAN");
}

TEST(OdbcConnectionLines, DbaseFamilyAndAnswersDatabase) {
  EXPECT_TRUE(IsVfpDriver("my vfp driver"));
  EXPECT_FALSE(IsVfpDriver("Microsoft dBase-Treiber (*.dbf)"));
  EXPECT_EQ(DbaseConnectionLines("Microsoft dBase Driver (*.dbf)", "/x/"),
            (Names{"DRIVER=Microsoft dBase Driver (*.dbf)", "DefaultDir=/x/", "SourceDB=/x/", "SourceType=DBF",
                   "Exclusive=No", "BackgroundFetch=Yes", "FIL=dBase III", "DriverId=21", "MaxBufferSize=2048",
                   "PageTimeout=5"}));
  TmDataBase database;
  database.Params = AnswersConnectionLines("/x/answer.mdb");
  EXPECT_EQ(database.ConnectionString(),
            "DRIVER=Microsoft Access Driver (*.mdb);DriverId=25;MaxBufferSize=2048;PageTimeout=5;"
            "DBQ=/x/answer.mdb;FIL=MS Access");
  EXPECT_EQ(database.DataBaseName(), "");
  database.SetDataBaseName("answers");
  EXPECT_EQ(database.Params.back(), "DSN=answers");
  EXPECT_EQ(database.DataBaseName(), "answers");
}

TEST(OdbcParameterBinding, TimestampColumnSizeCarriesTheMilliseconds) {
  EXPECT_EQ(TimestampColumnSize(0), 19u);
  EXPECT_EQ(TimestampColumnSize(123), 23u);
  EXPECT_EQ(TimestampColumnSize(500), 23u);
  EXPECT_EQ(TimestampColumnSize(50), 22u);
  // One digit of milliseconds still needs three digits of fraction: ".005".
  EXPECT_EQ(TimestampColumnSize(5), 23u);
}

TEST(OdbcParameterBinding, EveryDataTypeGetsItsSqlType) {
  struct Case {
    TOdbcDataType type;
    TOdbcValue value;
    SQLSMALLINT sql_type;
    SQLSMALLINT c_type;
  };
  const std::vector<Case> cases = {
      {TOdbcDataType::ftString, std::string("abc"), SQL_CHAR, SQL_C_CHAR},
      {TOdbcDataType::ftSmallint, int64_t{-7}, SQL_SMALLINT, SQL_C_SSHORT},
      {TOdbcDataType::ftWord, int64_t{7}, SQL_SMALLINT, SQL_C_SSHORT},
      {TOdbcDataType::ftInteger, int64_t{70000}, SQL_INTEGER, SQL_C_SLONG},
      {TOdbcDataType::ftAutoInc, int64_t{1}, SQL_INTEGER, SQL_C_SLONG},
      {TOdbcDataType::ftBoolean, true, SQL_BIT, SQL_C_BIT},
      {TOdbcDataType::ftFloat, 2.5, SQL_DOUBLE, SQL_C_DOUBLE},
      {TOdbcDataType::ftCurrency, 2.5, SQL_DOUBLE, SQL_C_DOUBLE},
      {TOdbcDataType::ftBCD, 2.5, SQL_DOUBLE, SQL_C_DOUBLE},
      {TOdbcDataType::ftDate, EncodeDate(2024, 3, 5), SQL_TYPE_DATE, SQL_C_TYPE_DATE},
      {TOdbcDataType::ftTime, EncodeTime(10, 11, 12, 0), SQL_TYPE_TIME, SQL_C_TYPE_TIME},
      {TOdbcDataType::ftDateTime, EncodeDate(2024, 3, 5), SQL_TYPE_TIMESTAMP, SQL_C_TYPE_TIMESTAMP},
      {TOdbcDataType::ftMemo, std::string("long"), SQL_LONGVARCHAR, SQL_C_CHAR},
      {TOdbcDataType::ftBlob, std::string("\0\1", 2), SQL_LONGVARBINARY, SQL_C_BINARY},
  };
  for (const Case& item : cases) {
    TmParam param("p");
    param.AssignTyped(item.type, item.value);
    TParameterBuffer buffer;
    FillParameterBuffer(param, buffer);
    EXPECT_EQ(buffer.SqlType, item.sql_type) << static_cast<int>(item.type);
    EXPECT_EQ(buffer.CType, item.c_type) << static_cast<int>(item.type);
    EXPECT_NE(buffer.Indicator, SQL_NULL_DATA);
  }
}

TEST(OdbcParameterBinding, ValuesNullsAndUnsupportedTypes) {
  TmParam stamp("stamp");
  stamp.AssignTyped(TOdbcDataType::ftDateTime,
                    TDateTime{EncodeDate(2024, 3, 5).Value + EncodeTime(10, 11, 12, 345).Value});
  TParameterBuffer buffer;
  FillParameterBuffer(stamp, buffer);
  EXPECT_EQ(buffer.Stamp.year, 2024);
  EXPECT_EQ(buffer.Stamp.day, 5);
  EXPECT_EQ(buffer.Stamp.second, 12);
  EXPECT_EQ(buffer.Stamp.fraction, 345000000u);
  EXPECT_EQ(buffer.ColumnSize, 23u);

  TmParam text("text");
  text.AssignTyped(TOdbcDataType::ftString, Ansi("Иванов"));
  FillParameterBuffer(text, buffer);
  EXPECT_EQ(buffer.Indicator, 6);
  EXPECT_EQ(buffer.Bytes, Ansi("Иванов") + '\0');

  TmParam unset("unset");
  FillParameterBuffer(unset, buffer);
  EXPECT_EQ(buffer.Indicator, SQL_NULL_DATA);

  TmParam null_date("d");
  null_date.AssignTyped(TOdbcDataType::ftDate, std::monostate{});
  FillParameterBuffer(null_date, buffer);
  EXPECT_EQ(buffer.Indicator, SQL_NULL_DATA);
  EXPECT_EQ(buffer.SqlType, SQL_TYPE_DATE);

  TmParam untyped("Mystery");
  untyped.AssignTyped(TOdbcDataType::ftUnknown, int64_t{1});
  try {
    FillParameterBuffer(untyped, buffer);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Field 'Mystery' is of an unsupported type");
  }
}

TEST(OdbcResultColumns, FieldTypesByColumnType) {
  EXPECT_EQ(FieldTypeForColumn(SQL_CHAR, 10), TOdbcDataType::ftString);
  EXPECT_EQ(FieldTypeForColumn(SQL_WCHAR, 10), TOdbcDataType::ftString);
  EXPECT_EQ(FieldTypeForColumn(SQL_VARCHAR, 254), TOdbcDataType::ftString);
  EXPECT_EQ(FieldTypeForColumn(SQL_VARCHAR, 255), TOdbcDataType::ftMemo);
  EXPECT_EQ(FieldTypeForColumn(SQL_WLONGVARCHAR, 0), TOdbcDataType::ftMemo);
  for (SQLSMALLINT type : {SQL_NUMERIC, SQL_DECIMAL, SQL_FLOAT, SQL_REAL, SQL_DOUBLE, SQL_BIGINT})
    EXPECT_EQ(FieldTypeForColumn(type, 0), TOdbcDataType::ftFloat);
  EXPECT_EQ(FieldTypeForColumn(SQL_INTEGER, 0), TOdbcDataType::ftInteger);
  EXPECT_EQ(FieldTypeForColumn(SQL_TINYINT, 0), TOdbcDataType::ftSmallint);
  EXPECT_EQ(FieldTypeForColumn(SQL_TYPE_DATE, 0), TOdbcDataType::ftDate);
  EXPECT_EQ(FieldTypeForColumn(SQL_TIME, 0), TOdbcDataType::ftTime);
  EXPECT_EQ(FieldTypeForColumn(SQL_TYPE_TIMESTAMP, 0), TOdbcDataType::ftDateTime);
  EXPECT_EQ(FieldTypeForColumn(SQL_BIT, 0), TOdbcDataType::ftBoolean);
  EXPECT_EQ(FieldTypeForColumn(SQL_VARBINARY, 0), TOdbcDataType::ftBlob);
  EXPECT_EQ(FieldTypeForColumn(SQL_GUID, 0), std::nullopt);
}

TEST(OdbcResultColumns, UnnamedAndRepeatedColumnNames) {
  EXPECT_EQ(UniqueFieldName("", {}), "COLUMN");
  EXPECT_EQ(UniqueFieldName("", {"COLUMN"}), "COLUMN_1");
  EXPECT_EQ(UniqueFieldName("id", {"ID", "id_1"}), "id_2");
  EXPECT_EQ(UniqueFieldName("name", {"id"}), "name");
}

TEST(OdbcDiagnostics, ReturnCodeTextsByCallKind) {
  EXPECT_EQ(ReturnCodeText(SQL_NO_DATA, TOdbcCallKind::Connection), "SQL_NO_DATA");
  EXPECT_EQ(ReturnCodeText(SQL_NEED_DATA, TOdbcCallKind::Connection), "SQL_NEED_DATA");
  EXPECT_EQ(ReturnCodeText(7, TOdbcCallKind::Connection), "unknown SQL result7");
  EXPECT_EQ(ReturnCodeText(SQL_INVALID_HANDLE, TOdbcCallKind::Statement), ": SQL_INVALID_HANDLE");
  EXPECT_EQ(ReturnCodeText(SQL_STILL_EXECUTING, TOdbcCallKind::Statement), "SQL_STILL_EXECUTING");
  EXPECT_EQ(ReturnCodeText(7, TOdbcCallKind::Statement), "unknown SQL result");
  EXPECT_EQ(ReturnCodeText(SQL_INVALID_HANDLE, TOdbcCallKind::DriverInfo), "SQL_INVALID_HANDLE");
  EXPECT_EQ(ReturnCodeText(SQL_NO_DATA, TOdbcCallKind::DriverInfo), "unknown SQL result");
}

TEST(OdbcDiagnostics, ErrorsCarryEveryRecord) {
  const ESQLerror error =
      MakeSqlError(SQL_ERROR, TOdbcCallKind::Statement, {{"42000", 12, "syntax error"}, {"01000", 0, "more"}});
  EXPECT_STREQ(error.what(), "42000:syntax error");
  EXPECT_EQ(error.SqlState, "42000");
  EXPECT_EQ(error.NativeError, 12);
  EXPECT_EQ(error.Records, (Names{"42000:syntax error", "01000:more"}));
  const ESQLerror bare = MakeSqlError(SQL_ERROR, TOdbcCallKind::Statement, {});
  EXPECT_STREQ(bare.what(), "SQL_ERROR");
  EXPECT_EQ(bare.NativeError, SQL_ERROR);
  EXPECT_EQ(JoinRecords({{"01000", 0, "a"}, {"01S02", 0, "b"}}), "01000:a\r\n01S02:b");
}

TEST(OdbcDiagnostics, DriverConnectResults) {
  Names infos;
  const auto on_info = [&](const std::string& text) { infos.push_back(text); };
  try {
    CheckDriverConnect(
        SQL_NO_DATA, [] { return std::vector<TDiagRecord>{}; }, on_info);
    FAIL();
  } catch (const ESQLerror& error) {
    EXPECT_STREQ(error.what(), "Database not opened");
  }
  CheckDriverConnect(
      SQL_SUCCESS_WITH_INFO,
      [] {
        return std::vector<TDiagRecord>{{"01000", 0, "changed"}};
      },
      on_info);
  EXPECT_TRUE(infos.empty());
  CheckDriverConnect(
      SQL_SUCCESS_WITH_INFO,
      [] {
        return std::vector<TDiagRecord>{{"01000", 0, "a"}, {"01S00", 0, "b"}, {"01004", 0, "c"}};
      },
      on_info);
  EXPECT_EQ(infos, (Names{"01S00:b\r\n01004:c"}));
  try {
    CheckDriverConnect(
        SQL_INVALID_HANDLE, [] { return std::vector<TDiagRecord>{}; }, on_info);
    FAIL();
  } catch (const ESQLerror& error) {
    EXPECT_STREQ(error.what(), "SQL_INVALID_HANDLE");
  }
}

TEST(OdbcFields, TextsAreCutToTheFieldSizeAndValuesConvert) {
  TmField name("Prim", TOdbcDataType::ftString, 5);
  name.SetAsString("abcdefgh");
  EXPECT_EQ(name.AsString(), "abcde");
  name.SetAsInteger(1234567);
  EXPECT_EQ(name.AsString(), "12345");
  TmField quantity("Quantity", TOdbcDataType::ftFloat, 0);
  quantity.SetAsInteger(3);
  EXPECT_DOUBLE_EQ(quantity.AsFloat(), 3.0);
  quantity.SetAsString("2.5");
  EXPECT_DOUBLE_EQ(quantity.AsFloat(), 2.5);
  EXPECT_EQ(quantity.AsInteger(), 2);
  TmField id("Id", TOdbcDataType::ftInteger, 0);
  EXPECT_TRUE(id.IsNull());
  EXPECT_EQ(id.AsInteger(), 0);
  id.SetAsFloat(6.6);
  EXPECT_EQ(id.AsInteger(), 7);
  EXPECT_THROW(id.SetAsString("x"), EConvertError);
  TmField date("OrderDate", TOdbcDataType::ftDate, 0);
  date.SetAsDateTime(EncodeDate(2024, 3, 5));
  EXPECT_EQ(date.AsString(), "05.03.2024");
}

TEST(OdbcQuery, NeedsAConnectionAndAnInsertStatement) {
  TmQuery query;
  query.AddSQL("select 1");
  try {
    query.Open();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "ODBC datasource not defined");
  }
  EXPECT_THROW(query.Append(), Exception);
}

class FakeDialogView : public TOdbcErrorDialogView {
 public:
  void ShowModal(TmODBCErrorDlg& dialog) override {
    seen.push_back(dialog.LabelText() + (dialog.BackEnabled() ? " back" : "") + (dialog.NextEnabled() ? " next" : ""));
    dialog.Next();
    seen.push_back(dialog.LabelText() + (dialog.BackEnabled() ? " back" : "") + (dialog.NextEnabled() ? " next" : ""));
    dialog.OK();
  }
  Names seen;
};

TEST(OdbcErrorDialog, ShowsRecordsOneAtATime) {
  FakeDialogView view;
  TmODBCErrorDlg dialog;
  dialog.View = &view;
  EXPECT_EQ(dialog.Caption, "ODBC Error");
  dialog.HandleException(std::make_exception_ptr(ESQLerror("42000:bad", "42000", 1, {"42000:bad", "HY000:worse"})));
  EXPECT_EQ(view.seen, (Names{"42000:bad next", "HY000:worse back"}));
  view.seen.clear();
  dialog.HandleException(std::make_exception_ptr(ESQLerror("Database not opened")));
  EXPECT_EQ(view.seen, (Names{"Database not opened", "Database not opened"}));
}

TEST(OdbcErrorDialog, OtherErrorsGoToThePreviousHandlerOrTheStandardBox) {
  FakeDialogView view;
  TmODBCErrorDlg dialog;
  dialog.View = &view;
  Names boxes;
  dialog.StandardExceptionBox = [&](const std::string& text) { boxes.push_back(text); };
  dialog.HandleException(std::make_exception_ptr(std::runtime_error("plain")));
  EXPECT_EQ(boxes, (Names{"plain"}));
  int passed = 0;
  dialog.PreviousHandler = [&](std::exception_ptr) { ++passed; };
  dialog.HandleException(std::make_exception_ptr(std::runtime_error("plain")));
  EXPECT_EQ(passed, 1);
  dialog.ApplicationClosing = true;
  dialog.HandleException(std::make_exception_ptr(ESQLerror("late")));
  EXPECT_TRUE(view.seen.empty());
}

}  // namespace
