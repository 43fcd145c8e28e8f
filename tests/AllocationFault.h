// Failing allocations on purpose: while armed, every allocation through
// operator new of at least the given size throws std::bad_alloc, as it does
// when the machine runs out of memory for a large block.
#pragma once

#include <cstddef>

namespace hp::test {

// False in sanitizer builds, whose runtime owns operator new.
bool AllocationFaultsAvailable();

class FailLargeAllocations {
 public:
  explicit FailLargeAllocations(std::size_t fromBytes);
  ~FailLargeAllocations();
  FailLargeAllocations(const FailLargeAllocations&) = delete;
  FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};

}  // namespace hp::test
