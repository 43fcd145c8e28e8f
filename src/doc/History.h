// The undo history of one document: the steps that changed its records,
// document settings or worksheets, each able to take its change back and to
// make it again exactly, bounded by the memory the steps hold, with the mark
// of the state last saved.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "doc/SurveyStore.h"

namespace hp::doc {

// One step of the history. It holds the document settings before and after
// it; what else it changed, its kind keeps.
class Change {
 public:
  Change(std::string name, const DocumentSettings& before);
  virtual ~Change() = default;
  Change(const Change&) = delete;
  Change& operator=(const Change&) = delete;

  // The step as the user knows it (UTF-8), e.g. "Datensatz 27 ändern".
  const std::string& name() const { return m_name; }
  // The settings the step leaves are the store's settings now (a command
  // that goes on changing them after the step was taken, such as the
  // editor's closing compute pass, calls it again).
  void TakeSettingsAfter(const DocumentSettings& after) { m_after = after; }

  // The computed values of the records are to be computed again after the
  // step is undone or redone: the step keeps what was entered (a record
  // splice) or settings a compute pass follows, not every computed value.
  bool ComputeDue() const { return m_computeDue; }
  void SetComputeDue() { m_computeDue = true; }

  void Undo(SurveyStore& store);
  void Redo(SurveyStore& store);

  // Memory the step holds, in bytes.
  virtual std::size_t Bytes() const = 0;
  // Whether the step changed records (computed values are then due) or the
  // worksheet list or a worksheet.
  virtual bool ChangesRecords() const = 0;
  virtual bool ChangesWorksheets() const = 0;

 protected:
  virtual void UndoParts(SurveyStore& store) = 0;
  virtual void RedoParts(SurveyStore& store) = 0;
  // After the settings were taken back or made again.
  virtual void SettingsTaken(SurveyStore& /*store*/) {}

 private:
  void TakeSettings(SurveyStore& store, const DocumentSettings& settings) const;

  std::string m_name;
  DocumentSettings m_before, m_after;
  bool m_computeDue = false;
};

class History {
 public:
  static constexpr std::size_t kDefaultLimit = std::size_t{256} << 20;
  explicit History(std::size_t limit = kDefaultLimit) : m_limit(limit) {}

  // Takes a step that has been carried out. The steps undone before are
  // gone; then the oldest go while the history holds more memory than its
  // limit (the newest always stays).
  void Push(std::unique_ptr<Change> change);
  // Forgets every step (a document opened or made anew); that state counts
  // as saved.
  void Clear();

  bool CanUndo() const { return m_done > 0; }
  bool CanRedo() const { return m_done < m_steps.size(); }
  // The step that Undo or Redo would take; null when there is none.
  const Change* UndoStep() const { return CanUndo() ? m_steps[m_done - 1].get() : nullptr; }
  const Change* RedoStep() const { return CanRedo() ? m_steps[m_done].get() : nullptr; }
  // The step done last (null when none): a command may still add the
  // settings it leaves.
  Change* Top() { return CanUndo() ? m_steps[m_done - 1].get() : nullptr; }
  // Take back / make again one step; the step, or null when there was none.
  const Change* Undo(SurveyStore& store);
  const Change* Redo(SurveyStore& store);

  // The document was saved in the state it has now.
  void MarkSaved() { m_saved = m_done; }
  // Whether the document is in the state last saved (false once that state
  // was dropped from the history).
  bool AtSaved() const { return m_saved == m_done; }

  std::size_t count() const { return m_steps.size(); }
  // Steps taken so far, however many were dropped or undone since: a
  // command compares it to tell whether it took one.
  std::size_t taken() const { return m_taken; }
  std::size_t bytes() const { return m_bytes; }

 private:
  static constexpr std::size_t kNoState = static_cast<std::size_t>(-1);

  std::deque<std::unique_ptr<Change>> m_steps;
  std::size_t m_done = 0;   // steps done; those after it were undone
  std::size_t m_saved = 0;  // steps done at the saved state, or kNoState
  std::size_t m_bytes = 0;
  std::size_t m_limit;
  std::size_t m_taken = 0;
};

}  // namespace hp::doc
