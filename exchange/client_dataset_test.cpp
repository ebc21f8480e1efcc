#include "exchange/client_dataset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "exchange/exchange_errors.h"
#include "exchange/table_data.h"

namespace {

class ClientDataSetTest : public ::testing::Test {
 protected:
  void CreateCategories() {
    table_.FieldDefs().Add("Id", TFieldType::ftInteger);
    table_.FieldDefs().Add("IdParent", TFieldType::ftInteger);
    table_.FieldDefs().Add("Name", TFieldType::ftString, 80);
    table_.CreateDataSet();
  }

  void AddCategory(TClientDataSet& table, int id, int parent, const std::string& name) {
    table.Append();
    table.FieldByName("Id").SetAsInteger(id);
    table.FieldByName("IdParent").SetAsInteger(parent);
    table.FieldByName("Name").SetAsString(name);
    table.Post();
  }

  std::vector<std::string> Walk(TClientDataSet& table, const std::string& field) {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.FieldByName(field).AsString());
    return values;
  }

  TClientDataSet table_;
};

TEST_F(ClientDataSetTest, AppendedRowsAreWalkedInAppendOrder) {
  CreateCategories();
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.RecordCount(), 0);
  AddCategory(table_, 30, 0, "c");
  AddCategory(table_, 10, 0, "a");
  EXPECT_EQ(table_.RecordCount(), 2);
  EXPECT_EQ(Walk(table_, "ID"), (std::vector<std::string>{"30", "10"}));
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.FieldByName("id").AsInteger(), 10);
}

TEST_F(ClientDataSetTest, NullCellsReadAsZeroEmptyOrZeroDate) {
  table_.FieldDefs().Add("I", TFieldType::ftInteger);
  table_.FieldDefs().Add("F", TFieldType::ftFloat);
  table_.FieldDefs().Add("D", TFieldType::ftDateTime);
  table_.FieldDefs().Add("S", TFieldType::ftString, 10);
  table_.CreateDataSet();
  table_.Append();
  table_.Post();
  for (const char* name : {"I", "F", "D", "S"}) {
    TField& field = table_.FieldByName(name);
    EXPECT_TRUE(field.IsNull()) << name;
    EXPECT_EQ(field.AsString(), "") << name;
    EXPECT_EQ(field.AsFloat(), 0.0) << name;
  }
  EXPECT_EQ(table_.FieldByName("S").AsInteger(), 0);
  EXPECT_EQ(table_.FieldByName("D").AsDateTime(), TDateTime{});
  table_.Edit();
  table_.FieldByName("S").SetAsString("");
  table_.Post();
  EXPECT_FALSE(table_.FieldByName("S").IsNull());
  EXPECT_THROW(table_.FieldByName("S").AsInteger(), EConvertError);
}

TEST_F(ClientDataSetTest, ValuesConvertByColumnType) {
  const TFormatSettings saved = CurrentFormats();
  TFormatSettings comma = saved;
  comma.DecimalSeparator = ',';
  SetCurrentFormats(comma);
  table_.FieldDefs().Add("I", TFieldType::ftInteger);
  table_.FieldDefs().Add("F", TFieldType::ftFloat);
  table_.FieldDefs().Add("D", TFieldType::ftDateTime);
  table_.FieldDefs().Add("S", TFieldType::ftString, 20);
  table_.CreateDataSet();
  table_.Append();
  table_.FieldByName("I").SetAsFloat(2.5);
  table_.FieldByName("F").SetAsString("1,23456");
  table_.FieldByName("D").SetAsDateTime(EncodeDate(2024, 3, 5));
  table_.FieldByName("S").SetAsString("12,5");
  table_.Post();
  EXPECT_EQ(table_.FieldByName("I").AsInteger(), 2);
  EXPECT_EQ(table_.FieldByName("F").AsString(), "1,23456");
  EXPECT_DOUBLE_EQ(table_.FieldByName("F").AsCurrency(), 1.2346);
  EXPECT_EQ(table_.FieldByName("F").AsInteger(), 1);
  EXPECT_EQ(table_.FieldByName("D").AsString(), "05.03.2024");
  EXPECT_DOUBLE_EQ(table_.FieldByName("S").AsFloat(), 12.5);
  EXPECT_THROW(table_.FieldByName("D").AsInteger(), EDatabaseError);
  EXPECT_THROW(table_.FieldByName("I").AsDateTime(), EDatabaseError);
  SetCurrentFormats(saved);
}

TEST_F(ClientDataSetTest, TextsAreCutToTheirWidth) {
  table_.FieldDefs().Add("Note", TFieldType::ftString, 200);
  table_.CreateDataSet();
  table_.Append();
  table_.FieldByName("Note").SetAsString(std::string(150, 'a') + std::string(100, 'b'));
  table_.Post();
  EXPECT_EQ(table_.FieldByName("NOTE").AsString(), std::string(150, 'a') + std::string(50, 'b'));
}

