// The main window's "&Rückgängig" and "&Wiederholen": the active document's
// history, the menu naming the step each would take.
#include <QAction>
#include <QMenu>

#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "doc/History.h"

namespace hp::app {
namespace {

constexpr const char* kUndo = "&Rückgängig";
constexpr const char* kRedo = "&Wiederholen";

QString StepText(const char* command, const doc::Change* step) {
  QString text = QString::fromUtf8(command);
  if (step != nullptr) text += QStringLiteral(": ") + QString::fromStdString(step->name());
  return text;
}

}  // namespace

void CMainFrame::CreateHistoryCommands(QMenu* dataMenu) {
  // Strg+Z is the worksheet's "Wiederherstellen"; the history takes the
  // keys no other command has.
  m_undoAction = AddCommand(
      dataMenu, "&Rückgängig\tAlt+Rücktaste", "Nimmt die letzte Änderung der Daten zurück.",
      [this] { WithDocument([](CPlanDoc& doc, CPlanView&) { doc.Undo(); }); },
      [this] { return activeDocument() != nullptr && activeDocument()->history().CanUndo(); });
  m_redoAction = AddCommand(
      dataMenu, "&Wiederholen\tStrg+Y", "Führt die zurückgenommene Änderung der Daten erneut aus.",
      [this] { WithDocument([](CPlanDoc& doc, CPlanView&) { doc.Redo(); }); },
      [this] { return activeDocument() != nullptr && activeDocument()->history().CanRedo(); });
}

void CMainFrame::ShowHistorySteps() {
  if (m_undoAction == nullptr) return;
  const CPlanDoc* doc = activeDocument();
  m_undoAction->setText(StepText(kUndo, doc != nullptr ? doc->history().UndoStep() : nullptr));
  m_redoAction->setText(StepText(kRedo, doc != nullptr ? doc->history().RedoStep() : nullptr));
}

}  // namespace hp::app
