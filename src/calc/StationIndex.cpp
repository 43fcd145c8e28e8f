// Open-addressing hash of stations to the records that define them.
#include "calc/StationIndex.h"

#include <algorithm>
#include <bit>

#include "base/FixedText.h"

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

}  // namespace

void StationIndex::Build(const std::vector<std::unique_ptr<doc::SurveyRecord>>& records) {
  m_records = &records;
  const size_t size = std::bit_ceil(std::max<size_t>(16, records.size() * 2));
  m_mask = size - 1;
  m_slots.assign(size, 0);
  m_previousSame.assign(records.size(), 0);
  // While building, a slot holds the last definer seen so far; the chain of
  // previous definers then leads back to the first one.
  std::vector<uint32_t> lastSeen(size, 0);
  for (size_t i = 0; i < records.size(); ++i) {
    const doc::StationId station = doc::StationOf(*records[i]);
    if (station.point.empty()) continue;
    const size_t slot = Slot(station);
    if (m_slots[slot] == 0) {
      m_slots[slot] = static_cast<uint32_t>(i + 1);
    } else {
      m_previousSame[i] = lastSeen[slot];
    }
    lastSeen[slot] = static_cast<uint32_t>(i + 1);
  }
}

size_t StationIndex::Slot(const doc::StationId& station) const {
  const auto& records = *m_records;
  for (size_t slot = Hash(station) & m_mask;; slot = (slot + 1) & m_mask) {
    const uint32_t entry = m_slots[slot];
    if (entry == 0 || doc::StationOf(*records[entry - 1]) == station) return slot;
  }
}

int64_t StationIndex::First(const doc::StationId& station) const {
  if (station.point.empty() || !m_records) return kNone;
  const uint32_t entry = m_slots[Slot(station)];
  return entry == 0 ? kNone : static_cast<int64_t>(entry) - 1;
}

int64_t StationIndex::PreviousSame(size_t position) const {
  if (position >= m_previousSame.size()) return kNone;
  return static_cast<int64_t>(m_previousSame[position]) - 1;
}

size_t StationIndex::MemoryBytes() const {
  return (m_slots.capacity() + m_previousSame.capacity()) * sizeof(uint32_t);
}

}  // namespace hp::calc