TEST_F(ClientDataSetTest, MisuseFailsWithDatabaseErrors) {
  EXPECT_THROW(table_.First(), EDatabaseError);
  EXPECT_THROW(table_.Open(), EDatabaseError);
  EXPECT_THROW(table_.CreateDataSet(), EDatabaseError);
  EXPECT_THROW(table_.FieldDefs().Add("S", TFieldType::ftString, 0), EDatabaseError);
  CreateCategories();
  EXPECT_THROW(table_.FieldDefs().Add("name", TFieldType::ftInteger), EDatabaseError);
  try {
    table_.FieldByName("Missing");
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Field 'Missing' not found");
  }
  AddCategory(table_, 1, 0, "a");
  EXPECT_THROW(table_.FieldByName("Id").SetAsInteger(2), EDatabaseError);
  EXPECT_THROW(table_.Post(), EDatabaseError);
  EXPECT_THROW(table_.SetIndexName("nope"), EDatabaseError);
  EXPECT_THROW(table_.FindKey({1}), EDatabaseError);
  EXPECT_THROW(table_.SaveToFile("/tmp/table.cds"), EDatabaseError);
}

TEST_F(ClientDataSetTest, EmptyCloseAndOpen) {
  CreateCategories();
  AddCategory(table_, 1, 0, "a");
  table_.Close();
  EXPECT_FALSE(table_.Active());
  EXPECT_THROW(table_.RecordCount(), EDatabaseError);
  table_.Open();
  EXPECT_EQ(table_.RecordCount(), 1);
  table_.EmptyDataSet();
  EXPECT_EQ(table_.RecordCount(), 0);
  EXPECT_TRUE(table_.Eof());
}

TEST_F(ClientDataSetTest, IndexOrdersByIdAndKeepsAppendOrderForEqualKeys) {
  CreateCategories();
  AddCategory(table_, 30, 1, "x");
  AddCategory(table_, 10, 2, "y");
  AddCategory(table_, 20, 1, "z");
  AddCategory(table_, 10, 3, "w");
  table_.SetIndexFieldNames("Id");
  EXPECT_EQ(Walk(table_, "Name"), (std::vector<std::string>{"y", "w", "z", "x"}));
  table_.SetIndexFieldNames("IdParent;Id");
  EXPECT_EQ(Walk(table_, "Name"), (std::vector<std::string>{"z", "x", "y", "w"}));
  table_.SetIndexName("");
  EXPECT_EQ(Walk(table_, "Name"), (std::vector<std::string>{"x", "y", "z", "w"}));
}

TEST_F(ClientDataSetTest, CaseInsensitiveIndexGivesEqualKeysForCaseVariants) {
  CreateCategories();
  AddCategory(table_, 1, 0, "beta");
  AddCategory(table_, 2, 0, "Alpha");
  AddCategory(table_, 3, 0, "ALPHA");
  AddCategory(table_, 4, 0, Ansi("ёж"));
  AddCategory(table_, 5, 0, "alpha");
  table_.AddIndex("IdParent_Name", "IdParent;Name", true);
  table_.SetIndexName("IdParent_Name");
  EXPECT_EQ(Walk(table_, "Id"), (std::vector<std::string>{"2", "3", "5", "1", "4"}));
  EXPECT_TRUE(table_.FindKey({0, std::string("aLpHa")}));
  EXPECT_EQ(table_.FieldByName("Id").AsInteger(), 2);
}

TEST_F(ClientDataSetTest, FindNearestAndFindKey) {
  CreateCategories();
  AddCategory(table_, 1, -1, "neg");
  AddCategory(table_, 2, 5, "b");
  AddCategory(table_, 3, 5, "a");
  table_.SetIndexFieldNames("IdParent;Name");
  table_.FindNearest({0, std::string()});
  ASSERT_FALSE(table_.Eof());
  EXPECT_EQ(table_.FieldByName("Id").AsInteger(), 3);
  table_.FindNearest({6});
  EXPECT_TRUE(table_.Eof());
  EXPECT_FALSE(table_.FindKey({4}));
  EXPECT_TRUE(table_.FindKey({5}));
  EXPECT_EQ(table_.FieldByName("Name").AsString(), "a");
}

