// The data evaluation: three passes over the records, each serving the
// visible set and the set of all records side by side.
#include "calc/DataEvaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/LegFilter.h"
#include "doc/LegSource.h"
#include "doc/Station.h"

namespace hp::calc {

namespace {

enum { kAllMark = 0, kVisibleMark = 1 };

// Running state of one set.
struct SetState {
  EvaluationResult result;
  bool started = false;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  double centreX = 0, centreY = 0, radius = 0;

  void Add(const doc::SurveyRecord& r, bool counted) {
    if (!started) {
      started = true;
      minX = maxX = r.refX;
      minY = maxY = r.refY;
      result.highest = result.lowest = r.refZ;
    }
    minX = std::min({minX, r.refX, r.x});
    maxX = std::max({maxX, r.refX, r.x});
    minY = std::min({minY, r.refY, r.y});
    maxY = std::max({maxY, r.refY, r.y});
    result.highest = std::max({result.highest, r.refZ, r.z});
    result.lowest = std::min({result.lowest, r.refZ, r.z});
    result.longestPath = std::max(result.longestPath, r.pathLength);
    if (!counted) return;
    const double dx = r.x - r.refX, dy = r.y - r.refY, dz = r.z - r.refZ;
    result.legCount += 1;
    // An imported leg may stand for several measured legs, or for none.
    const int legs = doc::LegsInLength(r);
    result.totalLength += legs * std::sqrt(dx * dx + dy * dy + dz * dz);
    result.horizontalLength += legs * std::sqrt(dx * dx + dy * dy);
  }

  void FixCircle() {
    centreX = (minX + maxX) / 2;
    centreY = (minY + maxY) / 2;
    radius = std::max(maxX - minX, maxY - minY) / 2 - 0.5;
  }

