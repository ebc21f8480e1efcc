#include "ui/file_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(FileChooserTest, ListsTheParentThenDirectoriesThenFiles) {
  const fs::path root = fs::path(::testing::TempDir()) / "chooser_entries";
  fs::remove_all(root);
  fs::create_directories(root / "b dir");
  fs::create_directories(root / "a dir");
  std::ofstream(root / "z.sh") << "x";
  std::ofstream(root / "c.txt") << "x";
  EXPECT_EQ(ChooserEntries(root.string()), (std::vector<std::string>{"../", "a dir/", "b dir/", "c.txt", "z.sh"}));
  EXPECT_EQ(ChooserEntries("/").front() == "../", false);
  EXPECT_EQ(ChooserEntries((root / "missing").string()), std::vector<std::string>{"../"});
  fs::remove_all(root);
}

}  // namespace
