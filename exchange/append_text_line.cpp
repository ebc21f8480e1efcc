#include "exchange/append_text_line.h"

#include <cstdio>

#include "core/file_lookup.h"

namespace {

// The existing file that path names without regard to the case of its name, or path itself.
std::string ResolvePath(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return PathNoCase(".", path);
  return PathNoCase(std::string_view(path).substr(0, slash + 1), std::string_view(path).substr(slash + 1));
}

}  // namespace

void AppendTextLine(const std::string& path, std::string_view line) {
  if (path.empty()) return;
  std::FILE* file = std::fopen(ResolvePath(path).c_str(), "ab");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fwrite("\r\n", 1, 2, file);
  std::fclose(file);
}
