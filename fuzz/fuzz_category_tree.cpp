// libFuzzer target: any bytes as a categories file (text), read as the export reads it and
// flattened with and without sorting; the walk must end and place each row at most once.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "exchange/txt_table.h"
#include "export/category_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string directory = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("fuzz_category_tree." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  const std::string header = "Id;IdParent;Name\r\n";
  std::FILE* file = std::fopen((directory + "/Category.txt").c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(header.data(), 1, header.size(), file);
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  TcsTXTTable table([](const std::string&, const std::string&) {});
  table.Directory = directory;
  table.FileName = "category.txt";
  std::vector<TCategorySource> sources;
  try {
    if (!table.Load()) return 0;
    for (table.First(); !table.Eof(); table.Next()) {
      try {
        sources.push_back({table.FieldByName("Id").AsInteger(), table.FieldByName("IdParent").AsInteger(),
                           std::string(table.FieldByName("Name").AsString())});
      } catch (const EConvertError&) {
      }
    }
  } catch (const Exception&) {
    return 0;
  }
  for (bool sort : {true, false}) {
    const TCategoryTree tree = TCategoryTree::Build(sources, sort);
    if (tree.Rows().size() > sources.size()) std::abort();
    for (const TCategoryRow& row : tree.Rows()) {
      if (row.Level < 1 || CategoryDisplayName(row.Name, row.Level).size() > 60) std::abort();
    }
  }
  return 0;
}
