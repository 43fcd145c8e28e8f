// The survey network of the blunder finder: stations as nodes, every
// record with a reference station and a station as an edge with its own
// reduced reading, a spanning forest and the loops it leaves. Every loop is
// its closing edge and the path through the forest between the closing
// edge's stations, so nothing is kept per leg of a loop: sums round a loop
// come from sums along the forest from its roots, and the sums over the
// loops through an edge from sums over the stations below it. A network of
// two traverses tied at every station has loops of every length up to the
// whole survey; their legs listed one by one would grow with the square of
// the ties. Internal to the blunder finder and the network adjustment.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/HugePages.h"
#include "calc/BlunderReport.h"
#include "calc/BlunderSettings.h"
#include "calc/Symmetric3.h"
#include "doc/SurveyStore.h"

namespace hp::calc::blunder {

struct Edge {
  uint32_t from = 0, to = 0;
  V3 vec{};           // the reading's vector, tentatively corrected
  size_t record = 0;  // list position
  bool tie = false;   // exact tie of a fixed station to the datum
  double length = 0;  // reduced length
  double sinAz = 0, cosAz = 0, sinEl = 0, cosEl = 0;
};

struct Candidate {
  bool valid = false;
  SuspectReading reading = SuspectReading::Length;
  double delta = 0;      // change of the total chi-square
  double parameter = 0;  // length (m), azimuth or elevation (radians)
  V3 vec{};
};

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// The network of one search; Run builds it and makes the report.
class Network {
 public:
  Network(const doc::SurveyStore& store, const BlunderOptions& options) : m_store(store), m_options(options) {}

  BlunderReport Run();
  // The loops with their misclosures alone, without the search.
  BlunderReport Loops();
  // After Loops: per edge the loop of the largest normalised misclosure
  // among the loops through it, kNone for an edge in no loop.
  base::LargeVector<uint32_t> WorstLoops() const;
  // After Loops: the records of a loop, its closing record first.
  std::vector<size_t> LoopRecords(uint32_t loop) const;

  // The network alone, as the network adjustment reads it: the edges, the
  // datum station after all others (ties run from it) and each edge's
  // covariance from the reading accuracies.
  void Build();
  const base::LargeVector<Edge>& edges() const { return m_edges; }
  uint32_t ground() const { return m_ground; }
  // The covariance of a reading: from the record's own accuracies where it
  // has them, else from the options, with `setUp` (metres) the standard
  // deviation of setting up at a station, spread evenly over the axes.
  Sym3 Covariance(const Edge& e, double setUp = 0) const;

 private:
  // A candidate of an edge in the queue of a correction round; a stale one
  // carries a lower bound of its change instead of the change itself.
  struct Queued {
    double key = 0;
    bool fresh = false;
    uint32_t edge = 0;
    uint32_t stamp = 0;
  };
  struct QueueLater {
    bool operator()(const Queued& a, const Queued& b) const {
      if (a.key != b.key) return a.key > b.key;
      if (a.fresh != b.fresh) return a.fresh;
      return a.edge > b.edge;
    }
  };

  uint32_t Node(size_t position, bool reference);
  void GrowForest();
  void FindLoops();
  void Evaluate(BlunderReport& report);
  void Aggregate(bool weights);
  uint32_t Parent(uint32_t node) const;
  int Orientation(uint32_t edge) const;  // +1 when the tree edge runs from its lower station up
  template <typename F>
  void ForEachLoop(uint32_t edge, F f) const;
  template <typename F>
  void ForEachPathEdge(uint32_t loop, F f) const;
  double LoopChiSquare(size_t loop, const V3& e) const { return m_weight[loop].Form(e); }
  Candidate Best(uint32_t edge) const;
  double LowerBound(uint32_t edge) const;
  double WorstAfter(uint32_t edge, const V3& vec) const;
  double Apply(uint32_t edge, const V3& vec);
  bool Eligible(uint32_t edge) const;
  void Touch(uint32_t edge);
  BlunderSuspect Suspect(uint32_t edge, const Candidate& c, double total, bool correction) const;

