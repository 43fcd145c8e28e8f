// Which records a loop closure makes the pass compute again.
#include "calc/LoopRewalk.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc {

void LoopRewalk::Start(size_t count, const StationIndex& index) {
  m_index = &index;
  m_count = count;
  m_linked = 0;
  m_junction.assign((count + 63) / 64, 0);
  m_junctionMin64.assign((count + 63) / 64, kNone);
  m_junctionMin4096.assign((count + 4095) / 4096, kNone);
  m_ringLast.clear();
  m_ringLinks.clear();
  m_first = m_last = m_word = 0;
}

void LoopRewalk::Link(const Records& records, const StationIndex& index, size_t position) {
  const size_t end = std::min(position + 1, std::min(m_count, records.size()));
  if (m_linked == 0 && end > 0) {
    const size_t words = (m_count + 63) / 64;
    m_readersHead.assign(m_count, 0);
    m_edgeNext.assign(2 * m_count, 0);
    m_selfReference.assign(words, 0);
    m_firstSuccessor.assign(m_count, kNone);
    m_singleHead.assign(words, 0);
    m_volatile.assign(words, 0);
    m_dirty.assign(words, 0);
    m_full.assign(words, 0);
    m_reset.assign(words, 0);
    m_pending.assign(words, 0);
    m_stale.assign(words, 0);
    // Until now every record was computed once, with the cross-section it
    // took then.
    m_builtJunction = m_junction;
  }
  const auto addEdge = [this](size_t edge, int64_t read) {
    if (read == StationIndex::kNone) return;
    const auto target = static_cast<size_t>(read);
    m_edgeNext[edge] = m_readersHead[target];
    m_readersHead[target] = static_cast<uint32_t>(edge + 1);
  };
  for (; m_linked < end; ++m_linked) {
    const size_t i = m_linked;
    const doc::SurveyRecord& r = *records[i];
    if (doc::IsSelfReference(r)) {
      SetBit(m_selfReference, i);
      addEdge(2 * i, index.PreviousSame(i));
      // A loop closed before the links existed may have moved it.
      const double* c = r.work.loopCorrection;
      if (c[0] != 0 || c[1] != 0 || c[2] != 0) SetBit(m_volatile, i);
    } else {
      const int64_t p = index.PredecessorOf(i);
      addEdge(2 * i, p);
      addEdge(2 * i + 1, index.KnownEndOf(i));
      if (p != StationIndex::kNone) {
        const auto predecessor = static_cast<size_t>(p);
        if (m_firstSuccessor[predecessor] == kNone) {
          m_firstSuccessor[predecessor] = static_cast<uint32_t>(i);
          // Loops walked again in full before the links existed may have left
          // it with a single-station section.
          if (!Bit(m_junction, i)) SetBit(m_singleHead, predecessor);
        }
      }
    }
    // Without an instrument a record reads its own previous coordinates.
    if (!InstrumentIndex(r)) SetBit(m_volatile, i);
    if (r.ring != 0) {
      const auto number = static_cast<int32_t>(std::abs(static_cast<long>(r.ring)));
      const auto link = static_cast<uint32_t>(m_ringLinks.size());
      const auto [it, added] = m_ringLast.try_emplace(number, link);
      m_ringLinks.emplace_back(static_cast<uint32_t>(i), added ? kNone : it->second);
      it->second = link;
    }
  }
}

void LoopRewalk::SetJunction(size_t position, uint32_t predecessor) {
  SetBit(m_junction, position);
  uint32_t& block = m_junctionMin64[position >> 6];
  block = std::min(block, predecessor);
  uint32_t& super = m_junctionMin4096[position >> 12];
  super = std::min(super, predecessor);
}

// The minima stay as they are: a minimum below the true one only makes the
// next search look at the block's records, and that search renews it.
void LoopRewalk::ClearJunction(size_t position) { m_junction[position >> 6] &= ~(uint64_t{1} << (position & 63)); }

void LoopRewalk::NoteVisit(size_t position, int64_t predecessor, bool junction) {
  if (position >= m_count) return;
  if (junction && predecessor != StationIndex::kNone) {
    SetJunction(position, static_cast<uint32_t>(predecessor));
  } else if (Bit(m_junction, position)) {
    ClearJunction(position);
  }
  if (position < m_linked) {
    const uint32_t p = Predecessor(position);
    if (p != kNone && m_firstSuccessor[p] == position) {
      const uint64_t bit = uint64_t{1} << (p & 63);
      if (junction) {
        m_singleHead[p >> 6] &= ~bit;
      } else {
        m_singleHead[p >> 6] |= bit;
      }
    }
  }
}

void LoopRewalk::MarkVolatile(size_t position) {
  if (position < m_linked) SetBit(m_volatile, position);
}

std::vector<size_t> LoopRewalk::RingMembers(int32_t number, size_t first, size_t last) const {
  std::vector<size_t> members;
  const auto it = m_ringLast.find(number);
  if (it == m_ringLast.end()) return members;
  for (uint32_t link = it->second; link != kNone; link = m_ringLinks[link].second) {
    const uint32_t i = m_ringLinks[link].first;
    if (i < first) break;
    if (i <= last) members.push_back(i);
  }
  std::reverse(members.begin(), members.end());
  return members;
}

void LoopRewalk::Mark(size_t position) {
  if (position >= m_first && position <= m_last) {
    SetBit(m_dirty, position);
    SetBit(m_full, position);
  }
}

