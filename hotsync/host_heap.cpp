#include "hotsync/host_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uintptr_t kHugePage = 2 << 20;

// A sync allocates and frees buffers of many megabytes, one set per database and file. The
// allocator serves them from the heap and keeps what is freed for the next ones instead of
// handing it back to the system and faulting it in afresh.
void KeepFreedMemoryForReuse() {
  constexpr int kLargestHeapBlock = 32 << 20;
  constexpr int kKeptFreeTop = 1 << 30;
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeTop);
}

// The first touch of a 4 KiB page costs a fault; on the virtual machines we run on that is about
// 10 µs, more than the work a sync does on the page. A 2 MiB huge page costs one fault. The heap
// grows once by a stretch of address space (no memory is touched), and the system is asked to
// back that stretch with huge pages where it can. Growth beyond it is as usual, and where the
// system has no huge pages (or no room for the stretch) nothing changes but the speed.
void PutHeapStretchOnHugePages() {
  constexpr std::size_t kStretch = 256 << 20;
  constexpr int kUsualTopPad = 128 << 10;
  auto* const before = static_cast<char*>(sbrk(0));
  mallopt(M_TOP_PAD, static_cast<int>(kStretch));
  // Larger than the heap's free top, so the allocator has to grow the heap, by the pad.
  void* volatile growth = std::malloc(mallinfo2().keepcost + kHugePage);
  auto* const after = static_cast<char*>(sbrk(0));
  std::free(growth);
  mallopt(M_TOP_PAD, kUsualTopPad);
  const auto begin = (reinterpret_cast<std::uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(after) & ~(kHugePage - 1);
  if (before == reinterpret_cast<char*>(-1) || end <= begin) return;
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

void SetUpHostHeap() {
  KeepFreedMemoryForReuse();
  PutHeapStretchOnHugePages();
}
