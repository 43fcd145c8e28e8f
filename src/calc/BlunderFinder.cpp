// The blunder finder: network, cycle basis, loop statistics and the search
// for the readings that best close the suspicious loops.
#include "calc/BlunderFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>

#include "base/Cp1252.h"
#include "base/HugePages.h"
#include "base/NumberFormat.h"
#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc {
namespace {

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kSigmaLengthName = "BlunderSigmaLength";
constexpr std::string_view kSigmaAngleName = "BlunderSigmaAngle";

using V3 = std::array<double, 3>;

// A symmetric 3x3 matrix: xx, xy, xz, yy, yz, zz.
struct Sym3 {
  double m[6] = {};
  void Add(const Sym3& o) {
    for (int i = 0; i < 6; ++i) m[i] += o.m[i];
  }
  void AddOuter(const V3& a, double weight) {
    m[0] += weight * a[0] * a[0];
    m[1] += weight * a[0] * a[1];
    m[2] += weight * a[0] * a[2];
    m[3] += weight * a[1] * a[1];
    m[4] += weight * a[1] * a[2];
    m[5] += weight * a[2] * a[2];
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
      Sym3 w;
      w.m[0] = a / det;
      w.m[1] = b / det;
      w.m[2] = d / det;
      w.m[3] = (m[0] * m[5] - m[2] * m[2]) / det;
      w.m[4] = (m[1] * m[2] - m[0] * m[4]) / det;
      w.m[5] = (m[0] * m[3] - m[1] * m[1]) / det;
      return w;
    }
    const double add = std::max(trace * 1e-3, 1e-12);
    c.m[0] += add, c.m[3] += add, c.m[5] += add;
  }
  Sym3 w;  // not reached for finite input
  return w;
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
  size_t record = 0;  // list position
  bool tie = false;   // exact tie of a fixed station to the datum
  double length = 0;  // reduced length
  double sinAz = 0, cosAz = 0, sinEl = 0, cosEl = 0;
};

struct Candidate {
  bool valid = false;
  SuspectReading reading = SuspectReading::Length;
  double delta = 0;  // change of the total chi-square
  double parameter = 0;  // length (m), azimuth or elevation (radians)
  V3 vec{};
};

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// Every loop is its closing edge and the path through the spanning forest
// between the closing edge's stations, so nothing is kept per leg of a loop:
// sums round a loop come from sums along the forest from its roots, and the
// sums over the loops through an edge from sums over the stations below it.
// A network of two traverses tied at every station has loops of every
// length up to the whole survey; their legs listed one by one would grow
// with the square of the ties.
class Network {
 public:
  Network(const doc::SurveyStore& store, const BlunderOptions& options) : m_store(store), m_options(options) {}

  BlunderReport Run();

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
  void Build();
  void GrowForest();
  void FindLoops();
  void Evaluate(BlunderReport& report);
  void Aggregate(bool weights);
  Sym3 Covariance(const Edge& e) const;
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
  base::LargeVector<Sym3> m_weight;  // inverse loop covariances
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

// Open addressing over the records' own names: no allocation per station.
// A slot holds the station and a part of the name's hash; the name itself
// is read from the record that brought the station in.
uint32_t Network::Node(size_t position, bool reference) {
  const doc::SurveyRecord& r = *m_store.records[position];
  const StationKey key = reference ? KeyOf(r.refPoint, r.refCave, r.refPassage) : KeyOf(r.point, r.cave, r.passage);
  const size_t hash = StationKeyHash()(key), mask = m_slots.size() - 1;
  const uint32_t tag = static_cast<uint32_t>(hash >> 32);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = m_slots[i];
    if (slot.node == kNone) {
      slot = {m_nodeCount, tag};
      m_nodeNames.push_back(static_cast<uint32_t>(position) << 1 | (reference ? 1 : 0));
      return m_nodeCount++;
    }
    if (slot.tag != tag) continue;
    const uint32_t name = m_nodeNames[slot.node];
    const doc::SurveyRecord& o = *m_store.records[name >> 1];
    const StationKey other = name & 1 ? KeyOf(o.refPoint, o.refCave, o.refPassage) : KeyOf(o.point, o.cave, o.passage);
    if (other == key) return slot.node;
  }
}

