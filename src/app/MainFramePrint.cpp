// The main window's printing commands: "Seite &einrichten...", "&Drucken...",
// "Sei&tenvorschau" in the file menu, "&Teilblätter..." in the worksheet
// menu, the print area and "&Zwischenablage" in the view menu.
#include <QMenu>

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/PrintCommands.h"
#include "draw/pages/Printing.h"

namespace hp::app {

void CMainFrame::AddPrintCommands(QMenu* file) {
  namespace t = draw::print;
  const auto hasDocument = [this] { return activeDocument() != nullptr; };
  const auto command = [this](QMenu* menu, std::string_view text, const char* status,
                              std::function<void(CPlanDoc&, CPlanView&)> run, std::function<bool()> enabled) {
    return AddCommand(
        menu, std::string(text).c_str(), status, [this, run = std::move(run)] { WithDocument(run); },
        std::move(enabled));
  };

  // Above the recent files, in a group of their own.
  QAction* before = m_recentMenu->menuAction();
  for (QAction* action : file->actions()) {
    if (action->isSeparator()) {
      const auto actions = file->actions();
      const qsizetype at = actions.indexOf(action);
      if (at + 1 < actions.size() && actions[at + 1] == m_recentMenu->menuAction()) before = action;
    }
  }
  std::vector<QAction*> fileCommands;
  fileCommands.push_back(command(
      file, t::kPageSetup, "Legt Maßstab, Ränder und Format der gedruckten Seiten fest.",
      [this](CPlanDoc& doc, CPlanView& view) { RunPageSetupDialog(this, doc, view); }, hasDocument));
  fileCommands.push_back(command(
      file, t::kPrint, "Druckt das Arbeitsblatt.",
      [this](CPlanDoc& doc, CPlanView& view) { RunPrintCommand(this, doc, view); }, hasDocument));
  fileCommands.push_back(command(
      file, t::kPreview, "Zeigt die gedruckten Seiten an.",
      [this](CPlanDoc& doc, CPlanView& view) { RunPreviewCommand(this, doc, view); }, hasDocument));
  for (QAction* action : fileCommands) {
    file->removeAction(action);
    file->insertAction(before, action);
  }
  file->insertSeparator(fileCommands.front());

  m_worksheetMenu->addSeparator();
  command(
      m_worksheetMenu, t::kSubSheets, "Legt Übersicht, Teilblätter, Raster und Hintergrundkarte fest.",
      [this](CPlanDoc& doc, CPlanView& view) { RunSubSheetDialog(this, doc, view); }, hasDocument);

  m_viewMenu->addSeparator();
  command(
      m_viewMenu, t::kSelectPrintArea, "Nimmt das gezeigte Teilblatt in den Druckbereich auf oder heraus.",
      [](CPlanDoc& doc, CPlanView&) { RunSelectPrintArea(doc); },
      [this] {
        const CPlanDoc* doc = activeDocument();
        return doc != nullptr && draw::IsSelectPrintAreaEnabled(*doc->store().currentWorksheet);
      });
  command(
      m_viewMenu, t::kClearPrintArea, "Löscht den Druckbereich.",
      [](CPlanDoc& doc, CPlanView&) { RunClearPrintArea(doc); },
      [this] {
        const CPlanDoc* doc = activeDocument();
        return doc != nullptr && draw::IsClearPrintAreaEnabled(*doc->store().currentWorksheet);
      });
  command(
      m_viewMenu, t::kClipboard, "Kopiert die Grafik in die Zwischenablage.",
      [](CPlanDoc&, CPlanView& view) { RunClipboardCommand(view); }, hasDocument);
}

}  // namespace hp::app
