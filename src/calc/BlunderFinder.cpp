// The blunder finder's search: the readings that best close the suspicious
// loops, one correction after another.
#include "calc/BlunderFinder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "calc/AngleSearch.h"
#include "calc/BlunderNetwork.h"
#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc {
namespace blunder {

// The best single reading of `edge` against every loop that contains it:
// with g_i the vector that would close loop i alone, the loops' chi-square
// as a function of the leg's vector v is sum (v - g_i)' W_i (v - g_i); its
// change from the leg's present vector u is (v - u)' A (v - u) + 2 s' (v - u)
// with A the sum of the loops' weights and s that of their signed weighted
// misclosures.
Candidate Network::Best(uint32_t index) const {
  const Edge& edge = m_edges[index];
  const Sym3& A = m_sumWeight[index];
  const V3& s = m_sumWeighted[index];
  const V3 Au = A.Times(edge.vec);
  const V3 b{Au[0] - s[0], Au[1] - s[1], Au[2] - s[2]};
  const auto f = [&](const V3& v) {
    const V3 d{v[0] - edge.vec[0], v[1] - edge.vec[1], v[2] - edge.vec[2]};
    return A.Form(d) + 2 * Dot(s, d);
  };
  Candidate best;
  const auto consider = [&](SuspectReading reading, double parameter, const V3& v) {
    const double delta = f(v);
    if (!std::isfinite(delta)) return;
    if (!best.valid || delta < best.delta - 1e-9 * (1 + std::fabs(best.delta))) {
      best = {true, reading, delta, parameter, v};
    }
  };
  const double L = edge.length;
  // Reversed first: on a tie with another reading the plain slip wins.
  consider(SuspectReading::Direction, 0, {-edge.vec[0], -edge.vec[1], -edge.vec[2]});
  const V3 unit{edge.sinAz * edge.cosEl, edge.cosAz * edge.cosEl, edge.sinEl};
  if (const double q = A.Form(unit); q > 0) {
    const double length = std::max(0.0, Dot(b, unit) / q);
    consider(SuspectReading::Length, length, {length * unit[0], length * unit[1], length * unit[2]});
  }
  const double h = L * edge.cosEl, z = L * edge.sinEl;
  if (std::fabs(h) > 1e-6) {
    const auto at = [&](double sinT, double cosT) { return V3{h * sinT, h * cosT, z}; };
    const TrigQuadratic curve(A, s, {h, 0, 0}, {0, h, 0}, {0, 0, z}, edge.vec);
    const auto [t, ft] = MinimiseAngle(curve, AzimuthGrid(), true);
    (void)ft;
    consider(SuspectReading::Azimuth, t, at(std::sin(t), std::cos(t)));
  }
  if (L > 1e-6) {
    const auto at = [&](double sinP, double cosP) {
      return V3{L * cosP * edge.sinAz, L * cosP * edge.cosAz, L * sinP};
    };
    const TrigQuadratic curve(A, s, {0, 0, L}, {L * edge.sinAz, L * edge.cosAz, 0}, {0, 0, 0}, edge.vec);
    const auto [p, fp] = MinimiseAngle(curve, ElevationGrid(), false);
    (void)fp;
    consider(SuspectReading::Inclination, p, at(std::sin(p), std::cos(p)));
  }
  // A horizontal leg written the wrong way round also closes by turning its
  // azimuth half a circle; the reversal is the likelier slip and is named
  // when it explains the loops about as well.
  if (best.reading == SuspectReading::Azimuth) {
    const double turn = std::remainder(best.parameter - std::atan2(edge.sinAz, edge.cosAz), 2 * std::numbers::pi);
    const double reversed = f({-edge.vec[0], -edge.vec[1], -edge.vec[2]});
    if (std::fabs(std::fabs(turn) - std::numbers::pi) < 10 * kDegreeFactor && reversed <= best.delta + 4) {
      best = {true, SuspectReading::Direction, reversed, 0, {-edge.vec[0], -edge.vec[1], -edge.vec[2]}};
    }
  }
  return best;
}

// No reading of the edge lowers the chi-square of its loops by more than
// the unconstrained minimum -s' A^-1 s, nor by more than their sum.
double Network::LowerBound(uint32_t index) const {
  double bound = -m_sumChi[index];
  const double* m = m_sumWeight[index].m;
  const double a = m[3] * m[5] - m[4] * m[4];
  const double b = m[2] * m[4] - m[1] * m[5];
  const double d = m[1] * m[4] - m[2] * m[3];
  const double det = m[0] * a + m[1] * b + m[2] * d;
  const double trace = m[0] + m[3] + m[5];
  if (std::isfinite(det) && det > 1e-9 * trace * trace * trace && det > 0) {
    Sym3 inverse;
    inverse.m[0] = a / det, inverse.m[1] = b / det, inverse.m[2] = d / det;
    inverse.m[3] = (m[0] * m[5] - m[2] * m[2]) / det;
    inverse.m[4] = (m[1] * m[2] - m[0] * m[4]) / det;
    inverse.m[5] = (m[0] * m[3] - m[1] * m[1]) / det;
    bound = std::max(bound, -inverse.Form(m_sumWeighted[index]));
  }
  // Room for rounding in the sums and in the candidate's own evaluation.
  return bound - 1e-6 * (1 + std::fabs(bound));
}

double Network::WorstAfter(uint32_t index, const V3& vec) const {
  const Edge& edge = m_edges[index];
  double worst = 0;
  ForEachLoop(index, [&](uint32_t loop, double s) {
    V3 e = m_misclosure[loop];
    for (int j = 0; j < 3; ++j) e[j] += s * (vec[j] - edge.vec[j]);
    worst = std::max(worst, std::sqrt(std::max(0.0, LoopChiSquare(loop, e))));
  });
  return worst;
}

bool Network::Eligible(uint32_t index) const {
  return !m_edges[index].tie && !m_corrected[index] && m_suspiciousThrough[index] > 0;
}

// The edge's loops changed: its candidate is computed again when the queue
// reaches its lower bound.
void Network::Touch(uint32_t index) {
  ++m_stamp[index];
  m_fresh[index] = 0;
  if (!Eligible(index)) return;
  m_queue.push_back({LowerBound(index), false, index, m_stamp[index]});
  std::push_heap(m_queue.begin(), m_queue.end(), QueueLater());
}

// Gives the edge the vector `vec`; returns the largest normalised
// misclosure left among its loops.
double Network::Apply(uint32_t index, const V3& vec) {
  Edge& edge = m_edges[index];
  const V3 change{vec[0] - edge.vec[0], vec[1] - edge.vec[1], vec[2] - edge.vec[2]};
  edge.vec = vec;
  std::vector<std::pair<uint32_t, double>> changed;
  ForEachLoop(index, [&](uint32_t loop, double s) { changed.push_back({loop, s}); });
  double worst = 0;
  size_t pathEdges = 0;
  for (const auto& [loop, s] : changed) {
    for (int j = 0; j < 3; ++j) m_misclosure[loop][j] += s * change[j];
    const double chi = LoopChiSquare(loop, m_misclosure[loop]);
    const uint8_t suspicious = chi > m_limit2;
    m_suspiciousCount += suspicious;
    m_suspiciousCount -= m_suspicious[loop];
    worst = std::max(worst, std::sqrt(std::max(0.0, chi)));
    const Edge& closing = m_edges[m_closingEdge[loop]];
    pathEdges += 1 + m_depth[closing.from] + m_depth[closing.to] - 2 * m_depth[m_top[loop]];
    if (pathEdges <= m_edges.size()) {
      // Along the loop: its change in the sums of every edge of it.
      const V3 wm = m_weight[loop].Times({s * change[0], s * change[1], s * change[2]});
      const double chiChange = chi - m_chi[loop];
      const int32_t flip = static_cast<int32_t>(suspicious) - m_suspicious[loop];
      const auto update = [&](uint32_t e, double sign) {
        for (int j = 0; j < 3; ++j) m_sumWeighted[e][j] += sign * wm[j];
        m_sumChi[e] += chiChange;
        m_suspiciousThrough[e] += flip;
      };
      update(m_closingEdge[loop], 1);
      ForEachPathEdge(loop, update);
    }
    m_chi[loop] = chi;
    m_suspicious[loop] = suspicious;
  }
  ++m_round;
  if (pathEdges > m_edges.size()) {
    // So many legs changed that the sums are made again from the loops.
    Aggregate(false);
    m_queue.clear();
    for (uint32_t e = 0; e < m_edges.size(); ++e) {
      ++m_stamp[e];
      m_fresh[e] = 0;
      if (Eligible(e)) m_queue.push_back({LowerBound(e), false, e, m_stamp[e]});
    }
    std::make_heap(m_queue.begin(), m_queue.end(), QueueLater());
    return worst;
  }
  const auto touch = [&](uint32_t e, double) {
    if (m_touched[e] == m_round) return;
    m_touched[e] = m_round;
    Touch(e);
  };
  for (const auto& entry : changed) {
    touch(m_closingEdge[entry.first], 1);
    ForEachPathEdge(entry.first, touch);
  }
  return worst;
}

double WrapTo(double value, double full) {
  value = std::fmod(value, full);
  if (value < 0) value += full;
  if (value >= full) value -= full;
  return value;
}

BlunderSuspect Network::Suspect(uint32_t index, const Candidate& c, double total, bool correction) const {
  const Edge& edge = m_edges[index];
  const doc::SurveyRecord& r = *m_store.records[edge.record];
  const doc::DocumentSettings& settings = m_store.settings;
  BlunderSuspect s;
  s.record = edge.record;
  s.reading = c.reading;
  s.totalAfter = total + c.delta;
  s.worstAfter = WorstAfter(index, c.vec);
  s.correction = correction;
  const auto instrument = InstrumentIndex(r);
  switch (c.reading) {
    case SuspectReading::Direction: break;
    case SuspectReading::Length:
      if (instrument) {
        const double divider = settings.instrumentDivider[*instrument];
        s.measured =
            divider != 0 && (r.tapeStart != 0 || r.tapeEnd != 0) ? (r.tapeEnd - r.tapeStart) / divider : r.length;
        s.suggested = c.parameter / (edge.cosEl * settings.instrumentSagCoefficient[*instrument] + 1);
      } else {
        s.measured = edge.length;
        s.suggested = c.parameter;
      }
      break;
    case SuspectReading::Azimuth:
      if (instrument) {
        const doc::InstrumentRecord& ins = settings.instruments[*instrument];
        const double factor = ins.azimuthUnit == 0 ? kDegreeFactor : kGonFactor;
        const double declination = DeclinationOnDate(r, settings, *instrument);
        const double grid = c.parameter / kDegreeFactor + settings.meridianConvergence;
        s.measured = r.azimuth;
        s.suggested = WrapTo(grid * kDegreeFactor / factor - declination, ins.azimuthUnit == 0 ? 360 : 400);
      } else {
        s.measured = WrapTo(std::atan2(edge.sinAz, edge.cosAz) / kDegreeFactor, 360);
        s.suggested = WrapTo(c.parameter / kDegreeFactor, 360);
      }
      break;
    case SuspectReading::Inclination:
      if (instrument) {
        const doc::InstrumentRecord& ins = settings.instruments[*instrument];
        const double factor = ins.inclinationUnit == 0 ? kDegreeFactor : kGonFactor;
        const double elevation = c.parameter / kDegreeFactor;
        const double v = ins.verticalReference == 0   ? elevation
                         : ins.verticalReference == 1 ? elevation + 90
                                                      : 90 - elevation;
        s.measured = r.inclination;
        s.suggested = v * kDegreeFactor / factor;
      } else {
        s.measured = std::atan2(edge.sinEl, edge.cosEl) / kDegreeFactor;
        s.suggested = c.parameter / kDegreeFactor;
      }
      break;
  }
  return s;
}

BlunderReport Network::Run() {
  Build();
  GrowForest();
  FindLoops();
  BlunderReport report;
  Evaluate(report);
  double total = 0;
  for (const double chi : m_chi) total += chi;
  report.totalChiSquare = total;
  report.suspiciousLoops = m_suspiciousCount;
  if (m_suspiciousCount == 0) return report;
  Aggregate(true);

  // One correction after another while suspicious loops remain. Every leg
  // of a suspicious loop waits in a queue with its candidate, or after a
  // change of its loops with a lower bound of it; the round takes the best
  // candidate, computing the stale ones ahead of it on the way; of equal
  // candidates the leg earlier in the list.
  const size_t edgeCount = m_edges.size();
  m_cache.resize(edgeCount);
  m_fresh.assign(edgeCount, 0);
  m_corrected.assign(edgeCount, 0);
  m_stamp.assign(edgeCount, 0);
  m_touched.assign(edgeCount, 0);
  std::vector<uint32_t> firstRound;
  for (uint32_t e = 0; e < edgeCount; ++e) {
    if (!Eligible(e)) continue;
    m_cache[e] = Best(e), m_fresh[e] = 1;
    if (!m_cache[e].valid) continue;
    // A change lost in the rounding of the sums (a zero-length leg turned
    // round, say) is no alternative.
    if (m_cache[e].delta < -1e-9 * (1 + total)) firstRound.push_back(e);
    m_queue.push_back({m_cache[e].delta, true, e, 0});
  }
  std::make_heap(m_queue.begin(), m_queue.end(), QueueLater());
  for (const uint32_t e : firstRound) report.suspects.push_back(Suspect(e, m_cache[e], total, false));

  std::vector<uint32_t> corrections;
  std::vector<BlunderSuspect> found;
  while (m_suspiciousCount > 0 && !m_queue.empty()) {
    std::pop_heap(m_queue.begin(), m_queue.end(), QueueLater());
    const Queued top = m_queue.back();
    m_queue.pop_back();
    if (top.stamp != m_stamp[top.edge] || !Eligible(top.edge)) continue;
    if (!top.fresh) {
      if (!m_fresh[top.edge]) m_cache[top.edge] = Best(top.edge), m_fresh[top.edge] = 1;
      const Candidate& c = m_cache[top.edge];
      if (!c.valid) continue;
      m_queue.push_back({c.delta, true, top.edge, m_stamp[top.edge]});
      std::push_heap(m_queue.begin(), m_queue.end(), QueueLater());
      continue;
    }
    const uint32_t bestEdge = top.edge;
    const Candidate chosen = m_cache[bestEdge];
    if (chosen.delta >= -1e-9 * (1 + total)) break;
    BlunderSuspect suspect = Suspect(bestEdge, chosen, total, true);
    m_corrected[bestEdge] = 1;
    suspect.worstAfter = Apply(bestEdge, chosen.vec);
    total += chosen.delta;
    suspect.totalAfter = total;
    corrections.push_back(bestEdge);
    found.push_back(suspect);
  }
  // The corrections, then the alternatives: other legs of the first round,
  // best first.
  std::vector<uint8_t> isCorrected(m_store.records.size(), 0);
  for (const uint32_t e : corrections) isCorrected[m_edges[e].record] = 1;
  std::erase_if(report.suspects, [&](const BlunderSuspect& s) { return isCorrected[s.record] != 0; });
  std::stable_sort(report.suspects.begin(), report.suspects.end(),
                   [](const BlunderSuspect& a, const BlunderSuspect& b) { return a.totalAfter < b.totalAfter; });
  report.suspects.insert(report.suspects.begin(), found.begin(), found.end());
  return report;
}

}  // namespace blunder

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options) {
  blunder::Network network(store, options);
  return network.Run();
}

}  // namespace hp::calc
