#include "palmdb/palm_remote_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "conduit/palm_component.h"
#include "conduit/sync_error.h"
#include "palmdb/palm_catalogue.h"
#include "palmdb/palm_errors.h"
#include "test_support/built_programs.h"
#include "test_support/scratch_directory.h"
#include "tools/device_connection.h"

namespace {

template <typename Error>
std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

// Table rules that need no handheld.
TEST(PalmTableRulesTest, FieldLookupIgnoresCase) {
  TPalmCatalogue catalogue;
  EXPECT_EQ(&catalogue.ptAnswer.FieldByName("idquest"), catalogue.ptAnswer.FindField("IDQUEST"));
  EXPECT_EQ(catalogue.ptAnswer.FieldByName("idquest").FieldName(), "IDQUEST");
  EXPECT_EQ(catalogue.ptCustomer.FindField("IdQUEST")->Index(), 4);
  EXPECT_EQ(catalogue.ptAnswer.FindField("Nothing"), nullptr);
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { catalogue.ptAnswer.FieldByName("Nothing"); }),
            "The specified field \"Nothing\" was not found");
}

TEST(PalmTableRulesTest, FourCharacterCodesAreChecked) {
  TpfgPalmRemoteTable table("ptScratch");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.SetTableType("DAT"); }), "The TableType \"DAT\" is invalid");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.SetTableType("DA\x1FT"); }), "The TableType \"DA\x1FT\" is invalid");
  EXPECT_EQ(ErrorText<ECreatorIDError>([&] { table.SetCreatorID("Wqtzz"); }), "The Creator ID \"Wqtzz\" is invalid");
  table.SetTableType("NOTE");
  EXPECT_EQ(table.TableType(), "NOTE");
  EXPECT_EQ(table.Version(), 256);
  EXPECT_EQ(table.CategoryFilter(), -1);
}

TEST(PalmTableRulesTest, EmptyCreatorIdIsTheConduitsOnLoading) {
  TpfgPalmComponent component;
  component.SetCreatorID("Abcd");
  TpfgPalmRemoteTable table("ptScratch");
  EXPECT_EQ(table.CreatorID(), "");
  table.Loaded();
  EXPECT_EQ(table.CreatorID(), "Abcd");
}

TEST(PalmTableRulesTest, ClosedTableRefusesRecordWork) {
  TPalmCatalogue catalogue;
  TpfgPalmRemoteTable& table = catalogue.ptNote1;
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.Fields()[0].AsString(); }),
            "The operation requires the table to be open");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.Fields()[0].SetAsString("x"); }),
            "The operation requires the table to be open");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.Insert(); }), "The operation requires the table to be open");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.SetCategoryFilter(3); }),
            "The operation requires the table to be open");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { table.SetCategoryFilter(15); }), "The category number \"15\" is invalid");
  EXPECT_EQ(ErrorText<ENotImplError>([&] { table.Prior(); }), "Prior");
  EXPECT_THROW(table.Post(), EPalmDBError);
  table.SetDbSaving(true);
  table.Fields()[0].SetAsString("kept while closed");
}

TEST(PalmTableRulesTest, FieldDefsNeedAnOwnerAndRebuildTheFields) {
  EXPECT_EQ(ErrorText<EPalmDBError>([] { TpfgPalmFieldDefs defs(nullptr); }),
            "Created FieldDefs did not have a table owner");
  TpfgPalmRemoteTable table("ptScratch");
  table.FieldDefs().Add("A", ptLong);
  TpfgPalmFieldDef& second = table.FieldDefs().Add();
  EXPECT_EQ(second.DataType(), ptWord);
  second.SetFieldName("B");
  ASSERT_EQ(table.Fields().size(), 2u);
  EXPECT_EQ(table.FieldByName("b").DataType(), ptWord);
  second.SetDataType(ptString);
  second.SetSize(12);
  table.FieldDefs().Delete(0);
  ASSERT_EQ(table.Fields().size(), 1u);
  EXPECT_EQ(table.Fields()[0].FieldName(), "B");
  // The shapes the record layout reads follow every change.
  ASSERT_EQ(table.FieldDefs().Shapes().size(), 1u);
  EXPECT_EQ(table.FieldDefs().Shapes()[0].Type, ptString);
  EXPECT_EQ(table.FieldDefs().Shapes()[0].Size, 12);
  EXPECT_EQ(table.FieldDefs().Shapes()[0].Width, 12);
}

