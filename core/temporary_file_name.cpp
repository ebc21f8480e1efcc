#include "core/temporary_file_name.h"

#include <unistd.h>

#include <charconv>

namespace {
constexpr std::string_view kTemporaryMark = ".tmp-";
}

std::string TemporaryPathFor(const std::string& path) {
  return path + std::string(kTemporaryMark) + std::to_string(::getpid());
}

std::optional<pid_t> TemporaryFileWriter(std::string_view file_name) {
  const size_t mark = file_name.rfind(kTemporaryMark);
  if (mark == std::string_view::npos || mark == 0) return std::nullopt;
  const std::string_view digits = file_name.substr(mark + kTemporaryMark.size());
  if (digits.empty() || digits.size() > 9 || digits.front() == '0') return std::nullopt;
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return pid;
}