void LoopRewalk::MarkSection(size_t position) {
  if (position >= m_first && position <= m_last) SetBit(m_dirty, position);
}

void LoopRewalk::MarkReaders(size_t position) {
  for (uint32_t edge = m_readersHead[position]; edge != 0; edge = m_edgeNext[edge - 1]) Mark((edge - 1) / 2);
}

uint32_t LoopRewalk::MarkCrossingBlock(size_t block, uint32_t bound) {
  if (m_junctionMin64[block] >= bound) return m_junctionMin64[block];
  uint32_t minimum = kNone;
  for (uint64_t bits = m_junction[block]; bits != 0; bits &= bits - 1) {
    const size_t i = block * 64 + static_cast<size_t>(std::countr_zero(bits));
    const uint32_t predecessor = IndexedPredecessor(i);
    if (predecessor < bound) MarkSection(i);
    minimum = std::min(minimum, predecessor);
  }
  return m_junctionMin64[block] = minimum;
}

void LoopRewalk::MarkCrossingJunctions(size_t first, size_t last) {
  const auto bound = static_cast<uint32_t>(first);
  for (size_t i = first; i <= last;) {
    if ((i & 4095) == 0 && i + 4095 <= last) {
      uint32_t& super = m_junctionMin4096[i >> 12];
      if (super < bound) {
        uint32_t minimum = kNone;
        for (size_t block = i >> 6; block < (i >> 6) + 64; ++block)
          minimum = std::min(minimum, MarkCrossingBlock(block, bound));
        super = minimum;
      }
      i += 4096;
    } else if ((i & 63) == 0 && i + 63 <= last) {
      MarkCrossingBlock(i >> 6, bound);
      i += 64;
    } else {
      if (Bit(m_junction, i) && IndexedPredecessor(i) < bound) MarkSection(i);
      ++i;
    }
  }
}

void LoopRewalk::BeginStretch(size_t first, size_t last, const std::vector<size_t>& corrected, bool everything) {
  m_first = first;
  m_last = std::min(last, m_linked == 0 ? 0 : m_linked - 1);
  m_word = first >> 6;
  if (m_linked == 0 || first > m_last) {
    m_word = SIZE_MAX;
    return;
  }
  const size_t firstWord = first >> 6, lastWord = m_last >> 6;
  const auto inStretch = [&](size_t word) {
    uint64_t mask = ~uint64_t{0};
    if (word == firstWord) mask &= ~uint64_t{0} << (first & 63);
    if (word == lastWord && (m_last & 63) != 63) mask &= (uint64_t{1} << ((m_last & 63) + 1)) - 1;
    return mask;
  };
  for (size_t word = firstWord; word <= lastWord; ++word) {
    // Records giving a new result each time, and the first successors of
    // stations whose successor last got a single-station section: with the
    // station computed again it takes the junction again.
    m_reset[word] = 0;
    const uint64_t full = (everything ? ~uint64_t{0} : m_volatile[word]) & inStretch(word);
    m_dirty[word] |= full;
    m_full[word] |= full;
    for (uint64_t bits = m_singleHead[word] & inStretch(word); bits != 0; bits &= bits - 1) {
      const size_t station = word * 64 + static_cast<size_t>(std::countr_zero(bits));
      const uint32_t successor = m_firstSuccessor[station];
      if (successor != kNone) MarkSection(successor);
    }
  }
  for (const size_t position : corrected) Mark(position);
  // Junctions with a station above the stretch become single-station
  // sections: that station is not computed again and keeps its successor.
  MarkCrossingJunctions(first, m_last);
}

bool LoopRewalk::Next(size_t& position, bool& full) {
  if (m_word == SIZE_MAX) return false;
  const size_t lastWord = m_last >> 6;
  for (; m_word <= lastWord; ++m_word) {
    uint64_t& bits = m_dirty[m_word];
    if (bits == 0) continue;
    const auto bit = static_cast<size_t>(std::countr_zero(bits));
    bits &= bits - 1;
    full = (m_full[m_word] >> bit & 1) != 0;
    m_full[m_word] &= ~(uint64_t{1} << bit);
    position = m_word * 64 + bit;
    return true;
  }
  m_word = SIZE_MAX;
  return false;
}

uint32_t LoopRewalk::NextPending(size_t position) const {
  for (size_t word = position >> 6; word < m_pending.size(); ++word) {
    uint64_t bits = m_pending[word];
    if (word == position >> 6) bits &= ~uint64_t{0} << (position & 63);
    if (bits != 0) return static_cast<uint32_t>(word * 64 + static_cast<size_t>(std::countr_zero(bits)));
  }
  return kNone;
}

size_t LoopRewalk::MemoryBytes() const {
  return (m_readersHead.capacity() + m_edgeNext.capacity() + m_firstSuccessor.capacity() + 2 * m_ringLinks.capacity() +
          m_junctionMin64.capacity() + m_junctionMin4096.capacity()) *
             sizeof(uint32_t) +
         (m_junction.capacity() + m_selfReference.capacity() + m_singleHead.capacity() + m_volatile.capacity() +
          m_dirty.capacity() + m_full.capacity() + m_reset.capacity() + m_pending.capacity() +
          m_builtJunction.capacity() + m_stale.capacity()) *
             sizeof(uint64_t) +
         m_ringLast.size() * 2 * sizeof(uint32_t);
}

}  // namespace hp::calc
