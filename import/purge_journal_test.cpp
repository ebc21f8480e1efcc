#include "import/purge_journal.h"

#include <gmock/gmock.h>

#include "core/cp1251.h"
#include "import/import_test_fixture.h"

namespace {

using ::testing::ElementsAre;

TEST(PurgeJournalText, ReadsBackWhatItWrites) {
  const std::vector<TJournalEntry> entries = {{"Zembra_OrderDB", {1, 4294967295u}}, {"Zembra_CashDB", {}}};
  EXPECT_EQ(FormatPurgeJournal(entries),
            "ZembraToPalm purge journal 1\nZembra_OrderDB 2 1 4294967295\nZembra_CashDB 0\nend 2\n");
  EXPECT_EQ(ParsePurgeJournal(FormatPurgeJournal(entries)), entries);

  // Lists of thousands of IDs, of every length, come out whole.
  std::vector<TJournalEntry> long_lists = {{"Zembra_OrderItemDB", {}}, {"Zembra_OrderDB", {}}};
  std::string expected = "ZembraToPalm purge journal 1\nZembra_OrderItemDB 5000";
  for (uint32_t i = 0; i < 5000; ++i) {
    const uint32_t id = i * 858993u + (i % 7 == 0 ? 4294000000u : 0u);
    long_lists[0].RecordIds.push_back(id);
    expected += " " + std::to_string(id);
  }
  expected += "\nZembra_OrderDB 0\nend 2\n";
  EXPECT_EQ(FormatPurgeJournal(long_lists), expected);
  EXPECT_EQ(ParsePurgeJournal(expected), long_lists);
}

TEST(PurgeJournalText, RefusesEveryDamage) {
  const std::string whole = FormatPurgeJournal({{"Zembra_OrderDB", {7, 8}}, {"Zembra_OrderItemDB", {9}}});
  const std::vector<std::string> damaged = {
      "",
      "ZembraToPalm purge journal 2\nend 0\n",
      whole.substr(0, whole.size() - 7),  // cut before the closing line
      "ZembraToPalm purge journal 1\nZembra_OrderDB 2 7\nend 1\n",
      "ZembraToPalm purge journal 1\nZembra_OrderDB 1 x\nend 1\n",
      "ZembraToPalm purge journal 1\nZembra_OrderDB 1 -7\nend 1\n",
      "ZembraToPalm purge journal 1\nZembra_OrderDB\nend 1\n",
      "ZembraToPalm purge journal 1\nZembra_OrderDB 1 7\nend 2\n",
      "ZembraToPalm purge journal 1\n 0\nend 1\n",
  };
  for (const std::string& bytes : damaged) {
    EXPECT_THROW(ParsePurgeJournal(bytes), EPurgeJournalDamaged) << bytes;
  }
}

class PurgeJournalTest : public ImportTest {
 protected:
  void FillAll() {
    Fill(catalogue_->ptOrder, {{{"Id", "1"}}, {{"Id", "2"}}});
    Fill(catalogue_->ptOrderItem, {{{"IdOrder", "1"}}, {{"IdOrder", "2"}}, {{"IdOrder", "2"}}});
    Fill(catalogue_->ptCash, {{{"Id", "5"}}});
  }
  std::string JournalPath() const { return (root_ / "exchange" / kPurgeJournalName).string(); }
  bool JournalExists() const { return std::filesystem::exists(JournalPath()); }
  // The journal a session killed before its first purge would leave.
  void WriteJournalOfAll() {
    std::vector<TJournalEntry> entries;
    for (TpfgPalmRemoteTable* table : {&catalogue_->ptOrder, &catalogue_->ptOrderItem, &catalogue_->ptCash}) {
      TJournalEntry entry{table->TableName(), {}};
      table->Open();
      while (!table->Eof()) {
        entry.RecordIds.push_back(table->RecordId());
        table->Next();
      }
      table->Close();
      entries.push_back(entry);
    }
    WriteFileAtomic(JournalPath(), FormatPurgeJournal(entries));
  }
};

TEST_F(PurgeJournalTest, PurgesAllTablesAndLeavesNoJournal) {
  FillAll();
  PurgeTogether(session_, {&catalogue_->ptOrder, &catalogue_->ptOrderItem, &catalogue_->ptCash});
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 0);
  EXPECT_FALSE(JournalExists());
}

