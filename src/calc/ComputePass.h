// The compute pass: walks the records in list order and gives each its
// station coordinates, developed-section coordinates, path length,
// cross-section and wall points, feeding the loop adjustment on the way.
// Every drawing, evaluation and export reads what this pass stores.
#pragma once

#include <unordered_set>
#include <vector>

#include "calc/LegReduction.h"
#include "calc/LoopAdjuster.h"
#include "calc/LoopRewalk.h"
#include "calc/StationIndex.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::calc {

// The pass state the survey data editor holds while it computes.
class Computation {
 public:
  // `results`, when given, collects the loop results of full passes.
  Computation(doc::SurveyStore& store, platform::Prompter& prompter, std::vector<LoopResult>* results = nullptr);

  // Computes record `first` (numbers from 1) alone, or with `all` every
  // record from it on with loop adjustment. Returns 1 when the user asked to
  // load a faulty record (it is then the current record), else 0.
  int ComputeRecords(int first, bool all);
  // The full pass from the first record; the current record stays the same
  // record unless the user asked to load a faulty one.
  int ComputeAll();

  // Editor state: the current record's number (from 1; 0 with no records).
  int currentNumber = 0;
  bool computed = false;      // a full pass ran without any message
  bool aborted = false;       // a message was answered with Cancel
  bool messageShown = false;  // a message was shown in the last pass

  const StationIndex& index() const { return m_index; }

  // Loops closing within this many records of their first one are walked
  // again in full until a longer one has appeared; after that, and for
  // longer ones, only the records a closure changes are computed again.
  size_t longLoopRecords = 256;

  // The records' loop corrections were set beforehand (by the network
  // adjustment): the pass applies them and adjusts no ring-marked loop.
  bool keepCorrections = false;

 private:
  enum class Step { Next, Restart, Stop };

  void InsertHeadReference();
  Step Visit(size_t position, int first, bool all, size_t& restart);
  // After the loop closed at `closing`: computes again, in list order, the
  // records from `start` to `closing` whose result the closure changes.
  void Recompute(size_t start, size_t closing, int first);
  // Builds the due cross-section of the record at `position`, or of all.
  void BuildDueSection(size_t position);
  void BuildDueSections();
  void ComputeSelfReference(size_t position, const LegVector& leg, bool all);
  // Shows a compute message; Stop when the user answered Yes or Cancel.
  bool Ask(const std::string& text, size_t position, int& answerResult);
  void Collect(const LoopResult& result);

  doc::SurveyStore& m_store;
  platform::Prompter& m_prompter;
  std::vector<LoopResult>* m_results;
  LoopAdjuster m_adjuster;
  StationIndex m_index;
  LoopRewalk m_rewalk;
  std::vector<size_t> m_corrected;  // records the last closure gave corrections
  bool m_junction = false;          // the last record computed took a junction with its predecessor
  int64_t m_junctionPredecessor = StationIndex::kNone;
  int m_stopResult = 0;
  std::unordered_set<std::string> m_passedOver;  // record positions and messages answered No in this pass
};

// What the compute command leaves for the windows.
struct ComputeOutcome {
  bool loadRecord = false;  // the user asked to see a faulty record
  int recordNumber = 0;     // that record (from 1)
  bool aborted = false;
};

// The compute command: clears `computedCurrent`, runs the full pass and
// stores the computed flag, the record count and the current record number
// in the document.
ComputeOutcome RunComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                 std::vector<LoopResult>* results = nullptr);

// The check before the editor saves `edited` at record number `number`
// (from 1) against the records above it; false when the user refused the
// save. A self reference takes the coordinates of its station from above.
bool CheckRecordBeforeSave(const doc::SurveyStore& store, doc::SurveyRecord& edited, int number,
                           platform::Prompter& prompter);

}  // namespace hp::calc
