// The loop quality of every leg from the blunder finder's network.
#include "calc/LoopQuality.h"

#include <algorithm>
#include <cstdlib>

#include "calc/BlunderNetwork.h"

namespace hp::calc {

LoopClass ClassOfMisclosure(double normalised) {
  if (!(normalised > 1)) return LoopClass::Within1;
  if (normalised <= 2) return LoopClass::Within2;
  if (normalised <= kSuspiciousMisclosure) return LoopClass::WithinLimit;
  return LoopClass::Beyond;
}

const char* LoopClassText(LoopClass c) {
  switch (c) {
    case LoopClass::Within1: return "bis 1";
    case LoopClass::Within2: return "bis 2";
    case LoopClass::WithinLimit: return "bis 3,37";
    case LoopClass::Beyond: return "über 3,37";
    case LoopClass::NoLoop: break;
  }
  return "in keinem Ring";
}

LoopQuality ComputeLoopQuality(const doc::SurveyStore& store, const BlunderOptions& options) {
  blunder::Network network(store, options);
  LoopQuality quality;
  quality.loops = network.Loops().loops;
  const base::LargeVector<uint32_t> worst = network.WorstLoops();
  quality.worst.assign(store.records.size(), kNoLoop);
  quality.classes.assign(store.records.size(), LoopClass::NoLoop);
  const auto& edges = network.edges();
  for (size_t i = 0; i < edges.size(); ++i) {
    if (edges[i].tie || worst[i] == blunder::kNone) continue;
    quality.worst[edges[i].record] = worst[i];
    quality.classes[edges[i].record] = ClassOfMisclosure(quality.loops[worst[i]].normalised);
  }
  return quality;
}

std::vector<size_t> LoopRecords(const doc::SurveyStore& store, const BlunderOptions& options, size_t loop) {
  blunder::Network network(store, options);
  network.Loops();
  std::vector<size_t> records =
      loop < UINT32_MAX ? network.LoopRecords(static_cast<uint32_t>(loop)) : std::vector<size_t>{};
  std::sort(records.begin(), records.end());
  return records;
}

std::vector<size_t> RingRecords(const doc::SurveyStore& store, size_t closing) {
  std::vector<size_t> records;
  if (closing >= store.records.size() || store.records[closing]->ring == 0) return records;
  const auto ring = std::abs(static_cast<int64_t>(store.records[closing]->ring));
  for (size_t n = 0; n < store.records.size(); ++n)
    if (std::abs(static_cast<int64_t>(store.records[n]->ring)) == ring) records.push_back(n);
  return records;
}

const LoopQuality& LoopQualityCache::Get(const doc::SurveyStore& store, const BlunderOptions& options) const {
  const bool same = m_valid && m_store == &store && m_generation == store.computeGeneration &&
                    m_options.sigmaLength == options.sigmaLength && m_options.sigmaAngle == options.sigmaAngle;
  if (!same) {
    m_quality = ComputeLoopQuality(store, options);
    m_valid = true, m_store = &store, m_generation = store.computeGeneration, m_options = options;
  }
  return m_quality;
}

}  // namespace hp::calc
