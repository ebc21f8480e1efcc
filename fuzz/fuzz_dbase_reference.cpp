// libFuzzer target: any bytes as a dBase reference file, read whole, sorted by its first column
// and every value of every record converted as the export steps read them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/exceptions.h"
#include "export/dbase_cursor.h"

namespace {

void ReadEveryValue(const TDbaseColumn& column) {
  const auto attempt = [](auto read) {
    try {
      read();
    } catch (const EConvertError&) {
    }
  };
  attempt([&] { (void)column.AsInteger(); });
  attempt([&] { (void)column.AsFloat(); });
  attempt([&] { (void)column.AsCurrency(); });
  attempt([&] { (void)column.AsDateTime(); });
  (void)column.AsString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("fuzz_dbase_reference." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "Product.DBF").string();
  }();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  TDbaseCursor cursor;
  try {
    cursor.Open(path);
  } catch (const EDbaseFileError&) {
    return 0;
  }
  const int field_count = static_cast<int>(cursor.File().Fields().size());
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1 && field_count > 0) cursor.SortBy(0);
    for (; !cursor.Eof(); cursor.Next()) {
      for (int column = 0; column < field_count; ++column) ReadEveryValue(TDbaseColumn(cursor, column));
    }
  }
  return 0;
}
