#include "exchange/odbc_test_drivers.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kSqliteDriverLibrary = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

std::string BuildRegistry() {
  const char* bin_dir = std::getenv("ZP_BIN_DIR");
  if (bin_dir == nullptr) return "";
  std::ifstream file(std::filesystem::path(bin_dir) / ".." / "etc" / "odbcinst.ini");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

void UseTestDriverRegistry() {
  static const bool done = [] {
    const char* temporary = std::getenv("TEST_TMPDIR");
    const std::filesystem::path directory =
        std::filesystem::path(temporary != nullptr ? temporary : "/tmp") / "odbc_registry";
    std::filesystem::create_directories(directory);
    std::ofstream file(directory / "odbcinst.ini");
    file << "[" << kSqliteTestDriver << "]\nDriver=" << kSqliteDriverLibrary << "\n\n" << BuildRegistry();
    file.close();
    std::ofstream(directory / "odbc.ini").close();
    ::setenv("ODBCSYSINI", directory.c_str(), 1);
    ::setenv("ODBCINI", (directory / "odbc.ini").c_str(), 1);
    return true;
  }();
  (void)done;
}

bool BuildRegistersDriver(const std::string& driver_name) {
  return BuildRegistry().find("[" + driver_name + "]") != std::string::npos;
}