void Network::Build() {
  const auto& records = m_store.records;
  size_t capacity = 16;
  while (capacity <= 2 * records.size()) capacity *= 2;  // never full: at most two stations a record
  m_slots.assign(capacity, Slot{});
  m_nodeNames.reserve(records.size() + 1);
  m_edges.reserve(records.size());
  base::LargeVector<uint8_t> defined;  // per node: an earlier record has it as its station
  doc::SurveyRecord scratch;
  for (size_t position = 0; position < records.size(); ++position) {
    const doc::SurveyRecord& r = *records[position];
    if (r.point[0] == 0 || r.refPoint[0] == 0) continue;  // auxiliary lines take no part
    const uint32_t to = Node(position, false);
    if (defined.size() <= to) defined.resize(static_cast<size_t>(to) + 1, 0);
    const double* c = r.work.loopCorrection;
    if (doc::IsSelfReference(r)) {
      // Only the first definition of a station keeps its own coordinates;
      // a later reference takes those of the records above it.
      if (!defined[to]) {
        Edge tie;
        tie.to = to, tie.record = position, tie.tie = true, tie.vec = {r.refX - c[0], r.refY - c[1], r.refZ - c[2]};
        if (std::isfinite(tie.vec[0]) && std::isfinite(tie.vec[1]) && std::isfinite(tie.vec[2])) m_edges.push_back(tie);
      }
      defined[to] = 1;
      continue;
    }
    const uint32_t from = Node(position, true);
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
    m_edges.push_back(e);
  }
  // The datum is the station after all others; the ties were made before
  // its number was known.
  m_ground = m_nodeCount;
  for (Edge& e : m_edges) {
    if (e.tie) e.from = m_ground;
  }
  m_slots = {};
  m_nodeNames = {};
}

Sym3 Network::Covariance(const Edge& e) const {
  Sym3 cov;
  if (e.tie) return cov;
  const double sl2 = m_options.sigmaLength * m_options.sigmaLength;
  const double sa = m_options.sigmaAngle * kDegreeFactor;
  const double sa2 = sa * sa;
  const double L = e.length;
  if (L == 0) {
    // A zero-length record joins its stations within the tape accuracy.
    cov.m[0] = cov.m[3] = cov.m[5] = sl2;
  } else {
    cov.AddOuter({e.sinAz * e.cosEl, e.cosAz * e.cosEl, e.sinEl}, sl2);
    cov.AddOuter({e.cosAz, -e.sinAz, 0}, sa2 * L * L * e.cosEl * e.cosEl);
    cov.AddOuter({-e.sinAz * e.sinEl, -e.cosAz * e.sinEl, e.cosEl}, sa2 * L * L);
  }
  return cov;
}

uint32_t Network::Parent(uint32_t node) const {
  const Edge& e = m_edges[m_parentEdge[node]];
  return e.from == node ? e.to : e.from;
}

int Network::Orientation(uint32_t edge) const {
  const Edge& e = m_edges[edge];
  return m_parentEdge[e.from] == edge ? 1 : -1;
}

// A breadth-first forest grown from the fixed stations (then from the first
// station of each remaining part); every other edge closes one loop.
void Network::GrowForest() {
  const size_t nodeCount = static_cast<size_t>(m_ground) + 1;
  base::LargeVector<uint32_t> adjStart(nodeCount + 1, 0);
  for (const Edge& e : m_edges) ++adjStart[e.from + 1], ++adjStart[e.to + 1];
  for (size_t i = 0; i < nodeCount; ++i) adjStart[i + 1] += adjStart[i];
  base::LargeVector<uint32_t> adj(adjStart.back());
  {
    base::LargeVector<uint32_t> fill(adjStart.begin(), adjStart.end() - 1);
    for (uint32_t i = 0; i < m_edges.size(); ++i) adj[fill[m_edges[i].from]++] = i, adj[fill[m_edges[i].to]++] = i;
  }
  m_parentEdge.assign(nodeCount, kNone);
  m_depth.assign(nodeCount, 0);
  base::LargeVector<uint8_t> seen(nodeCount, 0);
  m_order.reserve(nodeCount);
  const auto grow = [&](uint32_t root) {
    if (seen[root]) return;
    seen[root] = 1;
    size_t head = m_order.size();
    m_order.push_back(root);
    for (; head < m_order.size(); ++head) {
      const uint32_t n = m_order[head];
      for (size_t k = adjStart[n]; k < adjStart[n + 1]; ++k) {
        const Edge& e = m_edges[adj[k]];
        const uint32_t other = e.from == n ? e.to : e.from;
        if (seen[other]) continue;
        seen[other] = 1;
        m_parentEdge[other] = adj[k];
        m_depth[other] = m_depth[n] + 1;
        m_order.push_back(other);
      }
    }
  };
  grow(m_ground);
  for (const Edge& e : m_edges) grow(e.from), grow(e.to);
}

