// The undo history: its steps, the memory bound and the saved mark.
#include "doc/History.h"

#include <utility>

namespace hp::doc {

Change::Change(std::string name, const DocumentSettings& before)
    : m_name(std::move(name)), m_before(before), m_after(before) {}

void Change::Undo(SurveyStore& store) {
  UndoParts(store);
  TakeSettings(store, m_before);
  SettingsTaken(store);
  // Figures derived from the last compute pass belong to other records now.
  if (ChangesRecords()) ++store.computeGeneration;
}

void Change::Redo(SurveyStore& store) {
  RedoParts(store);
  TakeSettings(store, m_after);
  SettingsTaken(store);
  if (ChangesRecords()) ++store.computeGeneration;
}

void Change::TakeSettings(SurveyStore& store, const DocumentSettings& settings) const {
  const DocumentSettings now = store.settings;
  store.settings = settings;
  // The settings that follow the records or the worksheets stay as the
  // document has them when the step left those alone: a compute pass, the
  // record or the worksheet chosen since are no part of the step.
  if (!ChangesRecords()) {
    store.settings.recordCount = now.recordCount;
    store.settings.currentRecordNumber = now.currentRecordNumber;
    store.settings.computedCurrent = now.computedCurrent;
  }
  if (!ChangesWorksheets()) {
    store.settings.worksheetCount = now.worksheetCount;
    store.settings.currentWorksheetIndex = now.currentWorksheetIndex;
  }
}

void History::Push(std::unique_ptr<Change> change) {
  if (m_saved != kNoState && m_saved > m_done) m_saved = kNoState;  // the saved state was undone and is left
  while (m_steps.size() > m_done) {
    m_bytes -= m_steps.back()->Bytes();
    m_steps.pop_back();
  }
  m_bytes += change->Bytes();
  m_steps.push_back(std::move(change));
  ++m_done;
  ++m_taken;
  while (m_bytes > m_limit && m_steps.size() > 1) {
    m_bytes -= m_steps.front()->Bytes();
    m_steps.pop_front();
    --m_done;
    if (m_saved != kNoState) m_saved = m_saved == 0 ? kNoState : m_saved - 1;
  }
}

void History::Clear() {
  m_steps.clear();
  m_done = 0;
  m_saved = 0;
  m_bytes = 0;
}

const Change* History::Undo(SurveyStore& store) {
  if (!CanUndo()) return nullptr;
  Change& step = *m_steps[--m_done];
  step.Undo(store);
  return &step;
}

const Change* History::Redo(SurveyStore& store) {
  if (!CanRedo()) return nullptr;
  Change& step = *m_steps[m_done++];
  step.Redo(store);
  return &step;
}

}  // namespace hp::doc
