// The network adjustment: exact joins, the reduction to junctions and
// chains, the sparse solve and the corrections of every record.
#include "calc/NetworkAdjustment.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

#include "base/Cp1252.h"
#include "calc/BlunderNetwork.h"
#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc {
namespace {

using blunder::Edge;
using blunder::kNone;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Metres: the standard deviation of setting up instrument and target at a
// station, which every leg of tape, compass and clino carries besides its
// readings; Survex's cavern assumes the same.
constexpr double kStationSetUp = 0.05;

V3 Plus(const V3& a, const V3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V3 Minus(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 Scaled(const V3& a, double f) { return {a[0] * f, a[1] * f, a[2] * f}; }

// Stations joined exactly (by a tie to the datum or a zero-length record)
// are one: each station lies at an offset from the first of its group.
class Joins {
 public:
  explicit Joins(size_t count) : m_up(count), m_offset(count, V3{}) { std::iota(m_up.begin(), m_up.end(), 0u); }

  uint32_t Find(uint32_t n) {
    m_path.clear();
    while (m_up[n] != n) m_path.push_back(n), n = m_up[n];
    // From the station next to the group's first one down: offsets add up.
    for (size_t i = m_path.size(); i-- > 1;) {
      const uint32_t child = m_path[i - 1];
      m_offset[child] = Plus(m_offset[child], m_offset[m_path[i]]);
    }
    for (const uint32_t p : m_path) m_up[p] = n;
    return n;
  }
  const V3& Offset(uint32_t n) const { return m_offset[n]; }  // valid after Find(n)

  // Joins `b` at `a` + `vec`; false when both are in one group already at
  // another offset. The group of `keep` stays first of the joined group.
  bool Join(uint32_t a, uint32_t b, const V3& vec, uint32_t keep) {
    const uint32_t ra = Find(a), rb = Find(b);
    const V3 d = Minus(Plus(m_offset[a], vec), m_offset[b]);  // position of rb less that of ra
    if (ra == rb) return std::fabs(d[0]) + std::fabs(d[1]) + std::fabs(d[2]) < 1e-9;
    if (rb == keep) {
      m_up[ra] = rb, m_offset[ra] = Scaled(d, -1);
    } else {
      m_up[rb] = ra, m_offset[rb] = d;
    }
    return true;
  }

 private:
  std::vector<uint32_t> m_up;
  std::vector<V3> m_offset;
  std::vector<uint32_t> m_path;
};

// An edge of the network between groups: the vector from a's group to b's.
struct Link {
  uint32_t a = 0, b = 0;
  V3 vec{};
  Sym3 cov;
};

// A chain of links between two junctions; its links are listed at
// `first` .. `first + count` with the sign of their run along it.
struct Chain {
  uint32_t start = 0, end = 0;
  size_t first = 0, count = 0;
  V3 vec{};
  Sym3 cov;
};

std::string StationName(const doc::SurveyStore& store, const base::LargeVector<Edge>& edges, uint32_t node) {
  for (const Edge& e : edges) {
    const doc::SurveyRecord& r = *store.records[e.record];
    if (e.to == node) return doc::StationText(doc::StationOf(r));
    if (!e.tie && e.from == node) return doc::StationText(doc::RefStationOf(r));
  }
  return {};
}

}  // namespace

NetworkAdjustment AdjustNetwork(const doc::SurveyStore& store, const BlunderOptions& options) {
  NetworkAdjustment result;
  const size_t recordCount = store.records.size();
  result.corrections.assign(recordCount, V3{});
  result.stations.assign(recordCount, V3{kNaN, kNaN, kNaN});
  if (!(options.sigmaLength > 0) || !(options.sigmaAngle > 0) || !std::isfinite(options.sigmaLength) ||
      !std::isfinite(options.sigmaAngle)) {
    result.message =
        "Netzausgleich nicht möglich: Die Standardabweichungen von Länge und Winkel müssen größer als 0 sein.";
    return result;
  }
  blunder::Network network(store, options);
  network.Build();
  const base::LargeVector<Edge>& edges = network.edges();
  const uint32_t ground = network.ground();
  const size_t nodeCount = static_cast<size_t>(ground) + 1;

  // Exact joins: the ties first, then zero-length records. One between two
  // stations whose fixed places differ cannot join them exactly; it is then
  // a reading of its own with the tape's accuracy in every direction.
  Joins joins(nodeCount);
  std::vector<uint8_t> exact(edges.size(), 0);
  for (size_t i = 0; i < edges.size(); ++i) {
    if (edges[i].tie) exact[i] = joins.Join(ground, edges[i].to, edges[i].vec, ground);
  }
  for (size_t i = 0; i < edges.size(); ++i) {
    const Edge& e = edges[i];
    if (e.tie || e.length != 0) continue;
    exact[i] = joins.Join(e.from, e.to, e.vec, ground) ? 1 : 0;
  }

  // The links between groups, and per group its links (self-loops twice).
  std::vector<Link> links;
  std::vector<uint32_t> linkEdge;
  links.reserve(edges.size());
  for (size_t i = 0; i < edges.size(); ++i) {
    if (exact[i]) continue;
    const Edge& e = edges[i];
    Link link;
    link.a = joins.Find(e.from);
    link.b = joins.Find(e.to);
    link.vec = Minus(Plus(e.vec, joins.Offset(e.from)), joins.Offset(e.to));
    link.cov = network.Covariance(e, kStationSetUp);
    links.push_back(link);
    linkEdge.push_back(static_cast<uint32_t>(i));
  }
  std::vector<uint32_t> adjStart(nodeCount + 1, 0);
  for (const Link& l : links) ++adjStart[l.a + 1], ++adjStart[l.b + 1];
  for (size_t i = 0; i < nodeCount; ++i) adjStart[i + 1] += adjStart[i];
  std::vector<uint32_t> adj(adjStart.back());
  {
    std::vector<uint32_t> fill(adjStart.begin(), adjStart.end() - 1);
    for (uint32_t i = 0; i < links.size(); ++i) adj[fill[links[i].a]++] = i, adj[fill[links[i].b]++] = i;
  }
  std::vector<uint32_t> degree(nodeCount);
  for (size_t n = 0; n < nodeCount; ++n) degree[n] = adjStart[n + 1] - adjStart[n];
  const auto other = [&](uint32_t link, uint32_t n) { return links[link].a == n ? links[link].b : links[link].a; };

  // Dead ends off, one station after another: each hangs by its one link.
  std::vector<uint8_t> removed(links.size(), 0);
  std::vector<uint32_t> hang(nodeCount, kNone), peeled, queue;
  for (uint32_t n = 0; n < nodeCount; ++n) {
    if (degree[n] == 1 && n != ground) queue.push_back(n);
  }
  while (!queue.empty()) {
    const uint32_t v = queue.back();
    queue.pop_back();
    if (degree[v] != 1) continue;
    uint32_t link = kNone;
    for (size_t k = adjStart[v]; k < adjStart[v + 1] && link == kNone; ++k) {
      if (!removed[adj[k]]) link = adj[k];
    }
    removed[link] = 1;
    hang[v] = link;
    peeled.push_back(v);
    degree[v] = 0;
    const uint32_t u = other(link, v);
    if (--degree[u] == 1 && u != ground) queue.push_back(u);
  }

  // The chains between junctions: the datum and every station of three or
  // more links left.
  const auto junction = [&](uint32_t n) { return n == ground ? degree[n] > 0 : degree[n] >= 3; };
  std::vector<Chain> chains;
  std::vector<std::pair<uint32_t, double>> chainLinks;
  std::vector<uint8_t> walked(links.size(), 0);
  for (uint32_t j = 0; j < nodeCount; ++j) {
    if (!junction(j)) continue;
    for (size_t k = adjStart[j]; k < adjStart[j + 1]; ++k) {
      uint32_t link = adj[k];
      if (removed[link] || walked[link]) continue;
      Chain chain;
      chain.start = j, chain.first = chainLinks.size();
      uint32_t at = j;
      for (;;) {
        walked[link] = 1;
        const double sign = links[link].a == at ? 1 : -1;
        chainLinks.push_back({link, sign});
        chain.vec = Plus(chain.vec, Scaled(links[link].vec, sign));
        chain.cov.Add(links[link].cov);
        at = other(link, at);
        if (junction(at)) break;
        uint32_t next = kNone;
        for (size_t q = adjStart[at]; q < adjStart[at + 1] && next == kNone; ++q) {
          if (!removed[adj[q]] && !walked[adj[q]]) next = adj[q];
        }
        if (next == kNone) break;  // a station of two links both walked: not reached
        link = next;
      }
      chain.end = at;
      chain.count = chainLinks.size() - chain.first;
      chains.push_back(chain);
    }
  }

  // Junctions reached from the datum, with their first positions.
  std::vector<int64_t> unknown(nodeCount, -1);
  std::vector<V3> position(nodeCount, V3{});
  std::vector<uint8_t> placed(nodeCount, 0);
  {
    std::vector<uint32_t> chainStart(nodeCount + 1, 0);
    for (const Chain& c : chains) ++chainStart[c.start + 1], ++chainStart[c.end + 1];
    for (size_t i = 0; i < nodeCount; ++i) chainStart[i + 1] += chainStart[i];
    std::vector<uint32_t> byJunction(chainStart.back());
    std::vector<uint32_t> fill(chainStart.begin(), chainStart.end() - 1);
    for (uint32_t i = 0; i < chains.size(); ++i)
      byJunction[fill[chains[i].start]++] = i, byJunction[fill[chains[i].end]++] = i;
    std::vector<uint32_t> order{ground};
    placed[ground] = 1;
    int64_t next = 0;
    for (size_t head = 0; head < order.size(); ++head) {
      const uint32_t n = order[head];
      for (size_t k = chainStart[n]; k < chainStart[n + 1]; ++k) {
        const Chain& c = chains[byJunction[k]];
        const bool forward = c.start == n;
        const uint32_t o = forward ? c.end : c.start;
        if (placed[o]) continue;
        placed[o] = 1;
        position[o] = forward ? Plus(position[n], c.vec) : Minus(position[n], c.vec);
        unknown[o] = next++;
        order.push_back(o);
      }
    }
    result.junctions = static_cast<size_t>(next);
  }
  // Loops that reach no fixed station cannot be placed.
  uint32_t lost = kNone;
  for (size_t i = 0; i < links.size() && lost == kNone; ++i) {
    if (!removed[i] && !walked[i]) lost = static_cast<uint32_t>(i);
  }
  for (size_t i = 0; i < chains.size() && lost == kNone; ++i) {
    if (!placed[chains[i].start]) lost = chainLinks[chains[i].first].first;
  }
  if (lost != kNone) {
    result.message = "Netzausgleich nicht möglich: Die Station " +
                     base::Cp1252ToUtf8(StationName(store, edges, edges[linkEdge[lost]].to)) +
                     " liegt in einer Schleife, die mit keinem Festpunkt verbunden ist.";
    return result;
  }

  // The normal equations of the junctions, for their shifts from the first
  // positions, and the sparse Cholesky solve.
  if (result.junctions > 0) {
    const auto size = static_cast<Eigen::Index>(3 * result.junctions);
    std::vector<Eigen::Triplet<double>> triplets;
    triplets.reserve(chains.size() * 36);
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(size);
    const auto block = [&](int64_t row, int64_t column, const Sym3& w, double sign) {
      static constexpr int kIndex[3][3] = {{0, 1, 2}, {1, 3, 4}, {2, 4, 5}};
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) triplets.emplace_back(3 * row + i, 3 * column + j, sign * w.m[kIndex[i][j]]);
      }
    };
    for (const Chain& c : chains) {
      if (c.start == c.end) continue;
      const Sym3 w = Inverse(c.cov);
      const V3 wr = w.Times(Minus(c.vec, Minus(position[c.end], position[c.start])));
      const int64_t a = unknown[c.start], b = unknown[c.end];
      if (a >= 0) {
        block(a, a, w, 1);
        for (int i = 0; i < 3; ++i) rhs[3 * a + i] -= wr[static_cast<size_t>(i)];
      }
      if (b >= 0) {
        block(b, b, w, 1);
        for (int i = 0; i < 3; ++i) rhs[3 * b + i] += wr[static_cast<size_t>(i)];
      }
      if (a >= 0 && b >= 0) block(a, b, w, -1), block(b, a, w, -1);
    }
    Eigen::SparseMatrix<double> normal(size, size);
    normal.setFromTriplets(triplets.begin(), triplets.end());
    triplets = {};
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver(normal);
    bool singular = solver.info() != Eigen::Success;
    if (!singular) {
      const Eigen::VectorXd& d = solver.vectorD();
      const double largest = d.cwiseAbs().maxCoeff();
      singular = !(d.minCoeff() > 1e-14 * largest);
    }
    const Eigen::VectorXd shift = singular ? Eigen::VectorXd() : Eigen::VectorXd(solver.solve(rhs));
    if (singular || !shift.allFinite()) {
      result.message =
          "Netzausgleich nicht möglich: Das Gleichungssystem des Netzes ist singulär; "
          "die Messungen bestimmen die Lage der Knotenpunkte nicht.";
      return result;
    }
    for (uint32_t n = 0; n < nodeCount; ++n) {
      if (unknown[n] < 0) continue;
      for (int i = 0; i < 3; ++i) position[n][static_cast<size_t>(i)] += shift[3 * unknown[n] + i];
    }
  }

