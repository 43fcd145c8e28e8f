// The blunder finder as it was when every loop kept its legs in a list and
// every correction round scanned all suspicious loops again. The tests
// compare the finder against it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <unordered_map>

#include "ReferenceBlunderFinder.h"
#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc::reference {
namespace {

using V3 = std::array<double, 3>;

// A symmetric 3x3 matrix: xx, xy, xz, yy, yz, zz.
struct Sym3 {
  double m[6] = {};
  void Add(const Sym3& o) {
    for (int i = 0; i < 6; ++i) m[i] += o.m[i];
  }
  void AddOuter(const V3& a, double weight) {
    static constexpr int kRow[6] = {0, 0, 0, 1, 1, 2}, kColumn[6] = {0, 1, 2, 1, 2, 2};
    for (int i = 0; i < 6; ++i) m[i] += weight * a[kRow[i]] * a[kColumn[i]];
  }
  V3 Times(const V3& a) const {
    return {m[0] * a[0] + m[1] * a[1] + m[2] * a[2], m[1] * a[0] + m[3] * a[1] + m[4] * a[2],
            m[2] * a[0] + m[4] * a[1] + m[5] * a[2]};
  }
  double Form(const V3& a) const {
    return m[0] * a[0] * a[0] + m[3] * a[1] * a[1] + m[5] * a[2] * a[2] +
           2 * (m[1] * a[0] * a[1] + m[2] * a[0] * a[2] + m[4] * a[1] * a[2]);
  }
};

double Dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The inverse of a covariance; a singular one (a loop of vertical legs in
// one line, say) is first given a little accuracy in every direction.
Sym3 Inverse(Sym3 c) {
  const double trace = c.m[0] + c.m[3] + c.m[5];
  for (int attempt = 0; attempt < 2; ++attempt) {
    const double* m = c.m;
    const double a = m[3] * m[5] - m[4] * m[4];
    const double b = m[2] * m[4] - m[1] * m[5];
    const double d = m[1] * m[4] - m[2] * m[3];
    const double det = m[0] * a + m[1] * b + m[2] * d;
    const double scale = trace * trace * trace;
    if (std::isfinite(det) && det > 1e-9 * scale && det > 0) {
      return {{a / det, b / det, d / det, (m[0] * m[5] - m[2] * m[2]) / det, (m[1] * m[2] - m[0] * m[4]) / det,
               (m[0] * m[3] - m[1] * m[1]) / det}};
    }
    const double add = std::max(trace * 1e-3, 1e-12);
    c.m[0] += add, c.m[3] += add, c.m[5] += add;
  }
  return {};  // not reached for finite input
}

struct StationKey {
  int32_t cave = 0, passage = 0;
  std::string_view point;
  friend bool operator==(const StationKey& a, const StationKey& b) = default;
};

struct StationKeyHash {
  size_t operator()(const StationKey& k) const {
    uint64_t h = 1469598103934665603ULL;
    for (const char ch : k.point) h = (h ^ static_cast<unsigned char>(ch)) * 1099511628211ULL;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(k.cave)) * 0x9E3779B97F4A7C15ULL;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(k.passage)) * 0xC2B2AE3D27D4EB4FULL;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

StationKey KeyOf(const char* point, int32_t cave, int32_t passage) {
  return {cave, passage, std::string_view(point, strnlen(point, 13))};
}

struct Edge {
  uint32_t from = 0, to = 0;
  V3 vec{};           // the reading's vector, tentatively corrected
  Sym3 cov;           // its covariance
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

class Network {
 public:
  Network(const doc::SurveyStore& store, const BlunderOptions& options) : m_store(store), m_options(options) {}

  BlunderReport Run();

 private:
  uint32_t Node(const char* point, int32_t cave, int32_t passage);
  void Build();
  void FindLoops();
  void Evaluate();
  double LoopChiSquare(size_t loop, const V3& e) const { return m_weight[loop].Form(e); }
  Candidate Best(uint32_t edge) const;
  double WorstAfter(uint32_t edge, const V3& vec) const;
  void Apply(uint32_t edge, const V3& vec);
  BlunderSuspect Suspect(uint32_t edge, const Candidate& c, double total, bool correction) const;

  const doc::SurveyStore& m_store;
  BlunderOptions m_options;
  std::unordered_map<StationKey, uint32_t, StationKeyHash> m_nodes;
  std::vector<Edge> m_edges;
  uint32_t m_ground = 0;

  // Loops: legs of loop i at m_loopStart[i] .. m_loopStart[i + 1].
  std::vector<size_t> m_loopStart;
  std::vector<uint32_t> m_loopEdge;
  std::vector<int8_t> m_loopSign;
  std::vector<uint32_t> m_closingEdge;
  // Loops of edge j at m_incStart[j] .. m_incStart[j + 1].
  std::vector<size_t> m_incStart;
  std::vector<uint32_t> m_incLoop;
  std::vector<int8_t> m_incSign;

  std::vector<Sym3> m_weight;  // inverse loop covariances
  std::vector<V3> m_misclosure;
  std::vector<double> m_chi;
};

uint32_t Network::Node(const char* point, int32_t cave, int32_t passage) {
  const auto [it, added] = m_nodes.try_emplace(KeyOf(point, cave, passage), static_cast<uint32_t>(m_nodes.size()));
  return it->second;
}

void Network::Build() {
  const auto& records = m_store.records;
  const double sl2 = m_options.sigmaLength * m_options.sigmaLength;
  const double sa = m_options.sigmaAngle * kDegreeFactor;
  const double sa2 = sa * sa;
  m_nodes.reserve(records.size() + 1);
  m_edges.reserve(records.size());
  std::vector<uint8_t> defined;              // per node: an earlier record has it as its station
  std::vector<std::pair<size_t, V3>> fixes;  // record, fixed coordinates
  doc::SurveyRecord scratch;
  for (size_t position = 0; position < records.size(); ++position) {
    const doc::SurveyRecord& r = *records[position];
    if (r.point[0] == 0 || r.refPoint[0] == 0) continue;  // auxiliary lines take no part
    const uint32_t to = Node(r.point, r.cave, r.passage);
    if (defined.size() <= to) defined.resize(static_cast<size_t>(to) + 1, 0);
    const double* c = r.work.loopCorrection;
    if (doc::IsSelfReference(r)) {
      // Only the first definition of a station keeps its own coordinates;
      // a later reference takes those of the records above it.
      if (!defined[to]) fixes.push_back({position, {r.refX - c[0], r.refY - c[1], r.refZ - c[2]}});
      defined[to] = 1;
      continue;
    }
    const uint32_t from = Node(r.refPoint, r.refCave, r.refPassage);
    if (defined.size() <= from) defined.resize(static_cast<size_t>(from) + 1, 0);
    Edge e;
    e.from = from, e.to = to, e.record = position;
    if (InstrumentIndex(r)) {
      scratch.length = r.length, scratch.azimuth = r.azimuth, scratch.inclination = r.inclination;
      scratch.instrument = r.instrument, scratch.tapeStart = r.tapeStart, scratch.tapeEnd = r.tapeEnd;
      std::memcpy(scratch.date, r.date, sizeof scratch.date);
      const LegVector leg = ReduceLeg(scratch, m_store.settings);
      e.sinAz = leg.sinAz, e.cosAz = leg.cosAz, e.sinEl = leg.sinEl, e.cosEl = leg.cosEl;
      e.length = leg.reducedLength;
    } else {
      // Without instrument the entered coordinates are the reading; a
      // connection's were replaced by its known stations and say nothing.
      if (r.ring == 0 && defined[to]) {
        defined[to] = 1;
        continue;
      }
      const V3 d{r.x - c[0] - r.refX, r.y - c[1] - r.refY, r.z - c[2] - r.refZ};
      const double h = std::hypot(d[0], d[1]);
      e.length = std::hypot(h, d[2]);
      const double az = std::atan2(d[0], d[1]), el = std::atan2(d[2], h);
      e.sinAz = std::sin(az), e.cosAz = std::cos(az), e.sinEl = std::sin(el), e.cosEl = std::cos(el);
    }
    defined[to] = 1;
    const double L = e.length;
    const V3 unit{e.sinAz * e.cosEl, e.cosAz * e.cosEl, e.sinEl};
    e.vec = {L * unit[0], L * unit[1], L * unit[2]};
    // A reading that is no number (a damaged file) can close no loop.
    if (!std::isfinite(e.vec[0]) || !std::isfinite(e.vec[1]) || !std::isfinite(e.vec[2])) continue;
    if (L == 0) {
      // A zero-length record joins its stations within the tape accuracy.
      e.cov.m[0] = e.cov.m[3] = e.cov.m[5] = sl2;
    } else {
      e.cov.AddOuter(unit, sl2);
      e.cov.AddOuter({e.cosAz, -e.sinAz, 0}, sa2 * L * L * e.cosEl * e.cosEl);
      e.cov.AddOuter({-e.sinAz * e.sinEl, -e.cosAz * e.sinEl, e.cosEl}, sa2 * L * L);
    }
    m_edges.push_back(e);
  }
  m_ground = static_cast<uint32_t>(m_nodes.size());
  for (const auto& [position, at] : fixes) {
    if (!std::isfinite(at[0]) || !std::isfinite(at[1]) || !std::isfinite(at[2])) continue;
    const doc::SurveyRecord& r = *records[position];
    Edge e;
    e.from = m_ground, e.to = Node(r.point, r.cave, r.passage), e.record = position, e.tie = true, e.vec = at;
    m_edges.push_back(e);
  }
  // Ties come last among the edges but belong in list order with the rest.
  std::stable_sort(m_edges.begin(), m_edges.end(), [](const Edge& a, const Edge& b) { return a.record < b.record; });
}

// A breadth-first forest grown from the fixed stations (then from the first
// station of each remaining part); every other edge closes one loop.
void Network::FindLoops() {
  const size_t nodeCount = static_cast<size_t>(m_ground) + 1;
  std::vector<size_t> adjStart(nodeCount + 1, 0);
  for (const Edge& e : m_edges) ++adjStart[e.from + 1], ++adjStart[e.to + 1];
  for (size_t i = 0; i < nodeCount; ++i) adjStart[i + 1] += adjStart[i];
  std::vector<uint32_t> adj(adjStart.back());
  {
    std::vector<size_t> fill(adjStart.begin(), adjStart.end() - 1);
    for (uint32_t i = 0; i < m_edges.size(); ++i) adj[fill[m_edges[i].from]++] = i, adj[fill[m_edges[i].to]++] = i;
  }
  constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
  std::vector<uint32_t> parentEdge(nodeCount, kNone), depth(nodeCount, 0);
  std::vector<uint8_t> seen(nodeCount, 0);
  std::vector<uint32_t> queue;
  queue.reserve(nodeCount);
  const auto grow = [&](uint32_t root) {
    if (seen[root]) return;
    seen[root] = 1;
    size_t head = queue.size();
    queue.push_back(root);
    for (; head < queue.size(); ++head) {
      const uint32_t n = queue[head];
      for (size_t k = adjStart[n]; k < adjStart[n + 1]; ++k) {
        const Edge& e = m_edges[adj[k]];
        const uint32_t other = e.from == n ? e.to : e.from;
        if (seen[other]) continue;
        seen[other] = 1;
        parentEdge[other] = adj[k];
        depth[other] = depth[n] + 1;
        queue.push_back(other);
      }
    }
  };
  grow(m_ground);
  for (const Edge& e : m_edges) grow(e.from), grow(e.to);

  m_loopStart.push_back(0);
  std::vector<std::pair<uint32_t, int8_t>> down;
  for (uint32_t i = 0; i < m_edges.size(); ++i) {
    const Edge& closing = m_edges[i];
    if (parentEdge[closing.to] == i || parentEdge[closing.from] == i) continue;
    // Round the loop: along the closing edge from -> to, then back through
    // the tree from `to` up to the common ancestor and down to `from`.
    m_loopEdge.push_back(i);
    m_loopSign.push_back(1);
    uint32_t up = closing.to, back = closing.from;
    down.clear();
    const auto step = [&](uint32_t& n, bool upwards) {
      const uint32_t pe = parentEdge[n];
      const Edge& e = m_edges[pe];
      const uint32_t parent = e.from == n ? e.to : e.from;
      // Upwards we travel n -> parent, downwards parent -> n.
      const bool forward = upwards ? e.from == n : e.from == parent;
      if (upwards) {
        m_loopEdge.push_back(pe);
        m_loopSign.push_back(forward ? 1 : -1);
      } else {
        down.push_back({pe, static_cast<int8_t>(forward ? 1 : -1)});
      }
      n = parent;
    };
    while (depth[up] > depth[back]) step(up, true);
    while (depth[back] > depth[up]) step(back, false);
    while (up != back) step(up, true), step(back, false);
    for (size_t k = down.size(); k-- > 0;) m_loopEdge.push_back(down[k].first), m_loopSign.push_back(down[k].second);
    m_loopStart.push_back(m_loopEdge.size());
    m_closingEdge.push_back(i);
  }

  m_incStart.assign(m_edges.size() + 1, 0);
  for (const uint32_t e : m_loopEdge) ++m_incStart[e + 1];
  for (size_t i = 0; i < m_edges.size(); ++i) m_incStart[i + 1] += m_incStart[i];
  m_incLoop.resize(m_loopEdge.size());
  m_incSign.resize(m_loopEdge.size());
  std::vector<size_t> fill(m_incStart.begin(), m_incStart.end() - 1);
  for (uint32_t loop = 0; loop + 1 < m_loopStart.size(); ++loop) {
    for (size_t k = m_loopStart[loop]; k < m_loopStart[loop + 1]; ++k) {
      const size_t slot = fill[m_loopEdge[k]]++;
      m_incLoop[slot] = loop;
      m_incSign[slot] = m_loopSign[k];
    }
  }
}

void Network::Evaluate() {
  const size_t loops = m_closingEdge.size();
  m_weight.resize(loops);
  m_misclosure.resize(loops);
  m_chi.resize(loops);
  for (size_t i = 0; i < loops; ++i) {
    Sym3 cov;
    V3 e{};
    for (size_t k = m_loopStart[i]; k < m_loopStart[i + 1]; ++k) {
      const Edge& edge = m_edges[m_loopEdge[k]];
      cov.Add(edge.cov);
      for (int j = 0; j < 3; ++j) e[j] += m_loopSign[k] * edge.vec[j];
    }
    m_weight[i] = Inverse(cov);
    m_misclosure[i] = e;
    m_chi[i] = LoopChiSquare(i, e);
  }
}

// Minimum of f over [lo, hi] sampled at `steps` + 1 points, each local
// minimum of the samples refined by golden section.
template <typename F>
std::pair<double, double> MinimiseAngle(F f, double lo, double hi, int steps, bool periodic) {
  std::vector<double> values(static_cast<size_t>(steps) + 1);
  const double h = (hi - lo) / steps;
  for (int k = 0; k <= steps; ++k) values[static_cast<size_t>(k)] = f(lo + h * k);
  double bestAt = lo, best = values[0];
  for (int k = 0; k <= steps; ++k) {
    const size_t i = static_cast<size_t>(k);
    const double left = k > 0 ? values[i - 1] : periodic ? values[static_cast<size_t>(steps) - 1] : values[i] + 1;
    const double right = k < steps ? values[i + 1] : periodic ? values[1] : values[i] + 1;
    if (values[i] > left || values[i] > right) continue;
    double a = lo + h * (k - 1), b = lo + h * (k + 1);
    if (!periodic) a = std::max(a, lo), b = std::min(b, hi);
    constexpr double kGolden = 0.6180339887498949;
    double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
    double f1 = f(x1), f2 = f(x2);
    for (int it = 0; it < 60 && b - a > 1e-10; ++it) {
      if (f1 < f2) {
        b = x2, x2 = x1, f2 = f1, x1 = b - kGolden * (b - a), f1 = f(x1);
      } else {
        a = x1, x1 = x2, f1 = f2, x2 = a + kGolden * (b - a), f2 = f(x2);
      }
    }
    const double x = f1 < f2 ? x1 : x2, v = std::min(f1, f2);
    if (v < best) best = v, bestAt = x;
    if (values[i] < best) best = values[i], bestAt = lo + h * k;
  }
  return {bestAt, best};
}

// The best single reading of `edge` against every loop that contains it:
// with g_i the vector that would close loop i alone, the loops' chi-square
// as a function of the leg's vector v is v'Av - 2b'v + c.
Candidate Network::Best(uint32_t index) const {
  const Edge& edge = m_edges[index];
  Sym3 A;
  V3 b{};
  double c = 0, old = 0;
  for (size_t k = m_incStart[index]; k < m_incStart[index + 1]; ++k) {
    const size_t loop = m_incLoop[k];
    const double s = m_incSign[k];
    const Sym3& w = m_weight[loop];
    const V3 g{edge.vec[0] - s * m_misclosure[loop][0], edge.vec[1] - s * m_misclosure[loop][1],
               edge.vec[2] - s * m_misclosure[loop][2]};
    const V3 wg = w.Times(g);
    A.Add(w);
    for (int j = 0; j < 3; ++j) b[j] += wg[j];
    c += Dot(g, wg);
    old += m_chi[loop];
  }
  const auto f = [&](const V3& v) { return A.Form(v) - 2 * Dot(b, v) + c; };
  Candidate best;
  const auto consider = [&](SuspectReading reading, double parameter, const V3& v) {
    const double delta = f(v) - old;
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
    const auto at = [&](double t) { return V3{h * std::sin(t), h * std::cos(t), z}; };
    const double t = MinimiseAngle([&](double a) { return f(at(a)); }, 0, 2 * std::numbers::pi, 72, true).first;
    consider(SuspectReading::Azimuth, t, at(t));
  }
  if (L > 1e-6) {
    const auto at = [&](double p) {
      return V3{L * std::cos(p) * edge.sinAz, L * std::cos(p) * edge.cosAz, L * std::sin(p)};
    };
    const double p =
        MinimiseAngle([&](double a) { return f(at(a)); }, -std::numbers::pi / 2, std::numbers::pi / 2, 36, false).first;
    consider(SuspectReading::Inclination, p, at(p));
  }
  // A horizontal leg written the wrong way round also closes by turning its
  // azimuth half a circle; the reversal is the likelier slip and is named
  // when it explains the loops about as well.
  if (best.reading == SuspectReading::Azimuth) {
    const double turn = std::remainder(best.parameter - std::atan2(edge.sinAz, edge.cosAz), 2 * std::numbers::pi);
    const double reversed = f({-edge.vec[0], -edge.vec[1], -edge.vec[2]}) - old;
    if (std::fabs(std::fabs(turn) - std::numbers::pi) < 10 * kDegreeFactor && reversed <= best.delta + 4) {
      best = {true, SuspectReading::Direction, reversed, 0, {-edge.vec[0], -edge.vec[1], -edge.vec[2]}};
    }
  }
  return best;
}

double Network::WorstAfter(uint32_t index, const V3& vec) const {
  const Edge& edge = m_edges[index];
  double worst = 0;
  for (size_t k = m_incStart[index]; k < m_incStart[index + 1]; ++k) {
    const size_t loop = m_incLoop[k];
    const double s = m_incSign[k];
    V3 e = m_misclosure[loop];
    for (int j = 0; j < 3; ++j) e[j] += s * (vec[j] - edge.vec[j]);
    worst = std::max(worst, std::sqrt(std::max(0.0, LoopChiSquare(loop, e))));
  }
  return worst;
}

void Network::Apply(uint32_t index, const V3& vec) {
  Edge& edge = m_edges[index];
  for (size_t k = m_incStart[index]; k < m_incStart[index + 1]; ++k) {
    const size_t loop = m_incLoop[k];
    const double s = m_incSign[k];
    for (int j = 0; j < 3; ++j) m_misclosure[loop][j] += s * (vec[j] - edge.vec[j]);
    m_chi[loop] = LoopChiSquare(loop, m_misclosure[loop]);
  }
  edge.vec = vec;
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
  FindLoops();
  Evaluate();
  BlunderReport report;
  const size_t loopCount = m_closingEdge.size();
  report.loops.resize(loopCount);
  double total = 0;
  const double limit2 = kSuspiciousMisclosure * kSuspiciousMisclosure;
  size_t suspicious = 0;
  for (size_t i = 0; i < loopCount; ++i) {
    BlunderLoop& loop = report.loops[i];
    for (size_t k = m_loopStart[i]; k < m_loopStart[i + 1]; ++k) {
      const Edge& edge = m_edges[m_loopEdge[k]];
      if (edge.tie) continue;
      ++loop.legCount;
      loop.length += edge.length;
    }
    // Shown as the loop evaluation shows it: known station minus computed end.
    for (int j = 0; j < 3; ++j) loop.misclosure[j] = -m_misclosure[i][j];
    loop.normalised = std::sqrt(std::max(0.0, m_chi[i]));
    loop.suspicious = m_chi[i] > limit2;
    loop.closingRecord = m_edges[m_closingEdge[i]].record;
    total += m_chi[i];
    if (loop.suspicious) ++suspicious;
  }
  report.totalChiSquare = total;
  report.suspiciousLoops = suspicious;

  // One correction after another while suspicious loops remain; each
  // round's candidates are kept until one of their loops changes.
  std::vector<Candidate> cache(m_edges.size());
  std::vector<uint8_t> fresh(m_edges.size(), 0), corrected(m_edges.size(), 0);
  std::vector<size_t> visited(m_edges.size(), std::numeric_limits<size_t>::max());
  std::vector<uint32_t> firstRound;
  std::vector<uint32_t> corrections;
  for (size_t round = 0; suspicious > 0; ++round) {
    uint32_t bestEdge = 0;
    const Candidate* best = nullptr;
    for (size_t i = 0; i < loopCount; ++i) {
      if (m_chi[i] <= limit2) continue;
      for (size_t k = m_loopStart[i]; k < m_loopStart[i + 1]; ++k) {
        const uint32_t e = m_loopEdge[k];
        if (m_edges[e].tie || corrected[e] || visited[e] == round) continue;
        visited[e] = round;
        if (!fresh[e]) cache[e] = Best(e), fresh[e] = 1;
        if (round == 0 && cache[e].valid && cache[e].delta < 0) firstRound.push_back(e);
        if (cache[e].valid && (!best || cache[e].delta < best->delta)) best = &cache[e], bestEdge = e;
      }
    }
    if (round == 0) {
      for (const uint32_t e : firstRound) report.suspects.push_back(Suspect(e, cache[e], total, false));
    }
    if (!best || best->delta >= -1e-9 * (1 + total)) break;
    const Candidate chosen = *best;
    BlunderSuspect suspect = Suspect(bestEdge, chosen, total, true);
    Apply(bestEdge, chosen.vec);
    total += chosen.delta;
    corrected[bestEdge] = 1;
    corrections.push_back(bestEdge);
    suspect.totalAfter = total;
    suspect.worstAfter = 0;
    suspicious = 0;
    for (size_t k = m_incStart[bestEdge]; k < m_incStart[bestEdge + 1]; ++k) {
      const size_t loop = m_incLoop[k];
      suspect.worstAfter = std::max(suspect.worstAfter, std::sqrt(std::max(0.0, m_chi[loop])));
      for (size_t j = m_loopStart[loop]; j < m_loopStart[loop + 1]; ++j) fresh[m_loopEdge[j]] = 0;
    }
    for (size_t i = 0; i < loopCount; ++i) suspicious += m_chi[i] > limit2 ? 1 : 0;
    report.suspects.insert(report.suspects.begin() + static_cast<std::ptrdiff_t>(corrections.size() - 1), suspect);
  }
  // The alternatives: other legs of the first round, best first.
  const auto alternatives = report.suspects.begin() + static_cast<std::ptrdiff_t>(corrections.size());
  std::vector<uint8_t> isCorrected(m_store.records.size(), 0);
  for (const uint32_t e : corrections) isCorrected[m_edges[e].record] = 1;
  const auto end = std::remove_if(alternatives, report.suspects.end(),
                                  [&](const BlunderSuspect& s) { return isCorrected[s.record] != 0; });
  report.suspects.erase(end, report.suspects.end());
  std::stable_sort(alternatives, report.suspects.end(),
                   [](const BlunderSuspect& a, const BlunderSuspect& b) { return a.totalAfter < b.totalAfter; });
  return report;
}

}  // namespace

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options) {
  Network network(store, options);
  return network.Run();
}

}  // namespace hp::calc::reference
