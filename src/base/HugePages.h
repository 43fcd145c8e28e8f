// Memory for large arrays that a computation reads at scattered places, such
// as the hash table of a million stations. With ordinary 4 KiB pages nearly
// every such read also waits for the translation of its page's address;
// blocks of 2 MiB or more are aligned and offered to the kernel as huge
// pages, where it allows them, so that a few hundred translations cover the
// whole array. Smaller blocks come from the general heap.
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <vector>

namespace hp::base {

void* AllocateLarge(std::size_t bytes);
void ReleaseLarge(void* memory, std::size_t bytes) noexcept;

template <class T>
struct HugePageAllocator {
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateLarge(count * sizeof(T)));
  }
  void deallocate(T* memory, std::size_t count) noexcept { ReleaseLarge(memory, count * sizeof(T)); }

  friend bool operator==(const HugePageAllocator&, const HugePageAllocator&) { return true; }
};

template <class T>
using LargeVector = std::vector<T, HugePageAllocator<T>>;

}  // namespace hp::base