  // Whether a record may hold the extent: one of its points lies on or
  // outside the circle around the box's middle.
  bool NearBorder(const doc::SurveyRecord& r) const {
    return std::hypot(r.refX - centreX, r.refY - centreY) >= radius ||
           std::hypot(r.x - centreX, r.y - centreY) >= radius;
  }
};

// Horizontal extent. The largest distance between the points of two
// different marked records (A before B in the list, A with a point name where
// `needPoint` asks for it) is sought by halving the list: for each half pair,
// the farthest pair between the convex hull of the left half's eligible points
// and that of the right half's points is found by walking the two hulls
// together (the vertices of their Minkowski difference). Every pair of records
// meets in exactly one split, so the result is that of comparing all pairs,
// in O(n log n) instead of O(n²). Short runs of records compare all pairs.

struct Point {
  double x, y;
  // Only for the first look at all points: the first position (in the list of
  // marked records) of a record that may come first in a pair and has this
  // point, and the last position of any record that has it.
  uint32_t firstEligible = UINT32_MAX, last = 0;
  bool operator<(const Point& o) const { return x < o.x || (x == o.x && y < o.y); }
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

double Cross(const Point& o, const Point& a, const Point& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The largest distance met so far. Candidates are screened by their squared
// distance; those that may win are measured with hypot, as every distance
// of the result is.
class Farthest {
 public:
  void Offer(double dx, double dy) {
    if (dx * dx + dy * dy < m_threshold) return;
    const double d = std::hypot(dx, dy);
    if (d <= m_best) return;
    m_best = d;
    m_threshold = d * d * (1 - 1e-9);
  }
  double best() const { return m_best; }

 private:
  double m_best = 0;
  double m_threshold = 0;
};

// The hull of a point set kept as its vertices sorted by x then y (which is
// what merging two hulls needs), as the counter-clockwise polygon, and its
// bounding box.
struct Hull {
  std::vector<Point> sorted;
  std::vector<Point> polygon;
  double minY = 0, maxY = 0;

  bool empty() const { return polygon.empty(); }
};

// Builds the hull of x-sorted points (duplicates allowed) by the monotone
// chain; collinear points are dropped, as they are never farther than the
// ends of their edge. `withSorted` also lists the vertices in x order, which
// merging hulls needs.
Hull HullOfSorted(std::vector<Point> points, bool withSorted = true) {
  points.erase(std::unique(points.begin(), points.end()), points.end());
  Hull hull;
  if (points.size() <= 2) {
    hull.polygon = points;
  } else {
    // Lower chain left to right, then upper chain right to left.
    std::vector<Point>& chain = hull.polygon;
    chain.reserve(points.size() + 1);
    for (const Point& p : points) {
      while (chain.size() >= 2 && Cross(chain[chain.size() - 2], chain.back(), p) <= 0) chain.pop_back();
      chain.push_back(p);
    }
    const size_t lowerEnd = chain.size();
    for (size_t i = points.size() - 1; i-- > 0;) {
      const Point& p = points[i];
      while (chain.size() > lowerEnd && Cross(chain[chain.size() - 2], chain.back(), p) <= 0) chain.pop_back();
      chain.push_back(p);
    }
    chain.pop_back();  // the first point again
    if (withSorted) {
      points.assign(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(lowerEnd));
      const size_t middle = points.size();
      points.insert(points.end(), chain.rbegin(), chain.rend() - static_cast<std::ptrdiff_t>(lowerEnd));
      std::inplace_merge(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(middle), points.end());
    }
  }
  if (withSorted) hull.sorted = std::move(points);
  if (!hull.polygon.empty()) {
    auto [low, high] = std::minmax_element(hull.polygon.begin(), hull.polygon.end(),
                                           [](const Point& l, const Point& r) { return l.y < r.y; });
    hull.minY = low->y;
    hull.maxY = high->y;
  }
  return hull;
}

Hull MergeHulls(const Hull& a, const Hull& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  std::vector<Point> points;
  points.reserve(a.sorted.size() + b.sorted.size());
  std::merge(a.sorted.begin(), a.sorted.end(), b.sorted.begin(), b.sorted.end(), std::back_inserter(points));
  return HullOfSorted(std::move(points));
}

// Index of the lowest (then leftmost) vertex, where the edge walk starts.
size_t LowestVertex(const std::vector<Point>& polygon, double sign) {
  size_t best = 0;
  for (size_t i = 1; i < polygon.size(); ++i) {
    const double y = sign * polygon[i].y, bestY = sign * polygon[best].y;
    if (y < bestY || (y == bestY && sign * polygon[i].x < sign * polygon[best].x)) best = i;
  }
  return best;
}

// Calls `offer(p, q)` for the vertex pairs of `a` and `b` that may be the
// farthest apart: the vertices of the Minkowski sum of `a` and the mirrored
// `b`, met by merging the two polygons' edges by direction.
template <class Offer>
void WalkFarthestPairs(const std::vector<Point>& pa, const std::vector<Point>& pb, Offer&& offer) {
  const size_t n = pa.size(), m = pb.size();
  // The mirrored `b` starts at its lowest vertex, which is `b`'s highest.
  const size_t a0 = LowestVertex(pa, 1), b0 = LowestVertex(pb, -1);
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    const Point& p = pa[(a0 + i) % n];
    const Point& q = pb[(b0 + j) % m];
    offer(p, q);
    const Point& nextP = pa[(a0 + i + 1) % n];
    const Point& nextQ = pb[(b0 + j + 1) % m];
    // The edge of the mirrored `b` runs from -q to -nextQ.
    const double turn = (nextP.x - p.x) * (q.y - nextQ.y) - (nextP.y - p.y) * (q.x - nextQ.x);
    const bool stepA = turn >= 0 && i < n, stepB = turn <= 0 && j < m;
    if (stepA) ++i;
    if (stepB) ++j;
    if (!stepA && !stepB) (i < n ? i : j) += 1;
  }
}

// Offers the distances between the hulls' vertices that may be the largest.
// The walk is skipped when the two bounding boxes are too close to beat the
// best so far.
void OfferBetween(const Hull& a, const Hull& b, Farthest& farthest) {
  if (a.empty() || b.empty()) return;
  const double dx = std::max(b.sorted.back().x - a.sorted.front().x, a.sorted.back().x - b.sorted.front().x);
  const double dy = std::max(b.maxY - a.minY, a.maxY - b.minY);
  if (std::hypot(dx, dy) < farthest.best()) return;
  WalkFarthestPairs(a.polygon, b.polygon,
                    [&farthest](const Point& p, const Point& q) { farthest.Offer(p.x - q.x, p.y - q.y); });
}

struct MarkedRecord {
  const doc::SurveyRecord* record;
  bool eligibleFirst;  // may be the earlier record of a pair
};

// Hulls of a run of marked records: of the points of records that may come
// first in a pair, and of all points (the same hull when every record may).
struct RunHulls {
  Hull any;
  std::optional<Hull> first;