TEST_F(PurgeJournalTest, TouchesNothingWhenTheJournalCannotBeWritten) {
  FillAll();
  session_.Directory = (root_ / "missing").string() + "/";
  EXPECT_THROW(PurgeTogether(session_, {&catalogue_->ptOrder, &catalogue_->ptOrderItem}), Exception);
  EXPECT_FALSE(catalogue_->ptOrder.Active());
  EXPECT_FALSE(catalogue_->ptOrderItem.Active());
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 3);
}

TEST_F(PurgeJournalTest, RollsForwardAHalfDonePurge) {
  FillAll();
  WriteJournalOfAll();
  catalogue_->ptOrder.Open();
  catalogue_->ptOrder.EmptyTable();
  catalogue_->ptOrder.Close();

  EXPECT_TRUE(RollForwardPurges(session_, *catalogue_));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 0);
  EXPECT_EQ(RecordsOn(catalogue_->ptCash), 0);
  EXPECT_FALSE(JournalExists());
  EXPECT_THAT(recorder_.Log, ElementsAre(TLoggedLine{Ansi("ПК-PALM: Завершение прерванного удаления: ") +
                                                         "Zembra_OrderDB, Zembra_OrderItemDB, Zembra_CashDB",
                                                     19}));
  EXPECT_TRUE(recorder_.Boxes.empty());
}

TEST_F(PurgeJournalTest, RollForwardKeepsRecordsEnteredSince) {
  FillAll();
  WriteJournalOfAll();
  catalogue_->ptOrderItem.Open();
  catalogue_->ptOrderItem.Insert();
  catalogue_->ptOrderItem.FieldByName("IdOrder").SetAsString("3");
  catalogue_->ptOrderItem.Post();
  catalogue_->ptOrderItem.Close();

  EXPECT_TRUE(RollForwardPurges(session_, *catalogue_));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 0);
  catalogue_->ptOrderItem.Open();
  ASSERT_EQ(catalogue_->ptOrderItem.RecordCount(), 1);
  EXPECT_EQ(catalogue_->ptOrderItem.FieldByName("IdOrder").AsInteger(), 3);
  catalogue_->ptOrderItem.Close();
}

TEST_F(PurgeJournalTest, DamagedJournalPurgesNothingAndIsKept) {
  FillAll();
  session_.ConduitName = "ZembraToPalm";
  const std::string bytes = "ZembraToPalm purge journal 1\nZembra_OrderDB 2 1\n";
  WriteFileAtomic(JournalPath(), bytes);

  EXPECT_FALSE(RollForwardPurges(session_, *catalogue_));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrderItem), 3);
  EXPECT_EQ(ReadWholeFile(JournalPath()), bytes);
  const std::string text = Ansi("Журнал удаления \"") + JournalPath() +
                           Ansi("\" поврежден, данные на устройстве не удалены: line 2: \"end 0\" expected");
  EXPECT_THAT(recorder_.Log, ElementsAre(TLoggedLine{"ZembraToPalm - " + text, 21}));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, text);
}

TEST_F(PurgeJournalTest, UnknownDatabaseCountsAsDamage) {
  FillAll();
  WriteFileAtomic(JournalPath(), FormatPurgeJournal({{"Zembra_OrderDB", {}}, {"Other", {}}}));
  EXPECT_FALSE(RollForwardPurges(session_, *catalogue_));
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
}

TEST_F(PurgeJournalTest, NoJournalNoWork) {
  FillAll();
  EXPECT_TRUE(RollForwardPurges(session_, *catalogue_));
  EXPECT_TRUE(recorder_.Log.empty());
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 2);
}

}  // namespace
