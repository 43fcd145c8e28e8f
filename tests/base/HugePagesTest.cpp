// Large arrays: every size below, at and above a huge page holds its values
// through growth, large blocks start on a huge page, and a count whose bytes
// overflow is refused instead of giving a small block.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>

#include "base/HugePages.h"

namespace hp::base {
namespace {

constexpr size_t kHugePage = size_t{1} << 21;

TEST(HugePages, ArraysOfEverySizeKeepTheirValues) {
  for (const size_t count : {size_t{1}, kHugePage / 8 - 1, kHugePage / 8, 3 * kHugePage / 8 + 5}) {
    LargeVector<uint64_t> values(count);
    for (size_t i = 0; i < count; ++i) values[i] = i * 3;
    values.push_back(7);  // grows into a new block
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(values[i], i * 3) << "count " << count;
    EXPECT_EQ(values.back(), 7u);
    if (values.capacity() * sizeof(uint64_t) >= kHugePage) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(values.data()) % kHugePage, 0u) << "count " << count;
    }
  }
}

TEST(HugePages, OverflowingCountIsRefused) {
  HugePageAllocator<uint64_t> allocator;
  EXPECT_THROW((void)allocator.allocate(std::numeric_limits<size_t>::max() / 4), std::bad_array_new_length);
}

}  // namespace
}  // namespace hp::base