  const Hull& First() const { return first ? *first : any; }
};

constexpr size_t kShortRun = 24;

RunHulls ShortRun(const std::vector<MarkedRecord>& marked, size_t begin, size_t end, Farthest& farthest) {
  std::vector<Point> any, first;
  bool allEligible = true;
  for (size_t i = begin; i < end; ++i) {
    const doc::SurveyRecord& a = *marked[i].record;
    any.push_back({a.refX, a.refY});
    any.push_back({a.x, a.y});
    if (!marked[i].eligibleFirst) {
      allEligible = false;
      continue;
    }
    first.push_back({a.refX, a.refY});
    first.push_back({a.x, a.y});
    for (size_t j = i + 1; j < end; ++j) {
      const doc::SurveyRecord& b = *marked[j].record;
      farthest.Offer(a.refX - b.refX, a.refY - b.refY);
      farthest.Offer(a.refX - b.x, a.refY - b.y);
      farthest.Offer(a.x - b.refX, a.y - b.refY);
      farthest.Offer(a.x - b.x, a.y - b.y);
    }
  }
  std::sort(any.begin(), any.end());
  RunHulls hulls;
  hulls.any = HullOfSorted(std::move(any));
  if (!allEligible) {
    std::sort(first.begin(), first.end());
    hulls.first = HullOfSorted(std::move(first));
  }
  return hulls;
}

RunHulls ExtentOf(const std::vector<MarkedRecord>& marked, size_t begin, size_t end, Farthest& farthest) {
  if (end - begin <= kShortRun) return ShortRun(marked, begin, end, farthest);
  const size_t middle = begin + (end - begin) / 2;
  RunHulls left = ExtentOf(marked, begin, middle, farthest);
  RunHulls right = ExtentOf(marked, middle, end, farthest);
  OfferBetween(left.First(), right.any, farthest);
  RunHulls hulls;
  hulls.any = MergeHulls(left.any, right.any);
  if (left.first || right.first) hulls.first = MergeHulls(left.First(), right.First());
  return hulls;
}

// The polygon of the extreme points in eight directions. Points strictly
// inside it cannot be corners of the hull, so the first look leaves them out.
class ExtremeOctagon {
 public:
  void Add(const Point& p) {
    for (size_t k = 0; k < 8; ++k) {
      if (!m_any || Key(p, k) > Key(m_corner[k], k)) m_corner[k] = p;
    }
    m_any = true;
  }

  bool StrictlyInside(const Point& p) const {
    // The corners in order of direction run counter-clockwise; repeated
    // corners give empty edges, which are skipped.
    bool anyEdge = false;
    for (size_t k = 0; k < 8; ++k) {
      const Point& a = m_corner[k];
      const Point& b = m_corner[(k + 1) % 8];
      if (a == b) continue;
      anyEdge = true;
      if (Cross(a, b, p) <= 0) return false;
    }
    return anyEdge;
  }

 private:
  static double Key(const Point& p, size_t k) {
    switch (k) {
      case 0: return p.x;
      case 1: return p.x + p.y;
      case 2: return p.y;
      case 3: return p.y - p.x;
      case 4: return -p.x;
      case 5: return -p.x - p.y;
      case 6: return -p.y;
      default: return p.x - p.y;
    }
  }

