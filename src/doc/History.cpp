// The undo history: its steps, the memory bound and the saved mark.
#include "doc/History.h"

#include <utility>

namespace hp::doc {

Change::Change(std::string name, const DocumentSettings& before)
    : m_name(std::move(name)), m_before(before), m_after(before) {}

void Change::Undo(SurveyStore& store) {
  UndoParts(store);
  store.settings = m_before;
}

void Change::Redo(SurveyStore& store) {
  RedoParts(store);
  store.settings = m_after;
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
