#include "hotsync/host_heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The flags of the mapping that holds the address, from /proc/self/smaps ("" when none does).
std::string MappingFlags(const void* address) {
  const auto target = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> begin >> dash >> end && dash == '-') {
      inside = begin <= target && target < end;
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      return line;
    }
  }
  return "";
}

TEST(HostHeap, LargeBlocksAfterSetUpLieOnTheHeapAdvisedForHugePages) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator keeps a heap of its own";
#endif
  if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage")) GTEST_SKIP() << "no huge pages here";
  SetUpHostHeap();
  // A database file's bytes: megabytes, below the largest block the heap serves.
  void* block = std::malloc(8 << 20);
  ASSERT_NE(block, nullptr);
  const std::string flags = MappingFlags(static_cast<char*>(block) + (4 << 20));
  std::free(block);
  EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

}  // namespace
