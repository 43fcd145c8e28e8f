// The blunder finder's network: stations, edges, the spanning forest, the
// loops with their sums and the per-edge sums over the loops through them.
#include "calc/BlunderNetwork.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "calc/LegReduction.h"
#include "doc/LegSource.h"
#include "doc/Station.h"

namespace hp::calc::blunder {
namespace {

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

}  // namespace

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

BlunderReport Network::Loops() {
  Build();
  GrowForest();
  FindLoops();
  BlunderReport report;
  Evaluate(report);
  return report;
}

Sym3 Network::Covariance(const Edge& e, double setUp) const {
  Sym3 cov;
  if (e.tie) return cov;
  double tape = m_options.sigmaLength, compass = m_options.sigmaAngle, clino = m_options.sigmaAngle;
  double measurements = 1, position = setUp;
  // A record that brought its own accuracies is weighed by them; one
  // measured as a grid vector by those of its three components.
  if (const std::optional<doc::LegSource> own = doc::SourceOf(*m_store.records[e.record])) {
    measurements = own->measurements;
    if (own->Grid()) {
      cov.m[0] = own->east * own->east / measurements;
      cov.m[3] = own->north * own->north / measurements;
      cov.m[5] = own->up * own->up / measurements;
      return cov;
    }
    if (own->tape > 0) tape = own->tape;
    if (own->compass > 0) compass = own->compass;
    if (own->clino > 0) clino = own->clino;
    position = own->position;
  }
  const double sl2 = tape * tape / measurements;
  const double sc2 = compass * compass * kDegreeFactor * kDegreeFactor / measurements;
  const double si2 = clino * clino * kDegreeFactor * kDegreeFactor / measurements;
  const double L = e.length;
  if (L == 0) {
    // A zero-length record joins its stations within the tape accuracy.
    cov.m[0] = cov.m[3] = cov.m[5] = sl2;
  } else {
    cov.AddOuter({e.sinAz * e.cosEl, e.cosAz * e.cosEl, e.sinEl}, sl2);
    cov.AddOuter({e.cosAz, -e.sinAz, 0}, sc2 * L * L * e.cosEl * e.cosEl);
    cov.AddOuter({-e.sinAz * e.sinEl, -e.cosAz * e.sinEl, e.cosEl}, si2 * L * L);
  }
  const double station = position * position / 3 / measurements;
  cov.m[0] += station, cov.m[3] += station, cov.m[5] += station;
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
  const auto cov = [&](uint32_t n) -> const Sym3& {
    return m_parentEdge[n] == kNone ? noCov : m_sumWeight[m_parentEdge[n]];
  };
  const auto position = [&](uint32_t n) -> const V3& {
    return m_parentEdge[n] == kNone ? origin : m_sumWeighted[m_parentEdge[n]];
  };
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

// Loops from the worst down, each marking the edges of its path not yet
// marked: a station whose tree edge is marked is joined to the station
// above it, so every edge is looked at once and the whole is about linear
// even where loops share long traverses.
base::LargeVector<uint32_t> Network::WorstLoops() const {
  base::LargeVector<uint32_t> worst(m_edges.size(), kNone);
  const size_t loopCount = m_closingEdge.size();
  base::LargeVector<uint32_t> order(loopCount);
  for (uint32_t i = 0; i < loopCount; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) { return m_chi[a] > m_chi[b]; });
  base::LargeVector<uint32_t> up(m_parentEdge.size());
  for (uint32_t n = 0; n < up.size(); ++n) up[n] = n;
  const auto find = [&up](uint32_t n) {
    while (up[n] != n) n = up[n] = up[up[n]];
    return n;
  };
  for (const uint32_t loop : order) {
    const Edge& closing = m_edges[m_closingEdge[loop]];
    worst[m_closingEdge[loop]] = loop;
    const uint32_t topDepth = m_depth[m_top[loop]];
    for (const uint32_t end : {closing.from, closing.to}) {
      for (uint32_t n = find(end); m_depth[n] > topDepth; n = find(n)) {
        worst[m_parentEdge[n]] = loop;
        up[n] = Parent(n);
      }
    }
  }
  return worst;
}

std::vector<size_t> Network::LoopRecords(uint32_t loop) const {
  std::vector<size_t> records;
  if (loop >= m_closingEdge.size()) return records;
  records.push_back(m_edges[m_closingEdge[loop]].record);
  ForEachPathEdge(loop, [&](uint32_t edge, double) { records.push_back(m_edges[edge].record); });
  return records;
}

}  // namespace hp::calc::blunder