  // Each chain shares its misclosure among its links by their covariances.
  for (const Chain& c : chains) {
    const V3 misclosure = Minus(Minus(position[c.end], position[c.start]), c.vec);
    const V3 spread = Inverse(c.cov).Times(misclosure);
    V3 at = position[c.start];
    uint32_t node = c.start;
    for (size_t k = 0; k + 1 < c.count; ++k) {
      const auto [link, sign] = chainLinks[c.first + k];
      at = Plus(Plus(at, Scaled(links[link].vec, sign)), links[link].cov.Times(spread));
      node = other(link, node);
      position[node] = at;
      placed[node] = 1;
    }
  }
  // The dead ends hang from the adjusted stations by their own readings; a
  // part of no fixed station and no loop keeps its readings as they are.
  for (auto it = peeled.rbegin(); it != peeled.rend(); ++it) {
    const uint32_t v = *it, link = hang[v], u = other(link, v);
    position[v] = links[link].b == v ? Plus(position[u], links[link].vec) : Minus(position[u], links[link].vec);
    placed[v] = placed[u];
  }

  // Back to the stations and the records.
  for (const Edge& e : edges) {
    const uint32_t rt = joins.Find(e.to);
    const V3 to = Plus(position[rt], joins.Offset(e.to));
    if (placed[rt]) result.stations[e.record] = to;
    if (e.tie) continue;
    const uint32_t rf = joins.Find(e.from);
    const V3 from = Plus(position[rf], joins.Offset(e.from));
    result.corrections[e.record] = Minus(Minus(to, from), e.vec);
  }
  result.solved = true;
  return result;
}

