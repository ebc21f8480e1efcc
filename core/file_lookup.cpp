#include "core/file_lookup.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/collation.h"
#include "core/exceptions.h"

namespace fs = std::filesystem;

std::string WithTrailingSlash(std::string_view dir) {
  std::string out(dir);
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

std::optional<std::string> FindFileNoCase(std::string_view dir, std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::string base = WithTrailingSlash(dir);
  std::error_code error;
  const std::string exact = base + std::string(name);
  if (fs::exists(exact, error)) return exact;
  for (fs::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (SameText(entry, name)) return base + entry;
  }
  return std::nullopt;
}

bool FileExistsNoCase(std::string_view dir, std::string_view name) { return FindFileNoCase(dir, name).has_value(); }

std::string PathNoCase(std::string_view dir, std::string_view name) {
  if (auto found = FindFileNoCase(dir, name)) return *found;
  return WithTrailingSlash(dir) + std::string(name);
}

bool DeleteFileNoCase(std::string_view dir, std::string_view name) {
  const auto found = FindFileNoCase(dir, name);
  if (!found) return false;
  std::error_code error;
  if (!fs::remove(*found, error) && error) {
    throw Exception("Cannot delete \"" + *found + "\": " + error.message());
  }
  return true;
}
