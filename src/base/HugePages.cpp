// Large blocks aligned to huge pages.
#include "base/HugePages.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace hp::base {
namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

bool Large(std::size_t bytes) { return bytes >= kHugePage; }

std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (!Large(bytes)) return ::operator new(bytes);
  if (bytes > std::numeric_limits<std::size_t>::max() - kHugePage) throw std::bad_alloc();
  void* memory = std::aligned_alloc(kHugePage, Rounded(bytes));
  if (!memory) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(memory, Rounded(bytes), MADV_HUGEPAGE);
#endif
  return memory;
}

void ReleaseLarge(void* memory, std::size_t bytes) noexcept {
  if (!memory) return;
  if (Large(bytes)) {
    std::free(memory);
  } else {
    ::operator delete(memory);
  }
}

}  // namespace hp::base
