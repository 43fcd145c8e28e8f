// One open survey document of the program: it owns the survey store for its
// whole life, reads and writes the document file, runs the compute command
// with its questions, keeps the worksheet backup and tells its views when
// to redraw.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "doc/History.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "periphery/SpreadsheetExchange.h"

namespace hp::app {

class CPlanDoc : public QObject {
  Q_OBJECT

 public:
  explicit CPlanDoc(AppContext& app, QObject* parent = nullptr);
  ~CPlanDoc() override;

  // The program's services the document and its windows and dialogs use.
  AppContext& app() const { return m_app; }
  doc::SurveyStore& store() { return m_store; }
  const doc::SurveyStore& store() const { return m_store; }
  // The current worksheet.
  doc::Worksheet& worksheet() { return *m_store.currentWorksheet; }

  // File name (empty for a new, unsaved document) and the title shown in
  // the window caption.
  const std::filesystem::path& path() const { return m_path; }
  QString title() const;
  // The number of a new, unsaved document's title ("Unbenannt2"); 0: none.
  void setUntitledNumber(int number) { m_untitledNumber = number; }
  // The folder stored file names are relative to (the document's folder;
  // the current folder for an unsaved document).
  std::filesystem::path folder() const;

  // Modified: a change outside the undo history since the last save, or
  // the history away from the saved state.
  bool isModified() const { return m_modified; }
  // True: a change that is no step of the history; false: saved (the
  // history marks the saved state and keeps its steps).
  void setModified(bool modified = true);

  // The undo history of the document's data.
  doc::History& history() { return m_history; }
  const doc::History& history() const { return m_history; }
  // Takes a step a command carried out (null: nothing changed).
  void Record(std::unique_ptr<doc::Change> step);
  // Runs `command` and keeps what it changed of the document settings and
  // of `parts` (doc::DocumentCapture) as one step named `name` (UTF-8). A
  // compute pass the command ran is run again after the step is undone or
  // redone.
  void Recorded(const std::string& name, unsigned parts, const std::function<void()>& command);
  // Takes back / makes again one step; the views then show the state, the
  // computed values are current again and the modified mark follows.
  bool Undo();
  bool Redo();
  // After a command that recorded its steps itself: the modified mark and
  // the menu follow the history.
  void HistoryChanged();

  // New from the defaults / from a template file (mode 5); false after the
  // reader's messages.
  void NewFromDefaults();
  bool NewFromTemplate(const std::filesystem::path& templatePath);
  // Opens a document file; false after its messages (the store is then
  // reset). A large file is read in the background (RunInBackground), the
  // progress going to workProgress; Esc stops the reading (false, no
  // message).
  bool Open(const std::filesystem::path& path);
  // Saves atomically; false after the message.
  bool SaveAs(const std::filesystem::path& path);

  // The compute command ("Be&rechnen") with its questions. When the user
  // asked to load the record of an error, loadRequest() names it.
  bool Compute();
  // While a compute pass over a large survey runs in the background, the
  // views show their last picture and read nothing of the records.
  bool busy() const { return m_busy; }
  int loadRequest() const { return m_loadRequest; }
  void clearLoadRequest() { m_loadRequest = -1; }
  // Remembers that a compute pass asked to show record `number` (from 1)
  // and tells the main window, which opens the data editor there.
  void RequestLoad(int number);
  // The coordinates dialog asked to place record `number` (from 1) on the
  // map: the view waits for the click that gives its position.
  void RequestPosition(int number) { Q_EMIT positionRequested(number); }
  // An import or load replaced the records: a view that shows nothing of
  // the new survey turns to it.
  void RecordsReplaced() { Q_EMIT recordsReplaced(); }

  // After a change of the data or settings: every view rebuilds its
  // projection and redraws.
  void UpdateAllViews();
  // After a command that changed the worksheet list or which worksheet is
  // current: drawing caches discarded, modified, worksheet list refilled,
  // backup refreshed, views redrawn.
  void WorksheetsChanged();
  // The survey as the document file holds it, taken before a command that
  // may fail half-way, and put back when it did.
  std::vector<uint8_t> Snapshot();
  void RestoreSnapshot(const std::vector<uint8_t>& snapshot);

  // Copies the current worksheet (with its positions) into the backup.
  void RefreshBackup();
  // The backup of the current worksheet, written back by "Wiederherstellen".
  const doc::Worksheet& backup() const { return *m_backup; }
  // Set by a new or reset worksheet: the next drawing gives the sheet
  // settings their defaults and clears it.
  bool& resetFlag() { return m_resetFlag; }
  // The spreadsheet exchange of this document (its sent flag lives as long
  // as the document is open).
  periphery::SpreadsheetExchange& spreadsheetExchange() { return m_spreadsheetExchange; }
  // "&Zeigen" of a loop or a suspect leg: the legs (list positions) every
  // view draws highlighted and scrolls into sight, until the next compute
  // command or the next call.
  void ShowLegs(std::vector<size_t> legs) {
    m_shownLegs = std::move(legs);
    Q_EMIT legsShown();
  }
  const std::vector<size_t>& shownLegs() const { return m_shownLegs; }

 Q_SIGNALS:
  // Views redraw (and rebuild their projection).
  void changed();
  // The worksheet list or the current worksheet changed.
  void worksheetsChanged();
  void modifiedChanged(bool modified);
  // A compute pass asked to show a faulty record in the data editor.
  void loadRequested();
  // A record (from 1) is to be placed on the map by the next click.
  void positionRequested(int number);
  void recordsReplaced();
  void legsShown();
  // How far long work of the document has come, for the status line.
  void workProgress(const QString& text);
  // A step was taken, undone or redone.
  void historyChanged();

 private:
  bool AfterStep(const doc::Change* step);
  void UpdateModified();

  AppContext& m_app;
  doc::SurveyStore m_store;
  std::filesystem::path m_path;
  bool m_modified = false;
  bool m_otherChanges = false;  // modified outside the history
  doc::History m_history;
  int m_computeRuns = 0;
  int m_untitledNumber = 0;
  int m_loadRequest = -1;
  bool m_busy = false;
  bool m_resetFlag = false;
  std::unique_ptr<doc::Worksheet> m_backup;
  periphery::SpreadsheetExchange m_spreadsheetExchange;
  std::vector<size_t> m_shownLegs;
};

}  // namespace hp::app