// Tables against the stand-in handheld on a temporary directory.
class RemoteTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = MissingFromBin(kDesktopStandIns);
    if (!missing.empty()) {
      GTEST_SKIP() << "the desktop stand-in libraries are not built in ZP_BIN_DIR (" << BinDirectory()
                   << "): " << missing;
    }
    directory_ = std::make_unique<TScratchDirectory>("zp-palmdb");
    connection_ = std::make_unique<TDeviceConnection>(BinDirectory(), directory_->Root().string());
    SetCurrentFormats(TFormatSettings{});
  }

  void TearDown() override {
    catalogue_.reset();
    connection_.reset();
    directory_.reset();
  }

  TPalmCatalogue& Catalogue() { return *catalogue_; }

  // Writes notes with the given category through a fresh table.
  void WriteNotes(TpfgPalmRemoteTable& table, std::initializer_list<const char*> notes, int8_t category) {
    table.SetRecordCategory(category);
    for (const char* note : notes) {
      table.Insert();
      table.FieldByName("Name").SetAsString(note);
      table.Post();
    }
  }

  std::unique_ptr<TScratchDirectory> directory_;
  std::unique_ptr<TDeviceConnection> connection_;
  std::unique_ptr<TPalmCatalogue> catalogue_ = std::make_unique<TPalmCatalogue>();
};

TEST_F(RemoteTableTest, MissingDatabaseIsNotAnErrorForExistsButForOpen) {
  TpfgPalmRemoteTable& table = Catalogue().ptOrder;
  EXPECT_FALSE(table.Exists());
  try {
    table.Open();
    FAIL() << "Open of a missing database must fail";
  } catch (const EPalmSyncError& error) {
    EXPECT_EQ(error.ErrorCode(), 16387);
    EXPECT_STREQ(error.what(),
                 "Error 16387 :The requested database, record, resource, etc. could not be found. (Zembra_OrderDB)");
  }
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(ErrorText<EPalmSyncError>([&] { table.EmptyTable(); }),
            "Error 16387 :The requested database, record, resource, etc. could not be found. (Zembra_OrderDB)");
  EXPECT_EQ(table.State(), TpfgPalmTableState::dsInactive);
}

TEST_F(RemoteTableTest, WrittenRecordsReadBackInIndexOrderUntilEof) {
  TpfgPalmRemoteTable& items = Catalogue().ptOrderItem;
  items.CreateTable();
  EXPECT_TRUE(items.Exists());
  EXPECT_EQ(items.State(), TpfgPalmTableState::dsBrowse);
  uint32_t last_id = 0;
  for (int i = 1; i <= 3; ++i) {
    items.Insert();
    items.FieldByName("IdOrder").SetAsInteger(i);
    items.FieldByName("IdProduct").SetAsInteger(100 + i);
    items.FieldByName("Quantity").SetAsFloat(i * 1.5);
    items.FieldByName("Price").SetAsString("0.1");
    items.Post();
    EXPECT_NE(items.RecordId(), 0u);
    EXPECT_NE(items.RecordId(), last_id);
    last_id = items.RecordId();
    EXPECT_EQ(items.RecNo(), items.RecordCount());
  }
  items.Close();

  items.Open();
  EXPECT_EQ(items.RecordCount(), 3);
  int seen = 0;
  while (!items.Eof()) {
    ++seen;
    EXPECT_EQ(items.FieldByName("IdOrder").AsInteger(), seen);
    EXPECT_EQ(items.FieldByName("IdProduct").AsString(), std::to_string(100 + seen));
    EXPECT_DOUBLE_EQ(items.FieldByName("Quantity").AsFloat(), seen * 1.5);
    EXPECT_DOUBLE_EQ(items.FieldByName("Price").AsFloat(), 0.1);
    items.Next();
  }
  EXPECT_EQ(seen, 3);
  items.Next();  // past the end: still no error
  EXPECT_EQ(items.RecNo(), 3);
  EXPECT_TRUE(items.Eof());
  EXPECT_EQ(items.RecordId(), 0u);
  EXPECT_EQ(items.FieldByName("IdOrder").AsString(), "0");
}

