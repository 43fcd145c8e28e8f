// Loop closure: during a full compute pass the legs of each loop (records
// with a common ring number) are gathered, the misclosure at the loop's
// closing record is measured and, by the document's adjustment mode, spread
// over the loop's legs in proportion to their lengths.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "doc/SurveyRecord.h"

namespace hp::calc {

// One row of the loop closure evaluation.
struct LoopResult {
  int32_t valid = 1;
  int32_t kind = 0;  // 0 adjusted loop, 2 reported only, 3 loop starting at a variable reference
  int32_t recordNumber = 0;
  int32_t loopNumber = 0;
  int32_t legCount = 0;
  double length = 0;
  double misclosure = 0;
  double percent = 0;
  double dX = 0, dY = 0, dZ = 0;
  int32_t refCave = 0, refPassage = 0;
  int32_t cave = 0, passage = 0;
  char refPoint[13] = {};
  char point[13] = {};
};

// How a closed loop's misclosure is spread over its legs. The document
// stores the number; another number than these closes loops without
// correcting their legs, and is kept as it is.
enum class AdjustmentMode : int32_t {
  None = 0,
  Linear = 1,         // by length share
  KeepVerticals = 2,  // linear, the horizontal part only on non-vertical legs
};
constexpr AdjustmentMode AdjustmentModeOf(int value) { return static_cast<AdjustmentMode>(value); }

struct Loop {
  AdjustmentMode mode = AdjustmentMode::Linear;
  int32_t number = 0;
  int32_t legCount = 0;
  double totalLength = 0;
  double horizontalLength = 0;
  double misclosure[6] = {};  // X, Y, Z, section distance, height, third
  int32_t firstNumber = 0;    // record numbers from 1; 0 unset
  int32_t lastNumber = 0;
  int32_t closingNumber = 0;
  bool closed = false;
  bool startsAtReference = false;
  bool allVertical = true;
};

// The result of reporting or closing a loop at a record, and where the walk
// goes on.
struct ClosureOutcome {
  std::optional<LoopResult> result;
  std::optional<size_t> restartPosition;  // list position from 0
};

class LoopAdjuster {
 public:
  using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;

  // Discards every loop and takes the mode for the next pass.
  void Reset(AdjustmentMode mode);
  AdjustmentMode mode() const { return m_mode; }
  bool adjusts() const { return m_mode != AdjustmentMode::None; }

  bool IsClosed(int ring) const;
  // Adds the record at `position` to its loop.
  void Register(const Records& records, size_t position, bool selfReference);
  // Closes the loop of the closing record at `position` with the misclosure
  // (known end minus computed end, then the section triple), gives each of
  // its legs its corrections and tells where the pass continues.
  // With `members`, the list positions (ascending) of the records that carry
  // the loop's number from its first to its last leg, only those are looked
  // at; without, the records between the two.
  ClosureOutcome Close(Records& records, size_t position, const double misclosure[6],
                       const std::vector<size_t>* members = nullptr);
  // The loop of `ring`, or null when none was begun.
  const Loop* LoopOf(int ring) const;

  const std::vector<Loop>& loops() const { return m_loops; }

 private:
  Loop& Find(int ring);
  void Correct(doc::SurveyRecord& record, int number, const Loop& loop) const;

  AdjustmentMode m_mode = AdjustmentMode::None;
  std::vector<Loop> m_loops;
  std::unordered_map<int32_t, size_t> m_byNumber;
};

// The result of a record's loop closure without adjustment.
LoopResult ReportMisclosure(const doc::SurveyRecord& record, int number, const double known[3]);

}  // namespace hp::calc
