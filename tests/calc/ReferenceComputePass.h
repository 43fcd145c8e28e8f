// The compute pass as it was before loop closures learned to recompute only
// what they change: every closure walks again from the loop's first record.
// The tests compare the pass against it.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "calc/ComputePass.h"
#include "calc/LegReduction.h"
#include "calc/LoopAdjuster.h"
#include "calc/StationIndex.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::calc::reference {

class ReferenceLoopAdjuster {
 public:
  using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;
  void Reset(int mode);
  int mode() const { return m_mode; }
  bool IsClosed(int ring) const;
  void Register(const Records& records, size_t position, bool selfReference);
  ClosureOutcome Close(Records& records, size_t position, const double misclosure[6]);

 private:
  Loop& Find(int ring);
  void Correct(doc::SurveyRecord& record, int number, const Loop& loop) const;

  int m_mode = 0;
  std::vector<Loop> m_loops;
  std::unordered_map<int32_t, size_t> m_byNumber;
};

class ReferenceComputation {
 public:
  ReferenceComputation(doc::SurveyStore& store, platform::Prompter& prompter,
                       std::vector<LoopResult>* results = nullptr);
  int ComputeRecords(int first, bool all);
  int ComputeAll();

  int currentNumber = 0;
  bool computed = false;
  bool aborted = false;
  bool messageShown = false;
  size_t visits = 0;  // records computed, counting every walk again

 private:
  enum class Step { Next, Restart, Stop };

  void InsertHeadReference();
  Step Visit(size_t position, int first, bool all, size_t& restart);
  void ComputeSelfReference(size_t position, const LegVector& leg, bool all);
  bool Ask(const std::string& text, size_t position, int& answerResult);
  void Collect(const LoopResult& result);

  doc::SurveyStore& m_store;
  platform::Prompter& m_prompter;
  std::vector<LoopResult>* m_results;
  ReferenceLoopAdjuster m_adjuster;
  StationIndex m_index;
  int m_stopResult = 0;
  std::unordered_set<std::string> m_passedOver;
};

ComputeOutcome ReferenceComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                       std::vector<LoopResult>* results = nullptr);

}  // namespace hp::calc::reference
