// Gathering, closing and distributing loops.
#include "calc/LoopAdjuster.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace hp::calc {
namespace {

int32_t LoopNumber(int ring) { return static_cast<int32_t>(std::abs(static_cast<long>(ring))); }

void FillStations(LoopResult& result, const doc::SurveyRecord& r) {
  result.refCave = r.refCave;
  result.refPassage = r.refPassage;
  result.cave = r.cave;
  result.passage = r.passage;
  std::memcpy(result.refPoint, r.refPoint, sizeof result.refPoint);
  std::memcpy(result.point, r.point, sizeof result.point);
  result.refPoint[12] = result.point[12] = 0;
}

}  // namespace

void LoopAdjuster::Reset(AdjustmentMode mode) {
  m_mode = mode;
  m_loops.clear();
  m_byNumber.clear();
}

bool LoopAdjuster::IsClosed(int ring) const {
  const auto it = m_byNumber.find(LoopNumber(ring));
  return it != m_byNumber.end() && m_loops[it->second].closed;
}

Loop& LoopAdjuster::Find(int ring) {
  const int32_t number = LoopNumber(ring);
  const auto [it, added] = m_byNumber.try_emplace(number, m_loops.size());
  if (added) {
    Loop loop;
    loop.mode = m_mode;
    loop.number = number;
    m_loops.push_back(loop);
  }
  return m_loops[it->second];
}

void LoopAdjuster::Register(const Records& records, size_t position, bool selfReference) {
  const doc::SurveyRecord& r = *records[position];
  Loop& loop = Find(r.ring);
  if (loop.closed) return;
  const auto number = static_cast<int32_t>(position + 1);
  if (loop.firstNumber == 0) {
    loop.firstNumber = number;
    loop.startsAtReference = selfReference;
  }
  if (number > loop.lastNumber) {
    loop.lastNumber = number;
    loop.totalLength += r.length;
    if (r.work.vertical == 0) {
      loop.horizontalLength += r.length;
      loop.allVertical = false;
    }
    ++loop.legCount;
  }
}

void LoopAdjuster::Correct(doc::SurveyRecord& q, int number, const Loop& loop) const {
  const double sign = q.ring < 0 ? -1 : 1;
  double* c = q.work.loopCorrection;
  if (loop.startsAtReference && number == loop.firstNumber) {
    for (int i = 0; i < 6; ++i) c[i] = loop.misclosure[i];
    return;
  }
  if (loop.startsAtReference || number > loop.lastNumber || loop.totalLength <= 0) return;
  const double f = q.length / loop.totalLength * sign;
  if (loop.mode == AdjustmentMode::Linear) {
    for (int i = 0; i < 6; ++i) c[i] = f * loop.misclosure[i];
  } else if (loop.mode == AdjustmentMode::KeepVerticals) {
    double h = 0;
    if (q.work.vertical == 0) {
      // A record that was not registered (an auxiliary line) can be the only
      // non-vertical one; it then gets no horizontal share.
      h = loop.horizontalLength > 0 ? q.length / loop.horizontalLength * sign : 0;
    } else if (loop.allVertical) {
      h = f;
    }
    c[0] = h * loop.misclosure[0];
    c[1] = h * loop.misclosure[1];
    c[2] = f * loop.misclosure[2];
    c[3] = h * loop.misclosure[3];
    c[4] = f * loop.misclosure[4];
    c[5] = h * loop.misclosure[5];
  }
}

const Loop* LoopAdjuster::LoopOf(int ring) const {
  const auto it = m_byNumber.find(LoopNumber(ring));
  return it == m_byNumber.end() ? nullptr : &m_loops[it->second];
}

ClosureOutcome LoopAdjuster::Close(Records& records, size_t position, const double misclosure[6],
                                   const std::vector<size_t>* members) {
  doc::SurveyRecord& r = *records[position];
  Loop& loop = Find(r.ring);
  ClosureOutcome outcome;
  if (loop.firstNumber == 0 || loop.closed) return outcome;
  const double s = r.ring < 0 ? -1 : 1;
  for (int i = 0; i < 6; ++i) loop.misclosure[i] = s * misclosure[i];
  const double* m = loop.misclosure;
  const double d = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);

  LoopResult result;
  result.recordNumber = static_cast<int32_t>(position + 1);
  result.loopNumber = loop.number;
  result.legCount = loop.legCount;
  result.length = loop.totalLength;
  result.misclosure = d;
  result.percent = loop.totalLength != 0 ? d / loop.totalLength * 100 : 0;
  result.dX = m[0], result.dY = m[1], result.dZ = m[2];
  FillStations(result, r);
  if (loop.startsAtReference) {
    result.kind = 3;
    result.legCount = 0;
    result.length = 0;
    result.percent = 0;
  }
  outcome.result = result;

  loop.closingNumber = result.recordNumber;
  loop.closed = true;
  const auto number = loop.number;
  if (members) {
    for (const size_t member : *members) {
      const auto n = member + 1;
      if (n < static_cast<size_t>(loop.firstNumber) || n > static_cast<size_t>(loop.lastNumber)) continue;
      doc::SurveyRecord& q = *records[member];
      if (LoopNumber(q.ring) == number) Correct(q, static_cast<int>(n), loop);
    }
    outcome.restartPosition = static_cast<size_t>(loop.firstNumber - 1);
    return outcome;
  }
  for (auto n = static_cast<size_t>(loop.firstNumber); n <= static_cast<size_t>(loop.lastNumber) && n <= records.size();
       ++n) {
    doc::SurveyRecord& q = *records[n - 1];
    if (LoopNumber(q.ring) == number) Correct(q, static_cast<int>(n), loop);
  }
  outcome.restartPosition = static_cast<size_t>(loop.firstNumber - 1);
  return outcome;
}

LoopResult ReportMisclosure(const doc::SurveyRecord& r, int number, const double known[3]) {
  LoopResult result;
  result.kind = 2;
  result.recordNumber = number;
  result.loopNumber = r.ring;
  result.dX = known[0] - r.x;
  result.dY = known[1] - r.y;
  result.dZ = known[2] - r.z;
  result.misclosure = std::sqrt(result.dX * result.dX + result.dY * result.dY + result.dZ * result.dZ);
  FillStations(result, r);
  return result;
}

}  // namespace hp::calc