// The loops, their stations' lowest common ancestors (Tarjan's offline
// method during one depth-first walk) and their ends by place in the walk.
void Network::FindLoops() {
  const size_t nodeCount = m_parentEdge.size();
  m_closes.assign(m_edges.size(), kNone);
  for (uint32_t i = 0; i < m_edges.size(); ++i) {
    const Edge& e = m_edges[i];
    if (m_parentEdge[e.to] == i || m_parentEdge[e.from] == i) continue;
    m_closes[i] = static_cast<uint32_t>(m_closingEdge.size());
    m_closingEdge.push_back(i);
  }
  const size_t loopCount = m_closingEdge.size();
  // Loop ends by station, then children by station.
  base::LargeVector<uint32_t> endsAt(nodeCount + 1, 0);
  for (const uint32_t i : m_closingEdge) ++endsAt[m_edges[i].from + 1], ++endsAt[m_edges[i].to + 1];
  for (size_t i = 0; i < nodeCount; ++i) endsAt[i + 1] += endsAt[i];
  base::LargeVector<uint32_t> ends(endsAt.back());
  {
    base::LargeVector<uint32_t> fill(endsAt.begin(), endsAt.end() - 1);
    for (uint32_t l = 0; l < loopCount; ++l) {
      const Edge& e = m_edges[m_closingEdge[l]];
      ends[fill[e.from]++] = l, ends[fill[e.to]++] = l;
    }
  }
  base::LargeVector<uint32_t> childStart(nodeCount + 1, 0);
  for (const uint32_t n : m_order) {
    if (m_parentEdge[n] != kNone) ++childStart[Parent(n) + 1];
  }
  for (size_t i = 0; i < nodeCount; ++i) childStart[i + 1] += childStart[i];
  base::LargeVector<uint32_t> children(childStart.back());
  {
    base::LargeVector<uint32_t> fill(childStart.begin(), childStart.end() - 1);
    for (const uint32_t n : m_order) {
      if (m_parentEdge[n] != kNone) children[fill[Parent(n)]++] = n;
    }
  }

  m_enter.assign(nodeCount, 0);
  m_leave.assign(nodeCount, 0);
  m_top.assign(loopCount, kNone);
  base::LargeVector<uint32_t> set(nodeCount);
  for (uint32_t n = 0; n < nodeCount; ++n) set[n] = n;
  const auto find = [&](uint32_t n) {
    while (set[n] != n) n = set[n] = set[set[n]];
    return n;
  };
  base::LargeVector<uint8_t> done(nodeCount, 0);
  std::vector<std::pair<uint32_t, uint32_t>> stack;  // station, next child
  uint32_t clock = 0;
  for (const uint32_t root : m_order) {
    if (m_parentEdge[root] != kNone) continue;
    m_enter[root] = clock++;
    stack.push_back({root, childStart[root]});
    while (!stack.empty()) {
      auto& [n, next] = stack.back();
      if (next < childStart[n + 1]) {
        const uint32_t child = children[next++];
        m_enter[child] = clock++;
        stack.push_back({child, childStart[child]});
        continue;
      }
      const uint32_t node = n;
      m_leave[node] = clock;
      done[node] = 1;
      for (size_t k = endsAt[node]; k < endsAt[node + 1]; ++k) {
        const Edge& e = m_edges[m_closingEdge[ends[k]]];
        const uint32_t other = e.from == node ? e.to : e.from;
        if (other == node) m_top[ends[k]] = node;
        else if (done[other]) m_top[ends[k]] = find(other);
      }
      stack.pop_back();
      if (!stack.empty()) set[node] = stack.back().first;
    }
  }
  // The same ends again, now by place in the walk.
  m_endStart.assign(static_cast<size_t>(clock) + 1, 0);
  for (uint32_t n = 0; n < nodeCount; ++n) {
    if (m_leave[n] > 0) m_endStart[m_enter[n] + 1] += endsAt[n + 1] - endsAt[n];
  }
  for (size_t i = 0; i < clock; ++i) m_endStart[i + 1] += m_endStart[i];
  m_endLoop.resize(ends.size());
  for (uint32_t n = 0; n < nodeCount; ++n) {
    if (m_leave[n] == 0) continue;
    std::copy(ends.begin() + static_cast<std::ptrdiff_t>(endsAt[n]),
              ends.begin() + static_cast<std::ptrdiff_t>(endsAt[n + 1]),
              m_endLoop.begin() + static_cast<std::ptrdiff_t>(m_endStart[m_enter[n]]));
  }
}

