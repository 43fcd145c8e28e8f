// A slab pool for survey records.
#include "doc/RecordPool.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace hp::doc {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 21;  // one huge page
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kSlotSize = kRecordSlotSize;
constexpr std::size_t kSlotsPerChunk = (kChunkSize - kHeaderSize) / kSlotSize;

struct FreeSlot {
  FreeSlot* next;
};

// Lives at the start of each chunk, so a slot finds its chunk by alignment.
struct Chunk {
  FreeSlot* freeSlots = nullptr;
  std::size_t live = 0;
  std::size_t carved = 0;  // slots handed out at least once
  Chunk* prev = nullptr;   // in the list of chunks with room
  Chunk* next = nullptr;
  bool listed = false;

  void* Slot(std::size_t i) { return reinterpret_cast<char*>(this) + kHeaderSize + i * kSlotSize; }
  bool Full() const { return freeSlots == nullptr && carved == kSlotsPerChunk; }
};
static_assert(sizeof(Chunk) <= kHeaderSize);

class Pool {
 public:
  void* Allocate() {
    std::lock_guard lock(m_mutex);
    Chunk* chunk = m_withRoom ? m_withRoom : NewChunk();
    if (!chunk) throw std::bad_alloc();
    void* slot;
    if (chunk->freeSlots) {
      slot = chunk->freeSlots;
      chunk->freeSlots = chunk->freeSlots->next;
    } else {
      slot = chunk->Slot(chunk->carved++);
    }
    if (chunk->live++ == 0 && chunk == m_spare) m_spare = nullptr;
    if (chunk->Full()) Unlist(chunk);
    return slot;
  }

  void Release(void* memory) {
    std::lock_guard lock(m_mutex);
    auto* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(memory) & ~(kChunkSize - 1));
    auto* slot = static_cast<FreeSlot*>(memory);
    slot->next = chunk->freeSlots;
    chunk->freeSlots = slot;
    if (!chunk->listed) List(chunk);
    if (--chunk->live > 0) return;
    if (m_spare == nullptr) {
      m_spare = chunk;  // keep one empty chunk so a single record does not thrash
      return;
    }
    Unlist(chunk);
    FreeChunk(chunk);
  }

 private:
  Chunk* NewChunk() {
    void* memory = std::aligned_alloc(kChunkSize, kChunkSize);
    if (!memory) return nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(memory, kChunkSize, MADV_HUGEPAGE);
#endif
    auto* chunk = new (memory) Chunk();
    List(chunk);
    return chunk;
  }

  void FreeChunk(Chunk* chunk) {
    chunk->~Chunk();
    std::free(chunk);
  }

  void List(Chunk* chunk) {
    chunk->prev = nullptr;
    chunk->next = m_withRoom;
    if (m_withRoom) m_withRoom->prev = chunk;
    m_withRoom = chunk;
    chunk->listed = true;
  }

  void Unlist(Chunk* chunk) {
    if (chunk->prev) chunk->prev->next = chunk->next;
    if (chunk->next) chunk->next->prev = chunk->prev;
    if (m_withRoom == chunk) m_withRoom = chunk->next;
    chunk->prev = chunk->next = nullptr;
    chunk->listed = false;
  }

  std::mutex m_mutex;
  Chunk* m_withRoom = nullptr;
  Chunk* m_spare = nullptr;
};

[[maybe_unused]] Pool& ThePool() {
  // Never destroyed: records may outlive every other static object.
  static Pool* pool = new Pool();
  return *pool;
}

}  // namespace

bool RecordPoolEnabled() {
#if defined(HP_PLAIN_ALLOCATION)
  return false;
#else
  return true;
#endif
}

void* AllocateRecordMemory(std::size_t size) {
#if defined(HP_PLAIN_ALLOCATION)
  return ::operator new(size);
#else
  if (size > kSlotSize) return ::operator new(size);
  return ThePool().Allocate();
#endif
}

void ReleaseRecordMemory(void* memory, std::size_t size) noexcept {
  if (!memory) return;
#if defined(HP_PLAIN_ALLOCATION)
  (void)size;
  ::operator delete(memory);
#else
  if (size > kSlotSize) return ::operator delete(memory);
  ThePool().Release(memory);
#endif
}

}  // namespace hp::doc