TEST_F(RemoteTableTest, EmptyDatabaseIsAtEofAtOnce) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote2;
  notes.CreateTable();
  notes.Close();
  notes.Open();
  EXPECT_TRUE(notes.Eof());
  EXPECT_EQ(notes.RecordCount(), 0);
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "");
  EXPECT_EQ(notes.FieldByName("Name").AsInteger(), 0);
  EXPECT_EQ(notes.RecordCategory(), -1);
  EXPECT_TRUE(notes.AppInfo().Bytes().empty());
}

TEST_F(RemoteTableTest, NewRecordsTakeTheCategoryOfTheFirstRecord) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  WriteNotes(notes, {"first", "second"}, 5);
  notes.Close();

  notes.Open();
  EXPECT_EQ(notes.RecordCategory(), 5);
  notes.EmptyTable();
  EXPECT_EQ(notes.RecordCount(), 0);
  notes.Insert();
  notes.FieldByName("Name").SetAsString("after purge");
  notes.Post();
  notes.Close();
  notes.Open();
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "after purge");
  EXPECT_EQ(notes.RecordCategory(), 5);
  notes.Close();

  // On an initially empty database the category is -1 and 0 is written.
  TpfgPalmRemoteTable& other = Catalogue().ptNote2;
  other.CreateTable();
  other.Close();
  other.Open();
  other.Insert();
  other.Post();
  other.Close();
  other.Open();
  EXPECT_EQ(other.RecordCategory(), 0);
  EXPECT_TRUE(other.NoData() == false);
  EXPECT_EQ(other.FieldByName("Name").AsString(), "");
}

TEST_F(RemoteTableTest, StateRulesAndFailedPost) {
  TpfgPalmRemoteTable& rates = Catalogue().ptCurrencyCurs;
  rates.CreateTable();
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.CreateTable(); }), "The operation requires the table to be closed");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.DeleteTable(); }), "The operation requires the table to be closed");
  rates.Insert();
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.Insert(); }), "Cannot perform this operation whilst in edit mode");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.EmptyTable(); }), "Cannot perform this operation whilst in edit mode");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.SetCategoryFilter(2); }),
            "Cannot perform this operation whilst in edit mode");
  rates.FieldByName("IdCurrency").SetAsString("1.5");
  EXPECT_EQ(ErrorText<EConvertError>([&] { rates.Post(); }), "'1.5' is not a valid integer value");
  EXPECT_EQ(rates.State(), TpfgPalmTableState::dsInsert);
  // The texts are unchanged: a second Post fails the same way.
  EXPECT_EQ(ErrorText<EConvertError>([&] { rates.Post(); }), "'1.5' is not a valid integer value");
  EXPECT_EQ(rates.RecordCount(), 0);
  rates.Cancel();
  EXPECT_EQ(rates.State(), TpfgPalmTableState::dsBrowse);
  EXPECT_THROW(rates.Cancel(), EPalmDBError);
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.SetCategoryFilter(15); }), "The category number \"15\" is invalid");
  rates.SetCategoryFilter(14);
  rates.SetCategoryFilter(-1);
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.SetRecNo(1); }), "The Record Number \"1\" could not be found");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { rates.Delete(); }), "The operation requires an active record");
}

TEST_F(RemoteTableTest, APackedRecordIsTheRecordPostWrites) {
  TpfgPalmRemoteTable& items = Catalogue().ptOrderItem;
  items.CreateTable();
  items.SetRecordCategory(3);
  items.Insert();
  items.FieldByName("IdOrder").SetAsInteger(7);
  items.FieldByName("Quantity").SetAsFloat(2.5);
  items.FieldByName("Price").SetAsString("0.1");
  items.Post();
  const std::vector<uint8_t> posted = items.LocalToRemoteRecord();

  std::vector<TPalmCell> cells(static_cast<size_t>(items.FieldDefs().Count()));
  cells[items.FieldByName("IdOrder").Index()].SetInteger(7);
  cells[items.FieldByName("Quantity").Index()].SetFloat(2.5, CurrentFormats());
  cells[items.FieldByName("Price").Index()].SetText(std::string_view("0.1"));
  std::vector<uint8_t> packed;
  ASSERT_TRUE(items.PacksRecordsAlone());
  items.PackRecord(cells, packed);
  EXPECT_EQ(packed, posted);
  items.AppendPackedRecord(packed);
  EXPECT_EQ(items.RecordCount(), 2);
  EXPECT_EQ(items.RecNo(), 2);
  EXPECT_EQ(items.State(), TpfgPalmTableState::dsBrowse);
  items.Close();

  items.Open();
  items.Next();
  EXPECT_EQ(items.FieldByName("IdOrder").AsInteger(), 7);
  EXPECT_DOUBLE_EQ(items.FieldByName("Quantity").AsFloat(), 2.5);
  EXPECT_EQ(items.FieldByName("Price").AsString(), "0.1");
  EXPECT_EQ(items.RecordCategory(), 3);
  EXPECT_EQ(items.RecordAttributes(), 0);

  // A table whose records an event or a hook must see is not written packed.
  items.OnBeforePost = [](TpfgPalmTable&) {};
  EXPECT_FALSE(items.PacksRecordsAlone());
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { items.AppendPackedRecord(packed); }),
            "A packed record needs a table without record events");
  items.OnBeforePost = nullptr;
  items.SetReadOnly(true);
  EXPECT_FALSE(items.PacksRecordsAlone());
}