// Each loop's sums from sums along the forest: going round it along the
// closing edge and back through the forest adds up to the closing vector
// plus the position of its start less that of its end; covariances, legs
// and lengths add up along both branches down from the common ancestor.
// Positions are kept relative to the station below the datum (or the root)
// they hang from, so the fixed coordinates do not swamp a loop's millimetres.
// A station's sums from the root are kept at its tree edge in the per-edge
// sums, which Aggregate fills afterwards.
void Network::Evaluate(BlunderReport& report) {
  const size_t nodeCount = m_parentEdge.size(), loopCount = m_closingEdge.size(), edgeCount = m_edges.size();
  m_sumWeight.assign(edgeCount, Sym3{});
  m_sumWeighted.assign(edgeCount, V3{});
  m_sumChi.assign(edgeCount, 0);
  m_suspiciousThrough.assign(edgeCount, 0);
  base::LargeVector<uint32_t> hangsFrom(nodeCount, 0);
  std::vector<V3> anchors(1, V3{});  // by hangsFrom; 0 for stations of no fixed one
  const Sym3 noCov;
  const V3 origin{};
  const auto cov = [&](uint32_t n) -> const Sym3& { return m_parentEdge[n] == kNone ? noCov : m_sumWeight[m_parentEdge[n]]; };
  const auto position = [&](uint32_t n) -> const V3& { return m_parentEdge[n] == kNone ? origin : m_sumWeighted[m_parentEdge[n]]; };
  const auto length = [&](uint32_t n) { return m_parentEdge[n] == kNone ? 0.0 : m_sumChi[m_parentEdge[n]]; };
  const auto legs = [&](uint32_t n) { return m_parentEdge[n] == kNone ? 0 : m_suspiciousThrough[m_parentEdge[n]]; };
  for (const uint32_t n : m_order) {
    const uint32_t pe = m_parentEdge[n];
    if (pe == kNone) continue;
    const Edge& e = m_edges[pe];
    const uint32_t p = Parent(n);
    const double sign = e.to == n ? 1 : -1;
    if (p == m_ground) {
      hangsFrom[n] = static_cast<uint32_t>(anchors.size());
      anchors.push_back({sign * e.vec[0], sign * e.vec[1], sign * e.vec[2]});
    } else {
      hangsFrom[n] = hangsFrom[p];
      const V3& above = position(p);
      for (int j = 0; j < 3; ++j) m_sumWeighted[pe][j] = above[j] + sign * e.vec[j];
    }
    Sym3 c = cov(p);
    c.Add(Covariance(e));
    m_sumWeight[pe] = c;
    m_sumChi[pe] = length(p) + (e.tie ? 0 : e.length);
    m_suspiciousThrough[pe] = legs(p) + (e.tie ? 0 : 1);
  }
  m_weight.resize(loopCount);
  m_misclosure.resize(loopCount);
  m_chi.resize(loopCount);
  m_suspicious.assign(loopCount, 0);
  report.loops.resize(loopCount);
  for (size_t i = 0; i < loopCount; ++i) {
    const Edge& closing = m_edges[m_closingEdge[i]];
    const uint32_t a = closing.from, b = closing.to, top = m_top[i];
    V3 e{};
    for (int j = 0; j < 3; ++j) {
      const double offset = anchors[hangsFrom[a]][j] - anchors[hangsFrom[b]][j];
      e[j] = closing.vec[j] + (position(a)[j] - position(b)[j]) + offset;
    }
    Sym3 c = Covariance(closing);
    for (int j = 0; j < 6; ++j) c.m[j] += cov(a).m[j] + cov(b).m[j] - 2 * cov(top).m[j];
    m_weight[i] = Inverse(c);
    m_misclosure[i] = e;
    m_chi[i] = LoopChiSquare(i, e);
    m_suspicious[i] = m_chi[i] > m_limit2;
    m_suspiciousCount += m_suspicious[i];
    BlunderLoop& loop = report.loops[i];
    loop.legCount = (closing.tie ? 0 : 1) + legs(a) + legs(b) - 2 * legs(top);
    loop.length = (closing.tie ? 0 : closing.length) + length(a) + length(b) - 2 * length(top);
    // Shown as the loop evaluation shows it: known station minus computed end.
    for (int j = 0; j < 3; ++j) loop.misclosure[j] = -e[j];
    loop.normalised = std::sqrt(std::max(0.0, m_chi[i]));
    loop.suspicious = m_suspicious[i] != 0;
    loop.closingRecord = closing.record;
  }
}