  std::array<Point, 8> m_corner{};
  bool m_any = false;
};

// The first look: the largest distance between any two of the points, from
// one hull of them all. When a pair of points that far apart belongs to two
// records that may form a pair, that is the extent (true of nearly every
// survey). Otherwise the best allowed pair seen is offered and the halving
// search has to run.
bool DiameterIfAllowed(const std::vector<MarkedRecord>& marked, Farthest& farthest) {
  ExtremeOctagon octagon;
  for (const MarkedRecord& m : marked) {
    octagon.Add({m.record->refX, m.record->refY});
    octagon.Add({m.record->x, m.record->y});
  }
  std::vector<Point> points;
  points.reserve(2 * marked.size());
  for (uint32_t i = 0; i < marked.size(); ++i) {
    const doc::SurveyRecord& r = *marked[i].record;
    const uint32_t eligible = marked[i].eligibleFirst ? i : UINT32_MAX;
    for (Point p : {Point{r.refX, r.refY, eligible, i}, Point{r.x, r.y, eligible, i}}) {
      if (!octagon.StrictlyInside(p)) points.push_back(p);
    }
  }
  std::sort(points.begin(), points.end());
  size_t kept = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    if (kept > 0 && points[kept - 1] == points[i]) {
      points[kept - 1].firstEligible = std::min(points[kept - 1].firstEligible, points[i].firstEligible);
      points[kept - 1].last = std::max(points[kept - 1].last, points[i].last);
    } else {
      points[kept++] = points[i];
    }
  }
  points.resize(kept);
  const Hull hull = HullOfSorted(std::move(points), false);
  Farthest any;
  WalkFarthestPairs(hull.polygon, hull.polygon, [&](const Point& p, const Point& q) {
    any.Offer(p.x - q.x, p.y - q.y);
    if (p.firstEligible < q.last || q.firstEligible < p.last) farthest.Offer(p.x - q.x, p.y - q.y);
  });
  return farthest.best() == any.best();
}

// Largest horizontal distance between the points of two marked records.
double Extent(const std::vector<const doc::SurveyRecord*>& records, bool needPoint) {
  if (records.size() < 2) return 0;
  std::vector<MarkedRecord> marked;
  marked.reserve(records.size());
  for (const doc::SurveyRecord* r : records) marked.push_back({r, !needPoint || !base::TextOf(r->point).empty()});
  Farthest farthest;
  if (DiameterIfAllowed(marked, farthest)) return farthest.best();
  ExtentOf(marked, 0, marked.size(), farthest);
  return farthest.best();
}

}  // namespace

const std::array<std::string_view, 8>& EvaluationRowLabels() {
  static const std::array<std::string_view, 8> labels = {
      "Anzahl der &Messzüge",    "&Gesamtlänge",        "Gesamt&tiefe",        "Horizontale &Länge",
      "Horizontale &Ausdehnung", "&Höchster Messpunkt", "&Tiefster Messpunkt", "Längster &Weg zum Ursprung"};
  return labels;
}

std::array<double, 8> EvaluationRowValues(const EvaluationResult& r) {
  return {static_cast<double>(r.legCount),
          r.totalLength,
          r.totalDepth,
          r.horizontalLength,
          r.horizontalExtent,
          r.highest,
          r.lowest,
          r.longestPath};
}

SurveyEvaluation EvaluateSurvey(doc::SurveyStore& store, const doc::Worksheet& worksheet, double heightOffset,
                                double referencePath) {
  SetState all, visible;
  doc::LegFilter filter;
  filter.Init();
  std::vector<char> inVisible(store.records.size(), 0);

  for (size_t i = 0; i < store.records.size(); ++i) {
    const doc::SurveyRecord& r = *store.records[i];
    if (base::TextOf(r.point).empty()) continue;
    const bool counted = !doc::IsSelfReference(r) && r.length > 0;
    all.Add(r, counted);
    if (r.colour != 0 && filter.Test(r, worksheet).line) {
      inVisible[i] = 1;
      visible.Add(r, counted);
    }
  }

  all.FixCircle();
  visible.FixCircle();
  std::vector<const doc::SurveyRecord*> markedAll, markedVisible;
  for (size_t i = 0; i < store.records.size(); ++i) {
    doc::SurveyRecord& r = *store.records[i];
    r.work.extentMarks[kAllMark] = 0;
    r.work.extentMarks[kVisibleMark] = 0;
    if (all.NearBorder(r)) {
      r.work.extentMarks[kAllMark] = 1;
      markedAll.push_back(&r);
    }
    if (inVisible[i] && visible.NearBorder(r)) {
      r.work.extentMarks[kVisibleMark] = 1;
      markedVisible.push_back(&r);
    }
  }
  all.result.horizontalExtent = Extent(markedAll, true);
  // Visible records all have a point name; when the same records are marked
  // in both sets (every leg shown), both extents are the same search.
  visible.result.horizontalExtent =
      markedVisible == markedAll ? all.result.horizontalExtent : Extent(markedVisible, false);

  SurveyEvaluation evaluation{visible.result, all.result};
  for (EvaluationResult* set : {&evaluation.visible, &evaluation.all}) {
    set->highest -= heightOffset;
    set->lowest -= heightOffset;
    set->totalDepth = set->lowest - set->highest;
  }
  evaluation.visible.longestPath -= referencePath;
  return evaluation;
}

std::string EvaluationCellText(size_t row, double value) {
  return row == 0 ? std::to_string(static_cast<long long>(value)) : base::FormatShown(base::RoundHundredths(value));
}

}  // namespace hp::calc
