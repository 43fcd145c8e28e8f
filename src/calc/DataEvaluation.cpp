// The data evaluation: three passes over the records, each serving the
// visible set and the set of all records side by side.
#include "calc/DataEvaluation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/LegFilter.h"
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
    result.totalLength += std::sqrt(dx * dx + dy * dy + dz * dz);
    result.horizontalLength += std::sqrt(dx * dx + dy * dy);
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

double LargestDistance(const doc::SurveyRecord& a, const doc::SurveyRecord& b) {
  return std::max({std::hypot(a.refX - b.refX, a.refY - b.refY), std::hypot(a.refX - b.x, a.refY - b.y),
                   std::hypot(a.x - b.refX, a.y - b.refY), std::hypot(a.x - b.x, a.y - b.y)});
}

// Largest horizontal distance between the points of marked records.
double Extent(const std::vector<const doc::SurveyRecord*>& marked, bool needPoint) {
  double extent = 0;
  for (size_t i = 0; i < marked.size(); ++i) {
    if (needPoint && base::TextOf(marked[i]->point).empty()) continue;
    for (size_t j = i + 1; j < marked.size(); ++j) extent = std::max(extent, LargestDistance(*marked[i], *marked[j]));
  }
  return extent;
}

}  // namespace

const std::array<std::string_view, 8>& EvaluationRowLabels() {
  static const std::array<std::string_view, 8> labels = {
      "Anzahl der &Messzüge",    "&Gesamtlänge",        "Gesamt&tiefe",       "Horizontale &Länge",
      "Horizontale &Ausdehnung", "&Höchster Messpunkt", "&Tiefster Messpunkt", "Längster &Weg zum Urspung"};
  return labels;
}

std::array<double, 8> EvaluationRowValues(const EvaluationResult& r) {
  return {static_cast<double>(r.legCount), r.totalLength, r.totalDepth, r.horizontalLength,
          r.horizontalExtent, r.highest, r.lowest, r.longestPath};
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
  visible.result.horizontalExtent = Extent(markedVisible, false);

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