// The per-edge sums over the loops through each edge: a loop adds its part
// at both its stations and takes it twice off at their common ancestor, so
// that the sum over the stations below a tree edge counts exactly the loops
// through that edge. The signed sums need no correction at the ancestor:
// the loop runs up one branch and down the other. A station's part waits at
// its tree edge until it is passed up.
void Network::Aggregate(bool weights) {
  const size_t edgeCount = m_edges.size();
  if (weights) m_sumWeight.assign(edgeCount, Sym3{});
  m_sumWeighted.assign(edgeCount, V3{});
  m_sumChi.assign(edgeCount, 0);
  m_suspiciousThrough.assign(edgeCount, 0);
  const auto add = [&](uint32_t n, double w, const Sym3& weight, const V3& wm, double chi, int32_t suspicious) {
    const uint32_t pe = m_parentEdge[n];
    if (pe == kNone) return;  // a root passes nothing on
    if (weights) {
      for (int j = 0; j < 6; ++j) m_sumWeight[pe].m[j] += w * weight.m[j];
    }
    for (int j = 0; j < 3; ++j) m_sumWeighted[pe][j] += wm[j];
    m_sumChi[pe] += w * chi;
    m_suspiciousThrough[pe] += static_cast<int32_t>(w) * suspicious;
  };
  for (size_t l = 0; l < m_closingEdge.size(); ++l) {
    const Edge& closing = m_edges[m_closingEdge[l]];
    const V3 wm = m_weight[l].Times(m_misclosure[l]);
    const int32_t suspicious = m_suspicious[l];
    add(closing.to, 1, m_weight[l], wm, m_chi[l], suspicious);
    add(closing.from, 1, m_weight[l], {-wm[0], -wm[1], -wm[2]}, m_chi[l], suspicious);
    add(m_top[l], -2, m_weight[l], {0, 0, 0}, m_chi[l], suspicious);
  }
  for (auto it = m_order.rbegin(); it != m_order.rend(); ++it) {
    const uint32_t pe = m_parentEdge[*it];
    if (pe == kNone) continue;
    const uint32_t above = m_parentEdge[Parent(*it)];
    if (above == kNone) continue;
    if (weights) m_sumWeight[above].Add(m_sumWeight[pe]);
    for (int j = 0; j < 3; ++j) m_sumWeighted[above][j] += m_sumWeighted[pe][j];
    m_sumChi[above] += m_sumChi[pe];
    m_suspiciousThrough[above] += m_suspiciousThrough[pe];
  }
  for (const uint32_t n : m_order) {
    const uint32_t pe = m_parentEdge[n];
    if (pe == kNone || Orientation(pe) > 0) continue;
    for (double& v : m_sumWeighted[pe]) v = -v;
  }
  for (size_t l = 0; l < m_closingEdge.size(); ++l) {
    const uint32_t i = m_closingEdge[l];
    if (weights) m_sumWeight[i] = m_weight[l];
    m_sumWeighted[i] = m_weight[l].Times(m_misclosure[l]);
    m_sumChi[i] = m_chi[l];
    m_suspiciousThrough[i] = m_suspicious[l];
  }
}

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
  for (uint32_t n = closing.to; n != top; n = Parent(n)) f(m_parentEdge[n], static_cast<double>(Orientation(m_parentEdge[n])));
  for (uint32_t n = closing.from; n != top; n = Parent(n)) f(m_parentEdge[n], -static_cast<double>(Orientation(m_parentEdge[n])));
}

// An angle range sampled at `steps` + 1 points, with the sines and cosines
// of the samples worked out once for every leg.
struct AngleGrid {
  static constexpr int kMaxSteps = 72;
  AngleGrid(double lo_, double hi_, int steps_) : lo(lo_), hi(hi_), steps(steps_) {
    const double h = (hi - lo) / steps;
    for (int k = 0; k <= steps; ++k) {
      sin[static_cast<size_t>(k)] = std::sin(lo + h * k);
      cos[static_cast<size_t>(k)] = std::cos(lo + h * k);
    }
  }
  double lo, hi;
  int steps;
  std::array<double, kMaxSteps + 1> sin{}, cos{};
};

