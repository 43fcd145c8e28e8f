// The compute pass over the record list.
#include "calc/ComputePass.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "base/FixedText.h"
#include "calc/ComputeMessages.h"
#include "calc/CrossSection.h"
#include "calc/LegReduction.h"
#include "doc/Station.h"

namespace hp::calc {

using doc::SurveyRecord;

Computation::Computation(doc::SurveyStore& store, platform::Prompter& prompter, std::vector<LoopResult>* results)
    : m_store(store), m_prompter(prompter), m_results(results) {
  currentNumber = static_cast<int>(store.settings.currentRecordNumber);
}

void Computation::InsertHeadReference() {
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

void Computation::Collect(const LoopResult& result) {
  if (m_results) m_results->push_back(result);
}

bool Computation::Ask(const std::string& text, size_t position, int& stopResult) {
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

namespace {

// Records visited in list order are fetched this many records ahead: on
// large surveys they come from main memory, and the visit would otherwise
// wait for each of them.
constexpr size_t kFetchAhead = 24;

// Asks for the cache lines of a record that the pass reads and writes.
void FetchRecord(const SurveyRecord& r) {
  const auto* bytes = reinterpret_cast<const char*>(&r);
  for (const size_t offset :
       {offsetof(SurveyRecord, refX), offsetof(SurveyRecord, azimuth), offsetof(SurveyRecord, direction),
        offsetof(SurveyRecord, left), offsetof(SurveyRecord, point), offsetof(SurveyRecord, crossSection),
        offsetof(SurveyRecord, crossSection) + offsetof(doc::CrossSection, developedElevation),
        offsetof(SurveyRecord, altCoords), offsetof(SurveyRecord, work)}) {
    __builtin_prefetch(bytes + offset, 1);
  }
}

}  // namespace

int Computation::ComputeRecords(int first, bool all) {
  ++m_store.computeGeneration;
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
    if (!keepCorrections) {
      for (double& c : records[n - 1]->work.loopCorrection) c = 0;
    }
  }
  m_adjuster.Reset(keepCorrections ? AdjustmentMode::None : AdjustmentModeOf(m_store.settings.loopAdjustment));
  m_index.Start(records);
  const bool adjusting = all && m_adjuster.adjusts();
  if (adjusting) m_rewalk.Start(records.size(), m_index);

  size_t position = static_cast<size_t>(first) - 1;
  while (position < records.size() && position < last) {
    if (position + kFetchAhead < records.size()) FetchRecord(*records[position + kFetchAhead]);
    m_index.Extend(position);  // each record is indexed just before its first visit
    if (m_rewalk.linked()) m_rewalk.Link(records, m_index, position);
    size_t restart = 0;
    m_junction = false;
    const Step step = Visit(position, first, all, restart);
    if (adjusting) {
      m_rewalk.NoteVisit(position, m_junctionPredecessor, m_junction);
      m_rewalk.NoteBuilt(position, m_junction);
    }
    switch (step) {
      case Step::Next: ++position; break;
      case Step::Restart:
        if (m_rewalk.linked()) {
          Recompute(restart, position, first);
          ++position;
        } else {
          position = restart;  // a short loop: walking it again is cheapest
        }
        break;
      case Step::Stop: BuildDueSections(); return m_stopResult;
    }
  }
  if (adjusting) BuildDueSections();
  if (all && !messageShown) {
    computed = true;
    m_store.legacyConversion = false;
  }
  return 0;
}

void Computation::ComputeSelfReference(size_t position, const LegVector& leg, bool all) {
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
  if (m_adjuster.adjusts() && all && r.ring != 0 && !m_adjuster.IsClosed(r.ring)) {
    m_adjuster.Register(records, position, true);
  }
}

Computation::Step Computation::Visit(size_t position, int first, bool all, size_t& restart) {
  auto& records = m_store.records;
  SurveyRecord& r = *records[position];
  const int number = static_cast<int>(position + 1);
  // A record naming neither station (a new document's default record) has
  // nothing to compute from and defines nothing: it is left as it stands.
  if (r.refPoint[0] == 0 && r.point[0] == 0) return Step::Next;
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
      m_junction = true;
      m_junctionPredecessor = p;
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

  const bool adjusting = m_adjuster.adjusts() && all && r.ring != 0;
  if (adjusting && r.point[0] != 0 && !m_adjuster.IsClosed(r.ring)) m_adjuster.Register(records, position, false);
  if (!closing || !all || r.ring == 0) return Step::Next;
  if (!m_adjuster.adjusts()) {
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
  // The first loop spanning many records starts the bookkeeping that lets
  // the pass compute only what a closure changes; from then on only the
  // records carrying the loop's number are looked at for corrections.
  m_corrected.clear();
  const std::vector<size_t>* members = nullptr;
  if (const Loop* loop = m_adjuster.LoopOf(r.ring);
      loop && loop->firstNumber > 0 &&
      (m_rewalk.linked() || position + 1 - static_cast<size_t>(loop->firstNumber) >= longLoopRecords)) {
    m_rewalk.Link(records, m_index, position);
    m_corrected = m_rewalk.RingMembers(loop->number, static_cast<size_t>(loop->firstNumber) - 1,
                                       static_cast<size_t>(loop->lastNumber) - 1);
    members = &m_corrected;
  }
  const ClosureOutcome outcome = m_adjuster.Close(records, position, misclosure, members);
  if (outcome.result) Collect(*outcome.result);
  if (!outcome.restartPosition) return Step::Next;
  restart = *outcome.restartPosition;
  return Step::Restart;
}

namespace {

// What a record's computation may change that other records read: its
// station for the records continuing from it or ending on it, and what the
// junction with its first successor writes into it.
struct Computed {
  double station[7];  // x, y, z, station section triple, path length
  double legOrientation[2];
  double length;
  double junctionEnd[2];  // end azimuth and elevation
  double developedElevation;
  int32_t endCap;
  double walls[12];

  explicit Computed(const SurveyRecord& r)
      : station{r.x, r.y, r.z, r.developed.to.distance, r.developed.to.height, r.developed.to.across, r.pathLength},
        legOrientation{r.crossSection.leg.azimuth, r.crossSection.leg.elevation},
        length(r.length), junctionEnd{r.crossSection.end.azimuth, r.crossSection.end.elevation},
        developedElevation(r.crossSection.developedElevation), endCap(r.drawFlags[1]) {
    std::memcpy(walls, r.altCoords, sizeof walls);
  }
  // Bit for bit: a zero of another sign changes later results.
  bool SameStation(const Computed& other) const { return std::memcmp(station, other.station, sizeof station) == 0; }
  bool SameJunctionInput(const Computed& other) const {
    return SameStation(other) && std::memcmp(legOrientation, other.legOrientation, sizeof legOrientation) == 0 &&
           std::memcmp(&length, &other.length, sizeof length) == 0;
  }
  // Puts back what the junction with the first successor had written.
  void RestoreJunction(SurveyRecord& r) const {
    r.crossSection.end = {junctionEnd[0], junctionEnd[1]};
    r.crossSection.developedElevation = developedElevation;
    r.drawFlags[1] = endCap;
    std::memcpy(r.altCoords, walls, sizeof walls);
    r.work.successor = 1;
  }
};

}  // namespace

// Walking again from the loop's first record would compute every record up
// to the closing one once more; here only those whose result can differ are
// computed, in the same order and with the same cross-section decisions.
void Computation::Recompute(size_t start, size_t closing, int first) {
  auto& records = m_store.records;
  // A record that now carries a correction without a station to take its
  // coordinates from moves again each time it is computed.
  for (const size_t position : m_corrected) {
    const SurveyRecord& q = *records[position];
    const double* c = q.work.loopCorrection;
    if (doc::IsSelfReference(q) && (c[0] != 0 || c[1] != 0 || c[2] != 0)) m_rewalk.MarkVolatile(position);
  }
  m_rewalk.BeginStretch(start, closing, m_corrected, m_store.legacyConversion);
  const SectionLimits limits{m_store.settings.crossSectionVerticalLimit, m_store.settings.crossSectionAcuteLimit};
  size_t position = 0;
  bool full = true;
  while (m_rewalk.Next(position, full)) {
    SurveyRecord& r = *records[position];
    // The predecessor computed again has lost its successor, so its first
    // successor takes the junction; one above the stretch keeps it.
    const uint32_t p = m_rewalk.Predecessor(position);
    const bool junction = p != LoopRewalk::kNone && p >= start && m_rewalk.FirstSuccessor(p) == position;
    const uint32_t successor = m_rewalk.FirstSuccessor(position);
    // A junction that is due and now gives way to a single-station section
    // is built first: it leaves its mark in the predecessor.
    if (m_rewalk.Pending(position)) {
      if (!junction && m_rewalk.JunctionOf(position) != LoopRewalk::kNone && !m_rewalk.Standing(position)) {
        BuildDueSection(position);
      }
      m_rewalk.SetPending(position, false);
    }
    if (!full && p != LoopRewalk::kNone && successor != LoopRewalk::kNone && successor <= closing) {
      // Only the cross-section at the start of the leg changes, and its
      // successor's junction writes the rest again: only the last one
      // counts, so it is built once, when the pass ends. The predecessor
      // still has its successor unless it was computed again in this
      // stretch: most lie far apart in memory, so they are left untouched.
      if (m_rewalk.WasReset(p)) records[p]->work.successor = 1;
      m_rewalk.SetPending(position, true);
      m_rewalk.NoteVisit(position, p, junction);
      continue;
    }
    if (p != LoopRewalk::kNone) records[p]->work.successor = junction ? 0 : 1;
    m_rewalk.NoteReset(position);
    const Computed before(r);
    m_junction = false;
    if (full || p == LoopRewalk::kNone) {
      size_t unused = 0;
      Visit(position, first, true, unused);
    } else {
      // Nothing it reads has changed: what computing it again changes is its
      // cross-section, built as the walk would build it.
      r.work.successor = 0;
      r.drawFlags[0] = r.drawFlags[1] = 1;
      if (junction) {
        JunctionSection(*records[p], r, limits);
        m_junction = true;
        m_junctionPredecessor = p;
      } else {
        SingleStationSection(r, limits, true);
      }
    }
    m_rewalk.NoteVisit(position, m_junctionPredecessor, m_junction);
    m_rewalk.NoteBuilt(position, m_junction);
    const Computed after(r);
    const bool moved = !before.SameStation(after);
    if (moved) m_rewalk.MarkReaders(position);
    if (successor == LoopRewalk::kNone || successor > closing) continue;
    if (!before.SameJunctionInput(after)) {
      m_rewalk.MarkSection(successor);
      m_rewalk.NoteStale(successor);
    } else {
      before.RestoreJunction(r);
    }
  }
}

void Computation::BuildDueSection(size_t position) {
  auto& records = m_store.records;
  SurveyRecord& r = *records[position];
  const SectionLimits limits{m_store.settings.crossSectionVerticalLimit, m_store.settings.crossSectionAcuteLimit};
  const Computed before(r);
  r.drawFlags[0] = r.drawFlags[1] = 1;
  const uint32_t p = m_rewalk.JunctionOf(position);
  if (p != LoopRewalk::kNone) {
    JunctionSection(*records[p], r, limits);
  } else {
    SingleStationSection(r, limits, true);
  }
  before.RestoreJunction(r);
  m_rewalk.NoteBuilt(position, p != LoopRewalk::kNone);
}

void Computation::BuildDueSections() {
  if (!m_rewalk.linked()) return;
  for (uint32_t position = m_rewalk.NextPending(0); position != LoopRewalk::kNone;
       position = m_rewalk.NextPending(position + 1)) {
    if (!m_rewalk.Standing(position)) BuildDueSection(position);
    m_rewalk.SetPending(position, false);
  }
}

int Computation::ComputeAll() {
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

ComputeOutcome RunComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                 std::vector<LoopResult>* results) {
  store.settings.computedCurrent = 0;
  Computation computation(store, prompter, results);
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

bool CheckRecordBeforeSave(const doc::SurveyStore& store, SurveyRecord& edited, int number,
                           platform::Prompter& prompter) {
  const auto& records = store.records;
  const size_t above = std::min(records.size(), static_cast<size_t>(std::max(number - 1, 0)));
  const doc::StationId station = doc::StationOf(edited), reference = doc::RefStationOf(edited);
  if (doc::IsSelfReference(edited)) {
    for (size_t i = 0; i < above; ++i) {
      const SurveyRecord& r = *records[i];
      if (!doc::SameStation(doc::StationOf(r), station)) continue;
      edited.refX = edited.x = r.x;
      edited.refY = edited.y = r.y;
      edited.refZ = edited.z = r.z;
    }
    return true;
  }
  bool doubled = false, referenceKnown = false;
  for (size_t i = 0; i < above; ++i) {
    const SurveyRecord& r = *records[i];
    if (doc::SameStation(doc::StationOf(r), reference)) referenceKnown = true;
    if (doc::SameStation(doc::StationOf(r), station) && doc::SameStation(doc::RefStationOf(r), reference)) {
      doubled = true;
      if (prompter.AskOkCancel(DoubleLegBeforeSaveMessage(edited, static_cast<int>(i + 1)),
                               platform::Icon::Exclamation) == platform::Answer::Cancel) {
        return false;
      }
    }
  }
  if (!referenceKnown && !doubled &&
      prompter.AskOkCancel(UndefinedReferenceBeforeSaveMessage(edited), platform::Icon::Exclamation) ==
          platform::Answer::Cancel) {
    return false;
  }
  return true;
}

}  // namespace hp::calc
