// The station look-ups of one compute pass, answered in constant time: the
// first record in list order that defines a station, and the previous record
// that defines the same station as a given one. Built once per pass over the
// record list as it stands; records with an empty point name are never found.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "doc/Station.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

class StationIndex {
 public:
  static constexpr int64_t kNone = -1;

  void Build(const std::vector<std::unique_ptr<doc::SurveyRecord>>& records);

  // List position (from 0) of the first record whose station is `station`.
  int64_t First(const doc::StationId& station) const;
  // Position of the last record before `position` with the same station as
  // the record at `position`.
  int64_t PreviousSame(size_t position) const;

  // Bytes the index holds.
  size_t MemoryBytes() const;

 private:
  size_t Slot(const doc::StationId& station) const;

  const std::vector<std::unique_ptr<doc::SurveyRecord>>* m_records = nullptr;
  std::vector<uint32_t> m_slots;         // open addressing: first position + 1, 0 empty
  std::vector<uint32_t> m_previousSame;  // previous position + 1, 0 none
  size_t m_mask = 0;
};

}  // namespace hp::calc