const AngleGrid& AzimuthGrid() {
  static const AngleGrid grid(0, 2 * std::numbers::pi, 72);
  return grid;
}

const AngleGrid& ElevationGrid() {
  static const AngleGrid grid(-std::numbers::pi / 2, std::numbers::pi / 2, 36);
  return grid;
}

// A leg's chi-square change along a circle of vectors
// v(x) = sin x P + cos x Q + R: a s^2 + b c^2 + 2 g s c + 2 p s + 2 q c + r
// with s = sin x, c = cos x.
struct TrigQuadratic {
  TrigQuadratic(const Sym3& A, const V3& S, const V3& P, const V3& Q, const V3& R, const V3& u) {
    const V3 w{R[0] - u[0], R[1] - u[1], R[2] - u[2]};
    const V3 AP = A.Times(P), Aw = A.Times(w);
    a = Dot(P, AP), b = A.Form(Q), g = Dot(Q, AP);
    p = Dot(P, Aw) + Dot(P, S), q = Dot(Q, Aw) + Dot(Q, S);
    r = Dot(w, Aw) + 2 * Dot(S, w);
  }
  double Value(double s, double c) const { return a * s * s + b * c * c + 2 * g * s * c + 2 * p * s + 2 * q * c + r; }
  double Slope(double s, double c) const { return 2 * (a - b) * s * c + 2 * g * (c * c - s * s) + 2 * p * c - 2 * q * s; }
  double Bend(double s, double c) const {
    return 2 * (a - b) * (c * c - s * s) - 8 * g * s * c - 2 * p * s - 2 * q * c;
  }
  double a, b, g, p, q, r;
};

// Newton steps from `x` towards the minimum inside [a, b]; false when they
// leave the interval, meet a curve bent the wrong way or do not settle.
bool NewtonMinimum(const TrigQuadratic& f, double a, double b, double& x) {
  for (int it = 0; it < 30; ++it) {
    const double sinX = std::sin(x), cosX = std::cos(x);
    const double bend = f.Bend(sinX, cosX);
    if (!(bend > 0)) return false;
    const double step = -f.Slope(sinX, cosX) / bend;
    x += step;
    if (!(x >= a && x <= b)) return false;
    if (std::fabs(step) <= 1e-12) return true;
  }
  return false;
}

// Minimum over the grid's range of the curve f(sin x, cos x), sampled on
// the grid, each local minimum of the samples refined by Newton steps (by
// golden section where those fail).
std::pair<double, double> MinimiseAngle(const TrigQuadratic& f, const AngleGrid& grid, bool periodic) {
  const double lo = grid.lo, hi = grid.hi;
  const int steps = grid.steps;
  std::array<double, AngleGrid::kMaxSteps + 1> values{};
  const double h = (hi - lo) / steps;
  for (int k = 0; k <= steps; ++k) {
    values[static_cast<size_t>(k)] = f.Value(grid.sin[static_cast<size_t>(k)], grid.cos[static_cast<size_t>(k)]);
  }
  const auto at = [&](double x) { return f.Value(std::sin(x), std::cos(x)); };
  double bestAt = lo, best = values[0];
  for (int k = 0; k <= steps; ++k) {
    const size_t i = static_cast<size_t>(k);
    const double left = k > 0 ? values[i - 1] : periodic ? values[static_cast<size_t>(steps) - 1] : values[i] + 1;
    const double right = k < steps ? values[i + 1] : periodic ? values[1] : values[i] + 1;
    if (values[i] > left || values[i] > right) continue;
    double a = lo + h * (k - 1), b = lo + h * (k + 1);
    if (!periodic) a = std::max(a, lo), b = std::min(b, hi);
    double x = lo + h * k, v = 0;
    if (NewtonMinimum(f, a, b, x)) {
      v = at(x);
    } else {
      constexpr double kGolden = 0.6180339887498949;
      double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
      double f1 = at(x1), f2 = at(x2);
      for (int it = 0; it < 60 && b - a > 1e-10; ++it) {
        if (f1 < f2) {
          b = x2, x2 = x1, f2 = f1, x1 = b - kGolden * (b - a), f1 = at(x1);
        } else {
          a = x1, x1 = x2, f1 = f2, x2 = a + kGolden * (b - a), f2 = at(x2);
        }
      }
      x = f1 < f2 ? x1 : x2, v = std::min(f1, f2);
    }
    if (v < best) best = v, bestAt = x;
    if (values[i] < best) best = values[i], bestAt = lo + h * k;
  }
  return {bestAt, best};
}

