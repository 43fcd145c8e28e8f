// The main window: the document windows in an MDI area, the menus with every
// command, the tool bars "Symbolleiste" (with the worksheet list),
// "Blickrichtung" and "Animation", the status bar, the recent-file list,
// dropped files and the window placement kept between runs.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "app/AppContext.h"
#include "app/dialogs/FollowUp.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace hp::app {

class CAnimationController;
class CChildFrame;
class CPlanDoc;
class CPlanView;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // `requestedShow` is the show command asked for at start-up (1 normal).
  // The context outlives the window; every document and dialog of the
  // window uses it.
  explicit CMainFrame(AppContext& app, int requestedShow = 1);
  ~CMainFrame() override;

  // Opens a document in a new window; false after the reader's messages.
  bool OpenDocument(const std::filesystem::path& path);
  // The documents named on the command line; one that cannot be read is
  // reported (naming the file) and the program stays open without it.
  void OpenStartDocuments(const QStringList& files);
  // A new document from the defaults (no template dialog).
  CChildFrame* NewDocument();

  CChildFrame* activeChild() const;
  CPlanDoc* activeDocument() const;
  CPlanView* activeView() const;
  std::vector<CChildFrame*> children() const;

  // The command with this menu text (without its shortcut), for tests.
  QAction* command(const QString& text) const;
  QComboBox* worksheetList() const { return m_worksheetList; }
  QString statusLine() const;
  // Runs a command so that no exception leaves it: a failed allocation is
  // reported as "Nicht genügend Arbeitsspeicher.", anything else as an
  // internal fault.
  static void Guarded(platform::Prompter& prompter, const std::function<void()>& command);
  void Guarded(const std::function<void()>& command) { Guarded(m_app.prompter, command); }
  // Refreshes every command's enabled state.
  void UpdateCommands();
  // Asks "Änderungen in %1 speichern?" for a modified document and saves on
  // Yes; false on Cancel or a failed save.
  bool QuerySave(CPlanDoc& document);
  // Saves (under a new name when it has none); false when not saved.
  bool Save(CPlanDoc& document, bool askName);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Menu shortcuts win over the keys a focused field would take for itself
  // (Strg+A, Strg+Z in the tool bar's fields).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr const char* kSettings = "Settings";
  static constexpr int kWorksheetNameLength = 80;

  using Handler = std::function<void()>;
  QAction* AddCommand(QMenu* menu, const char* menuText, const char* statusText, Handler handler,
                      std::function<bool()> enabled = {});
  // The menus and tool bars (MainFrameMenus.cpp).
  void CreateMenus();
  // The survey protocol's dialog (menu "&Ansicht") and the spreadsheet
  // exchange (menu "Da&ten").
  void CreateProtocolCommands(QMenu* viewMenu, QMenu* dataMenu);
  // "&Rückgängig" and "&Wiederholen" of the document's history
  // (MainFrameHistory.cpp); their texts name the steps.
  void CreateHistoryCommands(QMenu* dataMenu);
  void ShowHistorySteps();
  // Page setup, sub-sheets, print area, printing, preview and clipboard
  // (MainFramePrint.cpp).
  void AddPrintCommands(QMenu* file);
  void CreateToolBars();
  void RestorePlacement(int requestedShow);
  void SavePlacement();
  void AddChild(CChildFrame* child);
  // "Überlappend": the shown document windows cascade from the top left of
  // the area, the active one in front and taking most of it.
  void CascadeChildren();
  void ActiveChildChanged();
  // Long work's progress in the status line; an empty text gives the line
  // back to the active view.
  void ShowWorkProgress(const QString& text);
  void FillWorksheetList();
  void ShowViewValues();
  void UpdateRecentFiles();
  // The menu "&Animation", its tool bar and the bar's values and checks.
  void CreateAnimationMenu();
  void CreateAnimationBar();
  void ShowAnimationValues();
  // Runs `command` on the animation of the active document when there is one.
  void WithAnimation(const std::function<void(CAnimationController&)>& command);
  void RememberRecentFile(const std::filesystem::path& path);

  // Commands.
  // The data windows, one after the other as each asks for the next.
  // With `coordinates` the first editor opens its coordinates dialog.
  void OpenDataWindows(FollowUp first, bool coordinates = false);
  void OnFileNew();
  void OnFileOpen();
  void OnCompute();
  void OnImport();
  void OnUpdateIncludes();
  void OnViewCommand(int id);
  void OnViewField(int field, QLineEdit* edit);
  void OnWorksheetChosen(int index);
  void OnWorksheetRenamed();
  // Runs `command` on the active document when there is one.
  void WithDocument(const std::function<void(CPlanDoc&, CPlanView&)>& command);
  // The same for a command that changes the survey: when it fails half-way
  // the document is put back as it was before.
  void WithDocumentKept(const std::function<void(CPlanDoc&, CPlanView&)>& command);

  AppContext& m_app;
  QMdiArea* m_mdi = nullptr;
  int m_untitledCount = 0;  // new documents so far, numbering "Unbenannt1", ...
  QToolBar* m_standardBar = nullptr;
  QToolBar* m_directionBar = nullptr;
  QComboBox* m_worksheetList = nullptr;
  QLabel* m_statusPane = nullptr;
  QLineEdit* m_azimuthField = nullptr;
  QLineEdit* m_inclinationField = nullptr;
  QLineEdit* m_distanceField = nullptr;
  QToolBar* m_animationBar = nullptr;
  QLineEdit* m_positionField = nullptr;
  QLineEdit* m_picturesField = nullptr;
  QAction* m_startAction = nullptr;
  QAction* m_endlessAction = nullptr;
  QMenu* m_recentMenu = nullptr;
  QMenu* m_dataMenu = nullptr;
  QAction* m_undoAction = nullptr;
  QAction* m_redoAction = nullptr;
  QMenu* m_documentMenu = nullptr;
  QMenu* m_worksheetMenu = nullptr;
  QMenu* m_viewMenu = nullptr;
  QMenu* m_windowMenu = nullptr;
  std::map<QString, QAction*> m_commands;
  std::vector<std::pair<QAction*, std::function<bool()>>> m_enabling;
  std::vector<QAction*> m_documentCommands;  // enabled only with a document
  bool m_fillingWorksheetList = false;
  bool m_dataWindowsOpen = false;          // the editor, overview or loop evaluation is open
  std::set<const CChildFrame*> m_closing;  // windows whose close was accepted
  int m_showCmd = 3;
  int m_showCmdRead = 3;
};

}  // namespace hp::app
