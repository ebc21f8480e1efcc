#include "export/category_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TPlaced {
  int32_t Id;
  int32_t Level;
  int32_t ChildCount;
  bool operator==(const TPlaced&) const = default;
};

std::vector<TPlaced> Placed(const TCategoryTree& tree) {
  std::vector<TPlaced> placed;
  int32_t expected_row = 1;
  for (const TCategoryRow& row : tree.Rows()) {
    EXPECT_EQ(row.IdRow, expected_row++);
    placed.push_back({row.Id, row.Level, row.ChildCount});
  }
  return placed;
}

const std::vector<TCategorySource> kDrinksAndBakery = {
    {1, 0, "Drinks"}, {2, 1, "Juices"}, {3, 2, "Apple"}, {4, 0, "Bakery"}};

TEST(CategoryTreeTest, SortedTreeIsDepthFirstWithSiblingsByName) {
  const TCategoryTree tree = TCategoryTree::Build(kDrinksAndBakery, true);
  EXPECT_EQ(Placed(tree), (std::vector<TPlaced>{{4, 1, 0}, {1, 1, 1}, {2, 2, 1}, {3, 3, 0}}));
  EXPECT_EQ(tree.Rows()[3].Name, "Apple");
  EXPECT_EQ(tree.Rows()[3].IdParent, 2);
}

TEST(CategoryTreeTest, UnsortedTreeKeepsTheInputOrderOfSiblings) {
  const TCategoryTree tree = TCategoryTree::Build(kDrinksAndBakery, false);
  EXPECT_EQ(Placed(tree), (std::vector<TPlaced>{{1, 1, 1}, {2, 2, 1}, {3, 3, 0}, {4, 1, 0}}));
}

TEST(CategoryTreeTest, NamesEqualButForCaseKeepTheirInputOrder) {
  const TCategoryTree tree = TCategoryTree::Build({{1, 0, "tea"}, {2, 0, "Coffee"}, {3, 0, "TEA"}}, true);
  EXPECT_EQ(Placed(tree), (std::vector<TPlaced>{{2, 1, 0}, {1, 1, 0}, {3, 1, 0}}));
}

TEST(CategoryTreeTest, RowsThatCannotBePlacedAreLeftOutWithTheirSubtrees) {
  const TCategoryTree tree = TCategoryTree::Build({{1, 0, "Top"},
                                                   {5, 77, "Orphans"},
                                                   {6, 5, "Below orphans"},
                                                   {7, -1, "Negative"},
                                                   {8, 9, "Loop"},
                                                   {9, 8, "Loop"},
                                                   {10, 10, "Own parent"}},
                                                  true);
  EXPECT_EQ(Placed(tree), (std::vector<TPlaced>{{1, 1, 0}}));
}

TEST(CategoryTreeTest, WalkEndsForIdZeroAndDuplicates) {
  // A category 0 is its own parent's child; a duplicate id would make a row its own ancestor.
  const TCategoryTree zero = TCategoryTree::Build({{0, 0, "Zero"}, {1, 0, "One"}}, true);
  EXPECT_EQ(zero.Rows().size(), 2u);
  const TCategoryTree duplicates =
      TCategoryTree::Build({{1, 0, "A"}, {2, 1, "B"}, {1, 2, "A again"}, {3, 1, "C"}}, true);
  EXPECT_EQ(Placed(duplicates), (std::vector<TPlaced>{{1, 1, 1}, {2, 2, 1}, {1, 3, 1}, {3, 4, 0}}));
}

TEST(CategoryTreeTest, DeepChainIsWalkedWithoutRecursion) {
  std::vector<TCategorySource> chain;
  for (int32_t id = 1; id <= 100000; ++id) chain.push_back({id, id - 1, "c"});
  const TCategoryTree tree = TCategoryTree::Build(chain, true);
  ASSERT_EQ(tree.Rows().size(), chain.size());
  EXPECT_EQ(tree.Rows().back().Level, 100000);
}

TEST(CategoryTreeTest, ProductsCountOnlyInTheirOwnCategory) {
  TCategoryTree tree = TCategoryTree::Build(kDrinksAndBakery, false);
  for (int32_t category : {2, 2, 3, 999}) tree.CountProduct(category);
  EXPECT_EQ(tree.Rows()[0].ProductCount, 0);
  EXPECT_EQ(tree.Rows()[1].ProductCount, 2);
  EXPECT_EQ(tree.Rows()[2].ProductCount, 1);
}

TEST(CategoryTreeTest, DisplayNamesAreIndentedAndCutTo60Characters) {
  EXPECT_EQ(CategoryDisplayName("Bakery", 1), "Bakery");
  EXPECT_EQ(CategoryDisplayName("Juices", 2), "    |-Juices");
  EXPECT_EQ(CategoryDisplayName("Apple", 3), "       |-Apple");
  const std::string seventy(70, 'x');
  EXPECT_EQ(CategoryDisplayName(seventy, 3), "       |-" + std::string(51, 'x'));
  EXPECT_EQ(CategoryDisplayName(seventy, 1), std::string(60, 'x'));
}

}  // namespace
