// The bookkeeping that lets a loop closure recompute only what it changes.
//
// When a loop closes, the pass computes every record from the loop's first
// record up to the closing record again. Most of those records are not part
// of the loop and do not hang off it, so computing them again gives what
// they already hold. This class knows, for the records computed so far,
// which records read which (the predecessor, the known end and the earlier
// definer of a self reference), which record takes the cross-section
// junction with a station, which records give a different result each time
// they are computed, and which records took a junction the last time; from
// that it marks the records that must be computed again, in list order.
//
// A record computed again takes a junction with its predecessor exactly when
// it is the first record (in list order) continuing from that predecessor
// and the predecessor itself lies in the stretch computed again; otherwise
// the predecessor already has a successor and the record gets a single
// station cross-section. A record whose only change is that kind of
// cross-section gets it built once, when the pass ends: only the last one
// counts.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/HugePages.h"
#include "calc/StationIndex.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

class LoopRewalk {
 public:
  using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;
  static constexpr uint32_t kNone = UINT32_MAX;

  // Forgets everything and prepares for a pass over `count` records whose
  // stations `index` looks up.
  void Start(size_t count, const StationIndex& index);
  // Whether the links exist: a long loop has closed in this pass.
  bool linked() const { return m_linked > 0; }
  // Links the records up to and including `position` in list order.
  void Link(const Records& records, const StationIndex& index, size_t position);

  // Notes how the record at `position` was computed: with a junction to its
  // predecessor `predecessor` or not. For every record computed.
  void NoteVisit(size_t position, int64_t predecessor, bool junction);
  // Marks a record that gives a different result each time it is computed.
  void MarkVolatile(size_t position);

  // The linked records with loop number `number` (absolute) from `first` to
  // `last` (list positions, inclusive), ascending.
  std::vector<size_t> RingMembers(int32_t number, size_t first, size_t last) const;

  // Starts computing the stretch `first` … `last` again after a closure
  // whose corrected records are `corrected`; `everything` marks the whole
  // stretch.
  void BeginStretch(size_t first, size_t last, const std::vector<size_t>& corrected, bool everything);
  // The next record to compute again, ascending; false at the end. `full`
  // is false when only its cross-section needs building again.
  bool Next(size_t& position, bool& full);
  // Marks the records that read the station of the record at `position`.
  void MarkReaders(size_t position);
  // Marks a record to compute again, or only its cross-section.
  void Mark(size_t position);
  void MarkSection(size_t position);

  // The first record after `position` that continues from its station (it
  // takes the cross-section junction there), or kNone.
  uint32_t FirstSuccessor(size_t position) const {
    return position < m_firstSuccessor.size() ? m_firstSuccessor[position] : kNone;
  }
  // The predecessor the record at `position` took its last junction with,
  // or kNone.
  uint32_t JunctionOf(size_t position) const {
    return Bit(m_junction, position) ? IndexedPredecessor(position) : kNone;
  }

  // Records computed again in the current stretch, which leaves them without
  // a successor until one takes their junction. Every other record that a
  // walked record continues from still has one.
  void NoteReset(size_t position) { SetBit(m_reset, position); }
  bool WasReset(size_t position) const { return Bit(m_reset, position); }

  // Records whose cross-section is due: built when the pass ends or before
  // they are computed again.
  void SetPending(size_t position, bool pending) {
    const uint64_t bit = uint64_t{1} << (position & 63);
    m_pending[position >> 6] = pending ? m_pending[position >> 6] | bit : m_pending[position >> 6] & ~bit;
  }
  bool Pending(size_t position) const { return position < m_linked && Bit(m_pending, position); }
  // Whether the record's cross-section as it stands is the one its due
  // section would build: the same kind, and for a junction one built since
  // its predecessor last changed.
  bool Standing(size_t position) const {
    const bool junction = Bit(m_junction, position);
    return Bit(m_builtJunction, position) == junction && !(junction && Bit(m_stale, position));
  }
  // Notes the kind of cross-section just built for the record.
  void NoteBuilt(size_t position, bool junction) {
    if (position >= m_linked) return;
    const uint64_t bit = uint64_t{1} << (position & 63);
    m_builtJunction[position >> 6] =
        junction ? m_builtJunction[position >> 6] | bit : m_builtJunction[position >> 6] & ~bit;
    m_stale[position >> 6] &= ~bit;
  }
  // Notes that the predecessor of the record changed what its junction reads.
  void NoteStale(size_t position) { SetBit(m_stale, position); }
  // The first due record from `position` on, or kNone.
  uint32_t NextPending(size_t position) const;

  // The predecessor of a linked record that is not a self reference, or kNone.
  uint32_t Predecessor(size_t position) const {
    return position < m_linked && !Bit(m_selfReference, position) ? IndexedPredecessor(position) : kNone;
  }
  size_t stretchFirst() const { return m_first; }
  size_t stretchLast() const { return m_last; }

  // Bytes held.
  size_t MemoryBytes() const;

 private:
  uint32_t IndexedPredecessor(size_t position) const {
    const int64_t p = m_index->PredecessorOf(position);
    return p == StationIndex::kNone ? kNone : static_cast<uint32_t>(p);
  }
  void SetJunction(size_t position, uint32_t predecessor);
  void ClearJunction(size_t position);
  // Collects the records from `first` to `last` whose junction predecessor
  // lies above `first`.
  void MarkCrossingJunctions(size_t first, size_t last);
  // The same within one block of 64 records; renews and returns its minimum.
  uint32_t MarkCrossingBlock(size_t block, uint32_t bound);
  static void SetBit(std::vector<uint64_t>& bits, size_t position) {
    bits[position >> 6] |= uint64_t{1} << (position & 63);
  }
  static bool Bit(const std::vector<uint64_t>& bits, size_t position) {
    return (bits[position >> 6] >> (position & 63) & 1) != 0;
  }

  const StationIndex* m_index = nullptr;
  size_t m_count = 0;
  size_t m_linked = 0;  // records linked
  // Readers of each record's station: two edge slots per record (the
  // predecessor and the known end, or the earlier definer of a self
  // reference), chained from the read record, newest first.
  base::LargeVector<uint32_t> m_readersHead;  // edge + 1, 0 none
  base::LargeVector<uint32_t> m_edgeNext;     // edge + 1, 0 end
  std::vector<uint64_t> m_selfReference;
  base::LargeVector<uint32_t> m_firstSuccessor;
  // The linked records with a loop number: position and the link of the
  // previous one with the same number (kNone for the first).
  std::vector<std::pair<uint32_t, uint32_t>> m_ringLinks;
  std::unordered_map<int32_t, uint32_t> m_ringLast;  // loop number to its last link
  // The predecessor of each record whose last computation took a junction
  // (kNone otherwise), with lower bounds of the minimum per 64 and per 4096
  // records.
  std::vector<uint64_t> m_junction;
  std::vector<uint32_t> m_junctionMin64;
  std::vector<uint32_t> m_junctionMin4096;
  std::vector<uint64_t> m_singleHead;  // stations whose first successor last got a single-station section
  std::vector<uint64_t> m_volatile;
  std::vector<uint64_t> m_pending;
  std::vector<uint64_t> m_builtJunction;
  std::vector<uint64_t> m_stale;
  std::vector<uint64_t> m_dirty;  // records to compute again
  std::vector<uint64_t> m_full;   // of those, the ones whose coordinates may change
  std::vector<uint64_t> m_reset;  // records computed again in this stretch (may hold others)
  size_t m_first = 0, m_last = 0, m_word = 0;
};

}  // namespace hp::calc
