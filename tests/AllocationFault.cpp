// The replaced operator new of a test program (see AllocationFault.h).
#include "AllocationFault.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define HP_SANITIZED_NEW 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define HP_SANITIZED_NEW 1
#endif
#endif

namespace hp::test {
namespace {

std::atomic<std::size_t> g_failFrom{SIZE_MAX};

}  // namespace

FailLargeAllocations::FailLargeAllocations(std::size_t fromBytes) { g_failFrom = fromBytes; }
FailLargeAllocations::~FailLargeAllocations() { g_failFrom = SIZE_MAX; }

#ifdef HP_SANITIZED_NEW
bool AllocationFaultsAvailable() { return false; }
#else
bool AllocationFaultsAvailable() { return true; }
#endif

}  // namespace hp::test

#ifndef HP_SANITIZED_NEW
void* operator new(std::size_t size) {
  if (size >= hp::test::g_failFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
#endif
