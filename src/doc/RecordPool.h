// Memory for survey records. A large survey holds hundreds of thousands of
// records; taking each from the general heap costs a page fault for every few
// records read. The pool hands out record-sized slots from large aligned
// chunks that the kernel can back with huge pages, and gives a chunk back
// when its last record is freed (one empty chunk is kept for reuse).
#pragma once

#include <cstddef>

namespace hp::doc {

// The bytes of one slot: a survey record rounded up to 16 bytes
// (SurveyRecord.h checks that the two agree).
inline constexpr std::size_t kRecordSlotSize = 1200;

// Memory for one object of `size` bytes; objects larger than a slot come
// from the general heap.
void* AllocateRecordMemory(std::size_t size);
void ReleaseRecordMemory(void* memory, std::size_t size) noexcept;

// False in sanitizer builds, where records come from the general heap so
// every use of them is checked.
bool RecordPoolEnabled();

}  // namespace hp::doc
