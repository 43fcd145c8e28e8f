// Open-addressing hash of stations to the records that define them.
#include "calc/StationIndex.h"

#include <algorithm>
#include <bit>

namespace hp::calc {
namespace {

uint64_t Hash(const doc::StationId& s) {
  // FNV-1a over the point name, mixed with cave and passage.
  uint64_t h = 0xcbf29ce484222325ull;
  for (const char c : s.point) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001b3ull;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(s.cave)) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(s.passage)) * 0xC2B2AE3D27D4EB4Full;
  return h ^ (h >> 29);
}

uint32_t Tag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

}  // namespace

size_t StationIndex::Find(const doc::StationId& station, uint64_t hash) const {
  const auto& records = *m_records;
  const uint32_t tag = Tag(hash);
  for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
    const Slot& entry = m_slots[slot];
    if (entry.first == 0) return slot;
    // The tag spares reading the record for nearly every other station.
    if (entry.tag == tag && doc::StationOf(*records[entry.first - 1]) == station) return slot;
  }
}

void StationIndex::Build(const Records& records) {
  Start(records);
  if (!records.empty()) Extend(records.size() - 1);
}

void StationIndex::Start(const Records& records) {
  m_records = &records;
  // At most two thirds of the slots are used.
  const size_t size = std::bit_ceil(std::max<size_t>(16, records.size() + records.size() / 2 + 1));
  m_mask = size - 1;
  m_slots.assign(size, Slot{});
  m_predecessor.assign(records.size(), 0);
  m_knownEnd.assign(records.size(), 0);
  m_previousSame.assign(records.size(), 0);
  m_indexed = m_prepared = 0;
}

// Hashes are taken a few records ahead and their slots fetched early, so
// indexing does not wait for memory at every record.
void StationIndex::Prepare(size_t j) {
  const doc::SurveyRecord& r = *(*m_records)[j];
  Pending& p = m_pending[j % (2 * kAhead)];
  const doc::StationId reference = doc::RefStationOf(r), station = doc::StationOf(r);
  p.reference = reference.point.empty() ? 0 : Hash(reference);
  p.station = station.point.empty() ? 0 : Hash(station);
  __builtin_prefetch(&m_slots[p.reference & m_mask]);
  __builtin_prefetch(&m_slots[p.station & m_mask]);
}

void StationIndex::Extend(size_t position) {
  if (!m_records) return;
  const Records& records = *m_records;
  const size_t end = std::min(position + 1, records.size());
  // In list order: a record's look-ups see exactly the records above it.
  for (; m_indexed < end; ++m_indexed) {
    const size_t i = m_indexed;
    for (; m_prepared <= i + kAhead && m_prepared < records.size(); ++m_prepared) Prepare(m_prepared);
    const Pending hashes = m_pending[i % (2 * kAhead)];
    const doc::SurveyRecord& r = *records[i];
    const doc::StationId reference = doc::RefStationOf(r);
    if (!reference.point.empty()) m_predecessor[i] = m_slots[Find(reference, hashes.reference)].first;
    const doc::StationId station = doc::StationOf(r);
    if (station.point.empty()) continue;
    Slot& slot = m_slots[Find(station, hashes.station)];
    const auto number = static_cast<uint32_t>(i + 1);
    if (slot.first == 0) {
      slot = Slot{number, number, Tag(hashes.station)};
    } else {
      m_knownEnd[i] = slot.first;
      m_previousSame[i] = slot.last;
      slot.last = number;
    }
  }
}

int64_t StationIndex::First(const doc::StationId& station) const {
  if (station.point.empty() || !m_records) return kNone;
  return static_cast<int64_t>(m_slots[Find(station, Hash(station))].first) - 1;
}

size_t StationIndex::MemoryBytes() const {
  return m_slots.capacity() * sizeof(Slot) +
         (m_predecessor.capacity() + m_knownEnd.capacity() + m_previousSame.capacity()) * sizeof(uint32_t);
}

}  // namespace hp::calc
