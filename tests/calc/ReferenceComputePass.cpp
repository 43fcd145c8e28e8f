// A copy of the compute pass and the loop adjuster that walk again from the
// loop's first record after every closure.
#include "ReferenceComputePass.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/FixedText.h"
#include "calc/ComputeMessages.h"
#include "calc/CrossSection.h"
#include "doc/Station.h"

namespace hp::calc::reference {

using doc::SurveyRecord;

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

void ReferenceLoopAdjuster::Reset(int mode) {
  m_mode = mode;
  m_loops.clear();
  m_byNumber.clear();
}

bool ReferenceLoopAdjuster::IsClosed(int ring) const {
  const auto it = m_byNumber.find(LoopNumber(ring));
  return it != m_byNumber.end() && m_loops[it->second].closed;
}

Loop& ReferenceLoopAdjuster::Find(int ring) {
  const int32_t number = LoopNumber(ring);
  const auto [it, added] = m_byNumber.try_emplace(number, m_loops.size());
  if (added) {
    Loop loop;
    loop.mode = AdjustmentModeOf(m_mode);
    loop.number = number;
    m_loops.push_back(loop);
  }
  return m_loops[it->second];
}

void ReferenceLoopAdjuster::Register(const Records& records, size_t position, bool selfReference) {
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

void ReferenceLoopAdjuster::Correct(doc::SurveyRecord& q, int number, const Loop& loop) const {
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

ClosureOutcome ReferenceLoopAdjuster::Close(Records& records, size_t position, const double misclosure[6]) {
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
  for (auto n = static_cast<size_t>(loop.firstNumber); n <= static_cast<size_t>(loop.lastNumber) && n <= records.size();
       ++n) {
    doc::SurveyRecord& q = *records[n - 1];
    if (LoopNumber(q.ring) == number) Correct(q, static_cast<int>(n), loop);
  }
  outcome.restartPosition = static_cast<size_t>(loop.firstNumber - 1);
  return outcome;
}

ReferenceComputation::ReferenceComputation(doc::SurveyStore& store, platform::Prompter& prompter,
                                           std::vector<LoopResult>* results)
    : m_store(store), m_prompter(prompter), m_results(results) {
  currentNumber = static_cast<int>(store.settings.currentRecordNumber);
}

void ReferenceComputation::InsertHeadReference() {
  auto head = std::make_unique<SurveyRecord>(*m_store.records.front());
  SurveyRecord& h = *head;
  h.cave = h.refCave;
  h.passage = h.refPassage;
  std::memcpy(h.point, h.refPoint, sizeof h.point);
  h.refX = h.refY = h.refZ = h.x = h.y = h.z = 0;
  h.azimuth = h.inclination = h.length = h.direction = 0;
  base::SetText(h.remark, "Koordinatenreferenz");
  base::SetText(h.description, "");
  base::SetText(h.material, "");
  base::SetText(h.measures, "");
  base::SetText(h.fileUrl, "");
  base::SetText(h.includeFile, "");
  h.pathLength = h.left = h.right = h.up = h.down = h.tapeStart = h.tapeEnd = 0;
  h.calculator = doc::CalculatorState{};
  // The inserted reference starts the developed section at zero.
  h.developed = doc::DevelopedSection{};
  m_store.records.insert(m_store.records.begin(), std::move(head));
  ++currentNumber;
  m_store.settings.recordCount = static_cast<uint32_t>(m_store.records.size());
  ++m_store.settings.currentRecordNumber;
}

void ReferenceComputation::Collect(const LoopResult& result) {
  if (m_results) m_results->push_back(result);
}

bool ReferenceComputation::Ask(const std::string& text, size_t position, int& stopResult) {
  messageShown = true;
  // A loop closure restarts the pass at the loop's start, so a faulty record
  // inside the loop is met again: the user already chose to go on past it.
  const std::string key = std::to_string(position) + '\n' + text;
  if (m_passedOver.count(key) != 0) return false;
  switch (m_prompter.AskYesNoCancel(text, platform::Icon::Exclamation)) {
    case platform::Answer::Yes:
      currentNumber = static_cast<int>(position + 1);
      stopResult = 1;
      return true;
    case platform::Answer::Cancel:
      aborted = true;
      stopResult = 0;
      return true;
    default: m_passedOver.insert(key); return false;
  }
}

int ReferenceComputation::ComputeRecords(int first, bool all) {
  auto& records = m_store.records;
  // A first record without a named reference station (a new document's
  // default record) would get a head reference that defines no station
  // either, and every pass would add another one.
  if (!records.empty() && !doc::IsSelfReference(*records.front()) && records.front()->refPoint[0] != 0) {
    InsertHeadReference();
    ++first;
  }
  messageShown = false;
  m_passedOver.clear();
  if (records.empty() || first < 1) return 0;
  const size_t last = all ? records.size() : static_cast<size_t>(first);
  for (size_t n = static_cast<size_t>(first); n <= last && n <= records.size(); ++n) {
    records[n - 1]->work.vertical = 0;
    for (double& c : records[n - 1]->work.loopCorrection) c = 0;
  }
  m_adjuster.Reset(m_store.settings.loopAdjustment);
  m_index.Start(records);

  size_t position = static_cast<size_t>(first) - 1;
  while (position < records.size() && position < last) {
    m_index.Extend(position);  // each record is indexed just before its first visit
    size_t restart = 0;
    ++visits;
    switch (Visit(position, first, all, restart)) {
      case Step::Next: ++position; break;
      case Step::Restart: position = restart; break;
      case Step::Stop: return m_stopResult;
    }
  }
  if (all && !messageShown) {
    computed = true;
    m_store.legacyConversion = false;
  }
  return 0;
}

void ReferenceComputation::ComputeSelfReference(size_t position, const LegVector& leg, bool all) {
  auto& records = m_store.records;
  SurveyRecord& r = *records[position];
  if (const int64_t previous = m_index.PreviousSame(position); previous != StationIndex::kNone) {
    const SurveyRecord& p = *records[static_cast<size_t>(previous)];
    r.refX = r.x = p.x;
    r.refY = r.y = p.y;
    r.refZ = r.z = p.z;
    r.developed.from = r.developed.to = p.developed.to;
  }
  if (m_store.legacyConversion) r.length = std::sqrt(r.refX * r.refX + r.refY * r.refY);
  const double* c = r.work.loopCorrection;
  r.refX += c[0];
  r.refY += c[1];
  r.refZ += c[2];
  r.x = r.refX, r.y = r.refY, r.z = r.refZ;
  r.developed.from = r.developed.to = {r.direction * r.length + c[3], r.refZ, 0};
  SetLegOrientation(r, leg);
  SingleStationSection(r, {m_store.settings.crossSectionVerticalLimit, m_store.settings.crossSectionAcuteLimit}, false);
  if (m_adjuster.mode() != 0 && all && r.ring != 0 && !m_adjuster.IsClosed(r.ring)) {
    m_adjuster.Register(records, position, true);
  }
}

ReferenceComputation::Step ReferenceComputation::Visit(size_t position, int first, bool all, size_t& restart) {
  auto& records = m_store.records;
  SurveyRecord& r = *records[position];
  const int number = static_cast<int>(position + 1);
  const SectionLimits limits{m_store.settings.crossSectionVerticalLimit, m_store.settings.crossSectionAcuteLimit};
  r.work.successor = 0;
  const LegVector leg = ReduceLeg(r, m_store.settings);
  if (doc::IsSelfReference(r)) {
    ComputeSelfReference(position, leg, all);
    return Step::Next;
  }

  // The predecessor P defines the reference station, the known end K the
  // station; only records above this one count.
  const int64_t p = m_index.PredecessorOf(position);
  const int64_t k = m_index.KnownEndOf(position);
  const bool hasP = p != StationIndex::kNone, hasK = k != StationIndex::kNone;
  bool doubled = false;
  if (hasK && doc::SameStation(doc::RefStationOf(*records[static_cast<size_t>(k)]), doc::RefStationOf(r))) {
    doubled = true;
    if (number > first && Ask(DoubleLegMessage(number, r, static_cast<int>(k + 1)), position, m_stopResult)) {
      return Step::Stop;
    }
  }
  if (!hasP && !doubled && (number > first || all) &&
      Ask(UndefinedReferenceMessage(number, r), position, m_stopResult)) {
    return Step::Stop;
  }

  double F[3] = {}, FW = 0, E[3] = {};
  doc::SectionPoint FS, ES;
  SurveyRecord* pred = hasP ? records[static_cast<size_t>(p)].get() : nullptr;
  if (pred) {
    F[0] = pred->x, F[1] = pred->y, F[2] = pred->z;
    FS = pred->developed.to;
    FW = pred->pathLength;
  }
  if (hasK) {
    const SurveyRecord& known = *records[static_cast<size_t>(k)];
    E[0] = known.x, E[1] = known.y, E[2] = known.z;
    ES = known.developed.to;
  }
  const auto section = [&](SurveyRecord& rec) {
    if (pred && pred->work.successor == 0) {
      JunctionSection(*pred, rec, limits);
    } else {
      SingleStationSection(rec, limits, true);
    }
  };

  if (hasP && hasK && r.ring == 0) {  // a connection between two known stations
    r.refX = F[0], r.refY = F[1], r.refZ = F[2];
    r.x = E[0], r.y = E[1], r.z = E[2];
    r.developed = {FS, ES};
    SetLegOrientation(r, leg);
    section(r);
    return Step::Next;
  }
  if (!hasP && hasK) return Step::Next;  // nothing to compute from

  const bool closing = hasP && hasK;
  if (closing && m_store.legacyConversion) {
    r.azimuth = r.inclination = r.length = 0;
    r.instrument = 1;
  }
  const double* c = r.work.loopCorrection;
  r.refX = F[0], r.refY = F[1], r.refZ = F[2];
  r.developed.from = FS;
  if (!InstrumentIndex(r)) {
    r.x += c[0], r.y += c[1], r.z += c[2];
    const double dX = r.x - r.refX, dY = r.y - r.refY;
    r.developed.to.distance = std::sqrt(dX * dX + dY * dY) * r.direction + FS.distance + c[3];
    r.developed.to.height = (r.z - r.refZ) + FS.height + c[4];
  } else {
    const double L = leg.reducedLength;
    r.x = L * leg.sinAz * leg.cosEl + F[0] + c[0];
    r.y = L * leg.cosAz * leg.cosEl + F[1] + c[1];
    r.z = L * leg.sinEl + F[2] + c[2];
    r.developed.to.distance = L * r.direction * leg.cosEl + FS.distance + c[3];
    r.developed.to.height = L * leg.sinEl + FS.height + c[4];
  }
  r.developed.to.across = 0;
  r.work.vertical = IsVertical(leg, r) ? 1 : 0;
  const double dX = r.x - r.refX, dY = r.y - r.refY, dZ = r.z - r.refZ;
  r.pathLength = std::sqrt(dX * dX + dY * dY + dZ * dZ) + FW;
  SetLegOrientation(r, leg);
  section(r);

  const bool adjusting = m_adjuster.mode() != 0 && all && r.ring != 0;
  if (adjusting && r.point[0] != 0 && !m_adjuster.IsClosed(r.ring)) m_adjuster.Register(records, position, false);
  if (!closing || !all || r.ring == 0) return Step::Next;
  if (m_adjuster.mode() == 0) {
    Collect(ReportMisclosure(r, number, E));
    return Step::Next;
  }
  if (m_adjuster.IsClosed(r.ring)) return Step::Next;
  const double misclosure[6] = {E[0] - r.x,
                                E[1] - r.y,
                                E[2] - r.z,
                                ES.distance - r.developed.to.distance,
                                ES.height - r.developed.to.height,
                                ES.across - r.developed.to.across};
  const ClosureOutcome outcome = m_adjuster.Close(records, position, misclosure);
  if (outcome.result) Collect(*outcome.result);
  if (!outcome.restartPosition) return Step::Next;
  restart = *outcome.restartPosition;
  return Step::Restart;
}

int ReferenceComputation::ComputeAll() {
  auto& records = m_store.records;
  if (records.empty()) {
    computed = true;
    return 0;
  }
  // Remember the current record itself: a head reference inserted by the
  // pass moves it one number down.
  const SurveyRecord* remembered = nullptr;
  if (currentNumber >= 1 && static_cast<size_t>(currentNumber) <= records.size()) {
    remembered = records[static_cast<size_t>(currentNumber) - 1].get();
  }
  currentNumber = 1;
  const int result = ComputeRecords(1, true);
  if (result != 1) {
    currentNumber = 1;
    for (size_t i = 0; remembered && i < records.size(); ++i) {
      if (records[i].get() == remembered) currentNumber = static_cast<int>(i + 1);
    }
  }
  return result;
}

ComputeOutcome ReferenceComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                       std::vector<LoopResult>* results) {
  store.settings.computedCurrent = 0;
  ReferenceComputation computation(store, prompter, results);
  const int result = computation.ComputeAll();
  store.settings.computedCurrent = computation.computed ? 1 : 0;
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.currentRecordNumber = static_cast<uint32_t>(store.records.empty() ? 0 : computation.currentNumber);
  ComputeOutcome outcome;
  outcome.loadRecord = result == 1;
  outcome.recordNumber = computation.currentNumber;
  outcome.aborted = computation.aborted;
  return outcome;
}

}  // namespace hp::calc::reference