TEST_F(RemoteTableTest, ReadOnlyTableRefusesFieldWrites) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  WriteNotes(notes, {"one"}, 0);
  notes.Close();
  notes.SetReadOnly(true);
  notes.Open();
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "one");
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { notes.FieldByName("Name").SetAsString("two"); }),
            "The database is read only");
}

TEST_F(RemoteTableTest, AppInfoIsWrittenBackOnClose) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  std::istringstream block(std::string("\x01\x02\x00\x03", 4));
  notes.LoadAppInfoFromStream(block);
  notes.Close();
  notes.Open();
  EXPECT_EQ(notes.AppInfo().Bytes(), (std::vector<uint8_t>{1, 2, 0, 3}));
  notes.Close();
  notes.Open();  // an unchanged block survives a second open and close
  EXPECT_EQ(notes.AppInfo().Bytes(), (std::vector<uint8_t>{1, 2, 0, 3}));
}

TEST_F(RemoteTableTest, NavigationDeletionAndLookupById) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  WriteNotes(notes, {"a", "b", "c"}, 0);
  notes.Close();
  notes.Open();
  notes.SetRecNo(2);
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "c");
  const uint32_t id_of_c = notes.RecordId();
  notes.First();
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "a");
  EXPECT_TRUE(notes.Bof());
  EXPECT_TRUE(notes.LocateRecordById(id_of_c));
  EXPECT_EQ(notes.RecNo(), 2);
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "c");
  EXPECT_FALSE(notes.LocateRecordById(0xABCDEF));
  EXPECT_EQ(notes.RecordId(), 0u);
  notes.First();
  notes.Edit();
  notes.FieldByName("Name").SetAsString("A");
  notes.Post();
  notes.Last();
  EXPECT_TRUE(notes.Eof());
  notes.First();
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "A");
  EXPECT_EQ(notes.RecordCount(), 3);
  notes.Delete();
  notes.PurgeDeletedRecords();
  EXPECT_EQ(notes.RecordCount(), 2);
  notes.Close();
  notes.DeleteTable();
  EXPECT_FALSE(notes.Exists());
}

// The record count is remembered while the table is open, so every change must make it ask again.
TEST_F(RemoteTableTest, RecordCountFollowsEveryChangeOfAnOpenTable) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  EXPECT_EQ(notes.RecordCount(), 0);
  WriteNotes(notes, {"a", "b", "c"}, 0);
  EXPECT_EQ(notes.RecordCount(), 3);
  EXPECT_EQ(notes.RecNo(), 3);
  notes.First();
  const uint32_t first = notes.RecordId();
  notes.DeleteRecordById(first);
  notes.PurgeDeletedRecords();
  EXPECT_EQ(notes.RecordCount(), 2);
  notes.EmptyTable();
  EXPECT_EQ(notes.RecordCount(), 0);
  EXPECT_TRUE(notes.Eof());
  WriteNotes(notes, {"d"}, 0);
  notes.Close();
  notes.Open();
  EXPECT_EQ(notes.RecordCount(), 1);
  notes.Close();
}

