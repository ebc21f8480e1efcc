#include "export/category_tree.h"

#include <algorithm>
#include <numeric>

#include "core/collation.h"

namespace {

constexpr size_t kDisplayWidth = 60;

// The positions [first, last) of a parent's children in the ordered sources.
struct TChildRange {
  size_t First = 0;
  size_t Last = 0;
};

// One parent being walked: its children still to visit and the row that receives their count.
struct TWalkFrame {
  size_t Position;
  size_t Last;
  int32_t Level;  // of the children
  size_t ParentRow;
  bool TopLevel;
  int32_t Children = 0;
};

}  // namespace

TCategoryTree TCategoryTree::Build(const std::vector<TCategorySource>& sources, bool sort_by_name) {
  std::vector<size_t> order(sources.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (sources[a].IdParent != sources[b].IdParent) return sources[a].IdParent < sources[b].IdParent;
    return sort_by_name && CompareText(sources[a].Name, sources[b].Name) < 0;
  });
  std::unordered_map<int32_t, TChildRange> children;
  for (size_t position = 0; position < order.size(); ++position) {
    TChildRange& range =
        children.try_emplace(sources[order[position]].IdParent, TChildRange{position, position}).first->second;
    range.Last = position + 1;
  }
  const auto range_of = [&](int32_t parent) {
    const auto found = children.find(parent);
    return found == children.end() ? TChildRange{} : found->second;
  };

  TCategoryTree tree;
  std::vector<bool> placed(sources.size(), false);
  const TChildRange top = range_of(0);
  std::vector<TWalkFrame> walk{{top.First, top.Last, 1, 0, true}};
  while (!walk.empty()) {
    TWalkFrame& frame = walk.back();
    if (frame.Position == frame.Last) {
      if (!frame.TopLevel) tree.rows_[frame.ParentRow].ChildCount = frame.Children;
      walk.pop_back();
      continue;
    }
    const size_t source_index = order[frame.Position++];
    if (placed[source_index]) continue;
    placed[source_index] = true;
    ++frame.Children;
    const TCategorySource& source = sources[source_index];
    const int32_t level = frame.Level;
    TCategoryRow row;
    row.IdRow = static_cast<int32_t>(tree.rows_.size() + 1);
    row.Id = source.Id;
    row.IdParent = source.IdParent;
    row.Name = source.Name;
    row.Level = level;
    tree.row_of_id_.try_emplace(source.Id, tree.rows_.size());
    tree.rows_.push_back(std::move(row));
    const TChildRange below = range_of(source.Id);
    walk.push_back({below.First, below.Last, level + 1, tree.rows_.size() - 1, false});
  }
  return tree;
}

void TCategoryTree::CountProduct(int32_t category_id) {
  const auto found = row_of_id_.find(category_id);
  if (found != row_of_id_.end()) ++rows_[found->second].ProductCount;
}

std::string CategoryDisplayName(const std::string& name, int32_t level) {
  std::string display;
  if (level >= 2) {
    display.assign(static_cast<size_t>(3 * level - 2), ' ');
    display += "|-";
  }
  display += name;
  if (display.size() > kDisplayWidth) display.resize(kDisplayWidth);
  return display;
}
