#include "test_support/built_programs.h"

#include <cstdlib>
#include <filesystem>

std::string BinDirectory() {
  const char* bin = std::getenv("ZP_BIN_DIR");
  if (bin == nullptr || *bin == '\0') return {};
  std::string directory = bin;
  if (directory.back() != '/') directory += '/';
  return directory;
}

std::string MissingFromBin(std::initializer_list<const char*> files) {
  const std::string directory = BinDirectory();
  for (const char* file : files) {
    if (directory.empty() || !std::filesystem::exists(directory + file)) return file;
  }
  return {};
}