  const doc::SurveyStore& m_store;
  BlunderOptions m_options;
  // Stations by name while the network is built.
  struct Slot {
    uint32_t node = kNone;
    uint32_t tag = 0;
  };
  base::LargeVector<Slot> m_slots;
  base::LargeVector<uint32_t> m_nodeNames;  // record position, times two, plus one for its reference station
  uint32_t m_nodeCount = 0;
  base::LargeVector<Edge> m_edges;
  uint32_t m_ground = 0;

  // The forest: per station its edge to the station above it (kNone at a
  // root and at a station of no edge), its depth, its place in a depth-first
  // walk (stations below it at m_enter .. m_leave), and the breadth-first
  // order in which it was reached.
  base::LargeVector<uint32_t> m_parentEdge, m_depth, m_enter, m_leave, m_order;
  // Per edge: the loop it closes, or for a tree edge kNone.
  base::LargeVector<uint32_t> m_closes;

  // Loops in the list order of their closing edges.
  base::LargeVector<uint32_t> m_closingEdge, m_top;  // m_top: the stations' lowest common ancestor
  base::LargeVector<Sym3> m_weight;                  // inverse loop covariances
  base::LargeVector<V3> m_misclosure;
  base::LargeVector<double> m_chi;
  base::LargeVector<uint8_t> m_suspicious;
  size_t m_suspiciousCount = 0;
  double m_limit2 = kSuspiciousMisclosure * kSuspiciousMisclosure;
  // Loop ends ordered by the depth-first place of their station: the ends
  // below a station are one run of them.
  base::LargeVector<uint32_t> m_endStart;
  base::LargeVector<uint32_t> m_endLoop;

  // Per edge, over the loops through it with their signs: the sum of the
  // weights, of the weighted misclosures, of the chi-squares and the number
  // of suspicious loops.
  base::LargeVector<Sym3> m_sumWeight;
  base::LargeVector<V3> m_sumWeighted;
  base::LargeVector<double> m_sumChi;
  base::LargeVector<int32_t> m_suspiciousThrough;

  // The correction rounds.
  base::LargeVector<Candidate> m_cache;
  base::LargeVector<uint8_t> m_fresh, m_corrected;
  base::LargeVector<uint32_t> m_stamp, m_touched;
  uint32_t m_round = 0;
  base::LargeVector<Queued> m_queue;
};

// Calls f(loop, sign) for every loop through `edge`, the sign being +1 when
// the loop runs along the edge's direction.
template <typename F>
void Network::ForEachLoop(uint32_t edge, F f) const {
  if (m_closes[edge] != kNone) {
    f(m_closes[edge], 1.0);
    return;
  }
  const Edge& e = m_edges[edge];
  const uint32_t below = m_parentEdge[e.from] == edge ? e.from : e.to;
  const uint32_t lo = m_enter[below], hi = m_leave[below];
  const double o = Orientation(edge);
  for (size_t k = m_endStart[lo]; k < m_endStart[hi]; ++k) {
    const uint32_t loop = m_endLoop[k];
    const Edge& closing = m_edges[m_closingEdge[loop]];
    const bool toBelow = m_enter[closing.to] >= lo && m_enter[closing.to] < hi;
    const bool fromBelow = m_enter[closing.from] >= lo && m_enter[closing.from] < hi;
    if (toBelow == fromBelow) continue;  // both ends below: the loop turns below the edge
    // The loop runs up from its end `to` and down to its start `from`.
    f(loop, toBelow ? o : -o);
  }
}

// Calls f(edge, sign) for the tree edges of `loop`, sign as in ForEachLoop.
template <typename F>
void Network::ForEachPathEdge(uint32_t loop, F f) const {
  const Edge& closing = m_edges[m_closingEdge[loop]];
  const uint32_t top = m_top[loop];
  for (uint32_t n = closing.to; n != top; n = Parent(n))
    f(m_parentEdge[n], static_cast<double>(Orientation(m_parentEdge[n])));
  for (uint32_t n = closing.from; n != top; n = Parent(n))
    f(m_parentEdge[n], -static_cast<double>(Orientation(m_parentEdge[n])));
}

}  // namespace hp::calc::blunder