// The best single reading of `edge` against every loop that contains it:
// with g_i the vector that would close loop i alone, the loops' chi-square

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
    const auto at = [&](double sinP, double cosP) { return V3{L * cosP * edge.sinAz, L * cosP * edge.cosAz, L * sinP}; };
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
    case SuspectReading::Direction:
      break;
    case SuspectReading::Length:
      if (instrument) {
        const double divider = settings.instrumentDivider[*instrument];
        s.measured = divider != 0 && (r.tapeStart != 0 || r.tapeEnd != 0) ? (r.tapeEnd - r.tapeStart) / divider : r.length;
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
  // candidate, computing the stale ones ahead of it on the way.
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

std::string Shown(double value) { return base::FormatShown(base::RoundHundredths(value)); }

}  // namespace

BlunderOptions LoadBlunderOptions(const platform::SettingsStore& settings) {
  BlunderOptions options;
  const auto read = [&](std::string_view name, double fallback) {
    const auto value = base::ParseNumber(settings.GetString(kSection, name, ""));
    return value && std::isfinite(*value) && *value > 0 ? *value : fallback;
  };
  options.sigmaLength = read(kSigmaLengthName, options.sigmaLength);
  options.sigmaAngle = read(kSigmaAngleName, options.sigmaAngle);
  return options;
}

void SaveBlunderOptions(platform::SettingsStore& settings, const BlunderOptions& options) {
  settings.SetString(kSection, kSigmaLengthName, base::FormatFixed(options.sigmaLength, 4));
  settings.SetString(kSection, kSigmaAngleName, base::FormatFixed(options.sigmaAngle, 4));
}

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options) {
  Network network(store, options);
  return network.Run();
}

const std::vector<std::string>& BlunderLoopHeadings() {
  static const std::vector<std::string> headings = {"Schleife", "Messzüge", "Länge",    "Delta",   "Delta X",
                                                    "Delta Y",  "Delta Z",  "Normiert", "Verdacht"};
  return headings;
}

const std::vector<std::string>& BlunderSuspectHeadings() {
  static const std::vector<std::string> headings = {"Rang",     "Datensatz", "Referenz", "Messpunkt",
                                                    "Messwert", "Gemessen",  "Vermutet", "Normiert danach"};
  return headings;
}

const char* SuspectReadingText(SuspectReading reading) {
  switch (reading) {
    case SuspectReading::Length: return "Länge";
    case SuspectReading::Azimuth: return "Azimut";
    case SuspectReading::Inclination: return "Neigung";
    case SuspectReading::Direction: break;
  }
  return "Richtung";
}

std::vector<std::string> BlunderLoopCells(const BlunderLoop& loop, size_t number) {
  const double delta = std::sqrt(Dot({loop.misclosure[0], loop.misclosure[1], loop.misclosure[2]},
                                     {loop.misclosure[0], loop.misclosure[1], loop.misclosure[2]}));
  return {std::to_string(number),     std::to_string(loop.legCount), Shown(loop.length),
          Shown(delta),               Shown(loop.misclosure[0]),     Shown(loop.misclosure[1]),
          Shown(loop.misclosure[2]),  Shown(loop.normalised),        loop.suspicious ? "ja" : "nein"};
}

std::vector<std::string> BlunderSuspectCells(const doc::SurveyStore& store, const BlunderSuspect& suspect,
                                             size_t rank) {
  const doc::SurveyRecord& r = *store.records.at(suspect.record);
  const bool reversed = suspect.reading == SuspectReading::Direction;
  return {std::to_string(rank),
          std::to_string(suspect.record + 1),
          base::Cp1252ToUtf8(doc::StationText(doc::RefStationOf(r))),
          base::Cp1252ToUtf8(doc::StationText(doc::StationOf(r))),
          SuspectReadingText(suspect.reading),
          reversed ? std::string() : Shown(suspect.measured),
          reversed ? std::string() : Shown(suspect.suggested),
          Shown(suspect.worstAfter)};
}

}  // namespace hp::calc
