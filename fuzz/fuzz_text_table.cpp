// libFuzzer target: any bytes as a delimited text file, loaded, sorted and walked.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/exceptions.h"
#include "exchange/txt_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string directory = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("fuzz_text_table." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  std::FILE* file = std::fopen((directory + "/Input.txt").c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  TcsTXTTable table([](const std::string&, const std::string&) {});
  table.Directory = directory;
  table.FileName = "input.TXT";
  try {
    if (!table.Load()) return 0;
    for (int pass = 0; pass < 2; ++pass) {
      if (pass == 1) table.SortBy(table.Fields(0).FieldName());
      for (int guard = 0; !table.Eof() && guard <= table.RecordCount() + 1; ++guard) {
        try {
          (void)table.Fields(table.FieldCount() - 1).AsInteger();
        } catch (const EConvertError&) {
        }
        table.Next();
      }
    }
    table.Append();
    table.Post();
  } catch (const Exception&) {
  }
  return 0;
}