// The ID walk must list exactly the records Next visits, filtered ones included, and stop at the end.
TEST_F(RemoteTableTest, RecordIdWalkMatchesTheRecordWalk) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  WriteNotes(notes, {"a", "b"}, 1);
  WriteNotes(notes, {"c"}, 2);
  WriteNotes(notes, {"d"}, 1);
  notes.Close();
  for (const int8_t filter : {int8_t{-1}, int8_t{1}}) {
    const auto open_filtered = [&] {
      notes.Open();
      notes.SetCategoryFilter(filter);
      notes.First();
    };
    open_filtered();
    std::vector<uint32_t> walked;
    for (; !notes.Eof(); notes.Next()) walked.push_back(notes.RecordId());
    notes.Close();
    open_filtered();
    EXPECT_EQ(notes.ReadRecordIds(), walked) << "filter " << int{filter};
    EXPECT_TRUE(notes.Eof());
    EXPECT_EQ(notes.RecordId(), 0u);
    EXPECT_EQ(walked.size(), filter == -1 ? 4u : 3u);
    notes.Close();
  }
}

TEST_F(RemoteTableTest, ClosedTableIsEmptiedThroughItsOwnOpen) {
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.CreateTable();
  WriteNotes(notes, {"a", "b"}, 0);
  notes.Close();
  notes.EmptyTable();
  EXPECT_FALSE(notes.Active());
  notes.Open();
  EXPECT_EQ(notes.RecordCount(), 0);
}

TEST_F(RemoteTableTest, DestroyingAnOpenTableKeepsItsRecords) {
  {
    TpfgPalmRemoteTable notes("ptScratch");
    notes.SetTableName("Zembra_Note1DB");
    notes.FieldDefs().Add("Name", ptString);
    notes.SetCreatorID("Wqtz");
    notes.SetTableType("NOTE");
    notes.CreateTable();
    WriteNotes(notes, {"kept"}, 0);
  }
  TpfgPalmRemoteTable& notes = Catalogue().ptNote1;
  notes.Open();
  EXPECT_EQ(notes.FieldByName("Name").AsString(), "kept");
}

TEST_F(RemoteTableTest, ZeroDateWordReadsAsTheZeroDateTime) {
  TpfgPalmRemoteTable& rates = Catalogue().ptCurrencyCurs;
  rates.CreateTable();
  rates.Insert();
  rates.FieldByName("IdCurrency").SetAsInteger(1);
  rates.FieldByName("Curs").SetAsFloat(1.5);
  rates.Post();
  rates.Insert();
  rates.FieldByName("DateCurs").SetAsDateTime(EncodeDate(2005, 12, 31));
  rates.Post();
  rates.Close();
  rates.Open();
  EXPECT_EQ(rates.FieldByName("DateCurs").AsDateTime().Value, 0.0);
  EXPECT_EQ(rates.FieldByName("DateCurs").AsString(), "30.12.1899");
  EXPECT_EQ(rates.FieldByName("Curs").AsString(), "1.5");
  EXPECT_EQ(ErrorText<EConvertError>([&] { rates.FieldByName("Curs").AsInteger(); }),
            "'1.5' is not a valid integer value");
  rates.Next();
  EXPECT_EQ(rates.FieldByName("DateCurs").AsDateTime(), EncodeDate(2005, 12, 31));
  EXPECT_TRUE(std::holds_alternative<TDateTime>(rates.FieldByName("DateCurs").Value()));
  EXPECT_EQ(rates.FieldByName("Curs").AsFloat(), 0.0);
}

TEST_F(RemoteTableTest, ShortRecordsFollowStrictFields) {
  {
    TpfgPalmRemoteTable writer("ptScratch");
    writer.SetTableName("Zembra_OrderItemDB");
    writer.SetCreatorID("Wqtz");
    writer.FieldDefs().Add("IdOrder", ptLong);
    writer.FieldDefs().Add("IdProduct", ptLong);
    writer.CreateTable();
    writer.Insert();
    writer.FieldByName("IdOrder").SetAsInteger(7);
    writer.Post();
  }
  TpfgPalmRemoteTable& items = Catalogue().ptOrderItem;
  EXPECT_EQ(ErrorText<EPalmDBError>([&] { items.Open(); }),
            "A mapped field went beyond the end of the physical record structure: Zembra_OrderItemDB, record 1");
  EXPECT_FALSE(items.Active());
  items.FieldDefs().SetStrictFields(false);
  items.Open();
  EXPECT_EQ(items.FieldByName("IdOrder").AsInteger(), 7);
  EXPECT_EQ(items.FieldByName("Quantity").AsFloat(), 0.0);
  EXPECT_EQ(items.FieldByName("Price").AsInteger(), 0);
}

}  // namespace