TEST_F(ClientDataSetTest, IndexFollowsAppendsAndEditsMadeAfterItWasBuilt) {
  CreateCategories();
  table_.SetIndexFieldNames("Id");
  AddCategory(table_, 5, 0, "five");
  AddCategory(table_, 1, 0, "one");
  ASSERT_TRUE(table_.FindKey({5}));
  table_.Edit();
  table_.FieldByName("Id").SetAsInteger(0);
  table_.Post();
  EXPECT_EQ(Walk(table_, "Name"), (std::vector<std::string>{"five", "one"}));
  EXPECT_FALSE(table_.FindKey({5}));
  ASSERT_TRUE(table_.FindKey({1}));
  table_.Edit();
  table_.FieldByName("IdParent").SetAsInteger(7);
  table_.Post();
  ASSERT_TRUE(table_.FindKey({1}));
  EXPECT_EQ(table_.FieldByName("IdParent").AsInteger(), 7);
}

// An index built over rows already there walks them by key, equal keys in row order, and keeps
// doing so through an edit that moves a row and an append made afterwards.
TEST_F(ClientDataSetTest, IndexBuiltOverManyRowsKeepsKeyThenRowOrderThroughLaterChanges) {
  CreateCategories();
  std::vector<int> keys;
  for (int row = 0; row < 500; ++row) {
    keys.push_back((row * 7) % 13);
    AddCategory(table_, keys.back(), 0, std::to_string(row));
  }
  const auto expected_walk = [&keys] {
    std::vector<int> rows(keys.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&keys](int a, int b) { return keys[a] < keys[b]; });
    std::vector<std::string> names;
    for (int row : rows) names.push_back(std::to_string(row));
    return names;
  };
  table_.SetIndexFieldNames("Id");
  EXPECT_EQ(Walk(table_, "Name"), expected_walk());

  ASSERT_TRUE(table_.FindKey({6}));
  const int moved = std::stoi(table_.FieldByName("Name").AsString());
  table_.Edit();
  table_.FieldByName("Id").SetAsInteger(20);
  table_.Post();
  keys[moved] = 20;
  AddCategory(table_, 3, 0, "500");
  keys.push_back(3);
  EXPECT_EQ(Walk(table_, "Name"), expected_walk());
}

// The depth-first walk of a category tree: a second cursor per level over the same index.
TEST_F(ClientDataSetTest, ClonedCursorsWalkATreeDepthFirst) {
  CreateCategories();
  AddCategory(table_, 1, 0, "Drinks");
  AddCategory(table_, 2, 1, "Juices");
  AddCategory(table_, 3, 2, "Apple");
  AddCategory(table_, 4, 0, "Bakery");
  AddCategory(table_, 5, 77, "Orphans");
  table_.AddIndex("IdParent_Name", "IdParent;Name", true);
  table_.SetIndexName("IdParent_Name");

  std::vector<std::string> walked;
  std::function<void(int, int)> visit = [&](int parent, int level) {
    TClientDataSet cursor;
    cursor.CloneCursor(table_);
    for (cursor.FindNearest({parent, std::string()});
         !cursor.Eof() && cursor.FieldByName("IdParent").AsInteger() == parent; cursor.Next()) {
      walked.push_back(std::to_string(level) + cursor.FieldByName("Name").AsString());
      visit(cursor.FieldByName("Id").AsInteger(), level + 1);
    }
  };
  visit(0, 1);
  EXPECT_EQ(walked, (std::vector<std::string>{"1Bakery", "1Drinks", "2Juices", "3Apple"}));
  EXPECT_EQ(table_.FieldByName("Name").AsString(), "Bakery");  // the clones moved on their own
}

}  // namespace

namespace {

TEST(TableDataTest, TextsGrowShrinkAndMayBeSetFromTheirOwnStore) {
  TTableData data({TFieldDef{"Name", TFieldType::ftString, 0}, TFieldDef{"Code", TFieldType::ftString, 3}});
  for (int row = 0; row < 3; ++row) data.AddRow(false);
  data.SetText(0, 0, "a name longer than any small string");
  data.SetText(1, 0, "short");
  data.SetText(0, 0, "shorter");
  data.SetText(1, 0, "now the longest text of the column, written anew");
  EXPECT_EQ(data.Text(0, 0), "shorter");
  EXPECT_EQ(data.Text(1, 0), "now the longest text of the column, written anew");
  // A cell set from a view of the same column, longer and shorter than what it held.
  data.SetText(2, 0, data.Text(1, 0));
  data.SetText(1, 0, data.Text(1, 0).substr(4, 7));
  EXPECT_EQ(data.Text(2, 0), "now the longest text of the column, written anew");
  EXPECT_EQ(data.Text(1, 0), "the lon");
  data.SetText(0, 1, "ABCDEF");
  EXPECT_EQ(data.Text(0, 1), "ABC") << "cut to the column's width";
  data.SetNull(2, 0);
  EXPECT_TRUE(data.IsNull(2, 0));
  EXPECT_EQ(data.Text(2, 0), "");
  EXPECT_EQ(data.Text(0, 0), "shorter");
  data.RemoveAllRows();
  data.AddRow(false);
  EXPECT_EQ(data.Text(0, 0), "");
}

}  // namespace
