// The station look-ups of one compute pass, answered in constant time: for
// each record the first record above it that defines its reference station
// (its predecessor) and its own station (the known end), the previous record
// defining the same station, and the first definer of any station. Built once
// per pass over the record list as it stands; records with an empty point
// name define no station and are never found.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/HugePages.h"
#include "doc/Station.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

class StationIndex {
 public:
  static constexpr int64_t kNone = -1;

  using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;

  // Indexes every record of the list.
  void Build(const Records& records);
  // Starts an index of `records` that is filled in list order by Extend, so
  // that a pass can index each record just before it visits it (the record
  // is then read from memory once).
  void Start(const Records& records);
  // Indexes the records up to and including `position`.
  void Extend(size_t position);

  // List positions from 0, or kNone.
  // The first record above `position` whose station is that record's
  // reference station.
  int64_t PredecessorOf(size_t position) const { return Get(m_predecessor, position); }
  // The first record above `position` with the same station.
  int64_t KnownEndOf(size_t position) const { return Get(m_knownEnd, position); }
  // The last record above `position` with the same station.
  int64_t PreviousSame(size_t position) const { return Get(m_previousSame, position); }
  // The first record among those indexed whose station is `station`.
  int64_t First(const doc::StationId& station) const;

  // Bytes the index holds.
  size_t MemoryBytes() const;

 private:
  struct Slot {
    uint32_t first = 0;  // position + 1 of the first definer; 0 empty
    uint32_t last = 0;   // position + 1 of the last definer inserted so far
    uint32_t tag = 0;    // high bits of the station's hash
  };

  static int64_t Get(const base::LargeVector<uint32_t>& table, size_t position) {
    return position < table.size() ? static_cast<int64_t>(table[position]) - 1 : kNone;
  }
  // The slot of `station`: its own, or the empty one where it would go.
  size_t Find(const doc::StationId& station, uint64_t hash) const;

  static constexpr size_t kAhead = 8;  // records whose slots are fetched early
  struct Pending {
    uint64_t reference = 0, station = 0;
  };
  void Prepare(size_t position);

  const Records* m_records = nullptr;
  size_t m_indexed = 0;   // records indexed so far
  size_t m_prepared = 0;  // records whose hashes are taken
  Pending m_pending[2 * kAhead] = {};
  base::LargeVector<Slot> m_slots;
  base::LargeVector<uint32_t> m_predecessor;  // position + 1, 0 none
  base::LargeVector<uint32_t> m_knownEnd;
  base::LargeVector<uint32_t> m_previousSame;
  size_t m_mask = 0;
};

}  // namespace hp::calc
