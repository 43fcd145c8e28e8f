// The main window's commands of the survey protocol and the spreadsheet
// exchange, and the protocol's clipboard copy.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>

#include "app/AppContext.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProtocolClipboard.h"
#include "app/dialogs/ProtocolDialog.h"
#include "doc/DocumentChanges.h"

namespace hp::app {
namespace {

// The program's folders on this desktop: the per-user application-data
// folder is the desktop's generic data folder, made when missing.
class DesktopPaths final : public platform::Paths {
 public:
  explicit DesktopPaths(std::filesystem::path programFolder) : m_programFolder(std::move(programFolder)) {}
  std::filesystem::path ProgramFolder() const override { return m_programFolder; }
  std::filesystem::path AppDataFolder() const override {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return std::filesystem::path(folder.toStdU16String());
  }
  std::filesystem::path DocumentFolder() const override {
    return std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdU16String());
  }

 private:
  std::filesystem::path m_programFolder;
};

std::string Text(std::string_view text) { return std::string(text); }

periphery::SheetDocument SheetDocumentOf(const CPlanDoc& doc) { return {doc.path(), doc.title().toStdString()}; }

}  // namespace

bool CopyProtocolToClipboard(CPlanView& view) {
  if (view.document().worksheet().displayType() != doc::DisplayType::Protocol) return false;
  QApplication::clipboard()->setText(view.ProtocolText());
  return true;
}

void CMainFrame::CreateProtocolCommands(QMenu* viewMenu, QMenu* dataMenu) {
  const auto hasDocument = [this] { return activeDocument() != nullptr; };
  AddCommand(
      viewMenu, Text(draw::protocol_dialog_texts::kCommand).c_str(), "Legt den Inhalt des Vermessungsprotokolls fest.",
      [this] { WithDocument([this](CPlanDoc& doc, CPlanView&) { RunProtocolDialog(this, doc); }); }, hasDocument);

  dataMenu->addSeparator();
  AddCommand(
      dataMenu, Text(periphery::texts::kEditCommand).c_str(), Text(periphery::texts::kEditStatus).c_str(),
      [this] {
        WithDocument([](CPlanDoc& doc, CPlanView&) {
          QApplication::setOverrideCursor(Qt::WaitCursor);
          AppContext& app = doc.app();
          const DesktopPaths paths(app.programFolder);
          doc.spreadsheetExchange().Edit(doc.store(), SheetDocumentOf(doc), app.settings, paths, app.shell,
                                         app.prompter);
          QApplication::restoreOverrideCursor();
        });
      },
      hasDocument);
  AddCommand(
      dataMenu, Text(periphery::texts::kLoadCommand).c_str(), Text(periphery::texts::kLoadStatus).c_str(),
      [this] {
        WithDocumentKept([](CPlanDoc& doc, CPlanView& v) {
          const DesktopPaths paths(doc.app().programFolder);
          QApplication::setOverrideCursor(Qt::WaitCursor);
          periphery::ExchangeResult result = periphery::ExchangeResult::Loaded;
          doc.Recorded(doc::steps::kLoadSpreadsheet, doc::DocumentCapture::kRecords, [&] {
            result = doc.spreadsheetExchange().Load(doc.store(), SheetDocumentOf(doc), doc.folder(), doc.app().settings,
                                                    paths, doc.app().prompter);
            if (result == periphery::ExchangeResult::Loaded) doc.setModified();
          });
          QApplication::restoreOverrideCursor();
          if (result != periphery::ExchangeResult::Loaded) return;
          v.ResetBackgroundMap();
          doc.UpdateAllViews();
          doc.RecordsReplaced();
          const calc::ComputeOutcome& outcome = doc.spreadsheetExchange().outcome();
          if (outcome.loadRecord) doc.RequestLoad(outcome.recordNumber);
        });
      },
      hasDocument);
}

}  // namespace hp::app
