// TCategoryTree: the product categories flattened into depth-first order, the way the handheld
// lists them: each category followed by its whole subtree, with its depth, the number of its
// direct subcategories, the number of products filed directly under it and its display name.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// One input row: a category and its parent (0 at the top level).
struct TCategorySource {
  int32_t Id = 0;
  int32_t IdParent = 0;
  std::string Name;
};

struct TCategoryRow {
  int32_t IdRow = 0;  // 1 for the first category placed
  int32_t Id = 0;
  int32_t IdParent = 0;
  std::string Name;
  int32_t Level = 0;  // 1 at the top level
  int32_t ProductCount = 0;
  int32_t ChildCount = 0;  // direct subcategories placed in the tree
};

class TCategoryTree {
 public:
  // Places every source whose chain of parents reaches 0, siblings ordered by name (ignoring
  // case) when sort_by_name is set, else in input order. Each source is placed at most once, so
  // ids of 0, duplicates and loops end the walk; what cannot be placed is left out.
  static TCategoryTree Build(const std::vector<TCategorySource>& sources, bool sort_by_name);

  // In IdRow order.
  const std::vector<TCategoryRow>& Rows() const { return rows_; }
  // One more product in the category of that id (the first row placed with it); none: no count.
  void CountProduct(int32_t category_id);

 private:
  std::vector<TCategoryRow> rows_;
  std::unordered_map<int32_t, size_t> row_of_id_;
};

// The name as the handheld draws it: at level 2 and deeper 3·level − 2 blanks and "|-" before
// it; cut to 60 characters.
std::string CategoryDisplayName(const std::string& name, int32_t level);