std::vector<BlunderLoop> NetworkLoops(const doc::SurveyStore& store, const BlunderOptions& options) {
  blunder::Network network(store, options);
  return network.Loops().loops;
}

NetworkComputeOutcome RunNetworkComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                               const BlunderOptions& options, std::vector<LoopResult>* results) {
  store.settings.computedCurrent = 0;
  Computation computation(store, prompter, results);
  // The first record alone puts the head reference in place, so that the
  // network sees the datum the pass starts from.
  if (!store.records.empty()) computation.ComputeRecords(1, false);
  const NetworkAdjustment adjustment = AdjustNetwork(store, options);
  for (size_t i = 0; i < store.records.size(); ++i) {
    doc::SurveyRecord& r = *store.records[i];
    double* c = r.work.loopCorrection;
    // Coordinates entered by hand carry their last correction: it comes off
    // before the new one goes on.
    if (doc::IsSelfReference(r)) {
      r.refX -= c[0], r.refY -= c[1], r.refZ -= c[2];
    } else if (!InstrumentIndex(r)) {
      r.x -= c[0], r.y -= c[1], r.z -= c[2];
    }
    const V3& d = adjustment.corrections[i];
    c[0] = d[0], c[1] = d[1], c[2] = d[2], c[3] = c[4] = c[5] = 0;
    if (InstrumentIndex(r) && !doc::IsSelfReference(r)) {
      // The developed section follows the leg's adjusted horizontal length
      // and height (entered coordinates carry both in the station already).
      c[4] = d[2];
      if (d[0] == 0 && d[1] == 0) continue;
      const LegVector leg = ReduceLeg(r, store.settings);
      const double h = leg.reducedLength * leg.cosEl;
      const double x = h * leg.sinAz + d[0], y = h * leg.cosAz + d[1];
      c[3] = r.direction * (std::hypot(x, y) - std::fabs(h));
    }
  }
  if (!adjustment.solved) prompter.Message(adjustment.message, platform::Icon::Exclamation);
  computation.keepCorrections = true;
  const int result = computation.ComputeAll();
  store.settings.computedCurrent = computation.computed && adjustment.solved ? 1 : 0;
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.currentRecordNumber = static_cast<uint32_t>(store.records.empty() ? 0 : computation.currentNumber);
  NetworkComputeOutcome outcome;
  outcome.compute.loadRecord = result == 1;
  outcome.compute.recordNumber = computation.currentNumber;
  outcome.compute.aborted = computation.aborted;
  outcome.adjusted = adjustment.solved;
  return outcome;
}

}  // namespace hp::calc
