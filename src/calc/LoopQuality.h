// The loop quality of every leg: the worst normalised misclosure among the
// loops of the survey network that the leg belongs to (the blunder finder's
// loops, one per leg closing the spanning forest), with that loop's
// misclosure and length, and the class the drawing colours it by. Worked
// out once per compute pass (LoopQualityCache) and read by every drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "calc/BlunderReport.h"
#include "calc/BlunderSettings.h"
#include "doc/SurveyStore.h"

namespace hp::calc {

// The four classes of a loop by its normalised misclosure: up to 1 (within
// the expected accuracy), up to 2, up to the blunder finder's threshold,
// beyond it; and legs in no loop.
enum class LoopClass : uint8_t { Within1 = 0, Within2 = 1, WithinLimit = 2, Beyond = 3, NoLoop = 4 };
inline constexpr int kLoopClassCount = 4;  // classes a loop can be in

LoopClass ClassOfMisclosure(double normalised);

// The legend text of a class (UTF-8), e.g. "bis 1", "über 3,37".
const char* LoopClassText(LoopClass c);

inline constexpr uint32_t kNoLoop = UINT32_MAX;

struct LoopQuality {
  std::vector<BlunderLoop> loops;  // the network's loops, numbered from 0
  std::vector<uint32_t> worst;     // per record (list position): its worst loop, or kNoLoop
  std::vector<LoopClass> classes;  // per record: the class of that loop

  LoopClass ClassOf(size_t record) const { return record < classes.size() ? classes[record] : LoopClass::NoLoop; }
  // The worst loop of a record; null for a record in no loop.
  const BlunderLoop* WorstLoop(size_t record) const {
    return record < worst.size() && worst[record] != kNoLoop ? &loops[worst[record]] : nullptr;
  }
};

// The loop quality of the store's legs as they read now (auxiliary lines and
// records that close no loop are in no loop).
LoopQuality ComputeLoopQuality(const doc::SurveyStore& store, const BlunderOptions& options);

// The records (list positions, ascending) of loop `loop` of the network as
// NetworkLoops and ComputeLoopQuality number them; empty when there is no
// such loop. Builds the network again: for showing one loop, not per leg.
std::vector<size_t> LoopRecords(const doc::SurveyStore& store, const BlunderOptions& options, size_t loop);

// The records (list positions, ascending) of the ring-marked loop that the
// record at list position `closing` closes: every record with its ring
// number; empty for a record without one or out of range.
std::vector<size_t> RingRecords(const doc::SurveyStore& store, size_t closing);

// The loop quality of the last compute pass: worked out again only when the
// store has been computed (or reset) since, or the accuracies changed.
class LoopQualityCache {
 public:
  const LoopQuality& Get(const doc::SurveyStore& store, const BlunderOptions& options) const;

 private:
  mutable bool m_valid = false;
  mutable const doc::SurveyStore* m_store = nullptr;
  mutable uint64_t m_generation = 0;
  mutable BlunderOptions m_options;
  mutable LoopQuality m_quality;
};

}  // namespace hp::calc
