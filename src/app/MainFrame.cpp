// The main window and its commands.
#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <tuple>
#include <new>
#include <stdexcept>

#include "app/AnimationController.h"
#include "app/AppContext.h"
#include "app/ChildFrame.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProgramLook.h"
#include "app/dialogs/ChoiceDialog.h"
#include "app/dialogs/DataEditorDialog.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "app/dialogs/OverviewDialog.h"
#include "app/dialogs/DisplayDialog.h"
#include "app/dialogs/DocumentDialogs.h"
#include "app/dialogs/LegDisplayDialog.h"
#include "app/dialogs/WorksheetSettingsDialog.h"
#include "app/dialogs/WorksheetDialogs.h"
#include "doc/DocumentDialogs.h"
#include "doc/WorksheetCommands.h"
#include "app/dialogs/EvaluationDialog.h"
#include "app/dialogs/ExportDialogs.h"
#include "base/Cp1252.h"
#include "draw/ViewCommands.h"
#include "import/DocumentImport.h"
#include "import/ImportCommand.h"
#include "platform/WindowPlacement.h"

namespace hp::app {
namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kRecentSection = "Recent File List";
constexpr int kRecentFiles = 9;
constexpr int kWorksheetNameLength = 80;
constexpr const char* kDocumentFilter = "Hollowplan-Dokument (*.hpn)";
constexpr const char* kOutOfMemory = "Nicht genügend Arbeitsspeicher.";

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A menu text without "&" and shortcut, the key of a command.
QString KeyOf(const QString& text) {
  QString key = text.section('\t', 0, 0);
  key.remove('&');
  return key;
}

std::filesystem::path PathOf(const QString& file) { return std::filesystem::path(file.toStdString()); }

// How far each cascaded document window sits right of and below the one
// behind it: the height of its title bar, so every caption stays readable.
int CascadeStep(const QWidget* window) {
  QStyleOptionTitleBar option;
  option.initFrom(window);
  return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
}

QRect RectOf(const platform::ScreenRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

CMainFrame::CMainFrame(int requestedShow) {
  setWindowTitle(QStringLiteral("Hollowplan"));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  m_mdi = new QMdiArea(this);
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdi);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::ActiveChildChanged);

  auto& settings = App().settings;
  m_showCmdRead = m_showCmd = settings.GetInt(kSettings, "ShowCmd", 3);
  // Values the program keeps in the settings from its first start on.
  settings.SetInt(kSettings, "Animation", std::clamp(settings.GetInt(kSettings, "Animation", 20), 0, 1000));
  settings.SetInt(kSettings, "Doublebuffer", settings.GetInt(kSettings, "Doublebuffer", 1));

  CreateMenus();
  CreateToolBars();
  qApp->installEventFilter(this);
  // The view's status line stays in its pane; menu prompts show over it
  // while a menu is open.
  m_statusPane = new QLabel(QStringLiteral("Bereit"), this);
  statusBar()->addWidget(m_statusPane, 1);
  const std::string state = settings.GetString("Tool", "State", "");
  if (!state.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
  RestorePlacement(requestedShow);
  UpdateRecentFiles();
  FillWorksheetList();
  UpdateCommands();
}

CMainFrame::~CMainFrame() {
  // The document windows go with the MDI area after this body: they must not
  // call back into a main window that is no longer whole.
  m_mdi->disconnect(this);
  for (CChildFrame* child : children()) {
    child->disconnect(this);
    child->view().disconnect(this);
    child->document().disconnect(this);
    child->animation().disconnect(this);
  }
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* menuText, const char* statusText, Handler handler,
                                std::function<bool()> enabled) {
  const MenuText parsed = ParseMenuText(menuText);
  auto* action = new QAction(Q(parsed.text), this);
  if (!parsed.shortcut.empty()) action->setShortcut(QKeySequence(Q(parsed.shortcut), QKeySequence::PortableText));
  if (statusText != nullptr) action->setStatusTip(QString::fromUtf8(statusText));
  connect(action, &QAction::triggered, this, [handler = std::move(handler)] { Guarded(handler); });
  menu->addAction(action);
  m_commands[KeyOf(action->text())] = action;
  if (enabled) m_enabling.emplace_back(action, std::move(enabled));
  return action;
}

QString CMainFrame::statusLine() const { return m_statusPane->text(); }

QAction* CMainFrame::command(const QString& text) const {
  const auto it = m_commands.find(KeyOf(text));
  return it == m_commands.end() ? nullptr : it->second;
}

void CMainFrame::WithDocument(const std::function<void(CPlanDoc&, CPlanView&)>& command) {
  CChildFrame* child = activeChild();
  if (child == nullptr) return;
  command(child->document(), child->view());
  UpdateCommands();
}

void CMainFrame::WithDocumentKept(const std::function<void(CPlanDoc&, CPlanView&)>& command) {
  WithDocument([&command](CPlanDoc& doc, CPlanView& view) {
    const std::vector<uint8_t> before = doc.Snapshot();
    try {
      command(doc, view);
    } catch (...) {
      doc.RestoreSnapshot(before);
      throw;
    }
  });
}

void CMainFrame::Guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    App().prompter.Message(kOutOfMemory, platform::Icon::Stop);
  } catch (const std::length_error&) {
    App().prompter.Message(kOutOfMemory, platform::Icon::Stop);
  } catch (const std::exception& e) {
    App().prompter.Message(std::string("Interner Fehler: ") + e.what(), platform::Icon::Stop);
  }
}

void CMainFrame::CreateMenus() {
  const auto hasDocument = [this] { return activeDocument() != nullptr; };

  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  AddCommand(file, "&Neu\tStrg+N", "Erstellt ein neues Dokument.", [this] { OnFileNew(); });
  AddCommand(file, "Ö&ffnen...\tStrg+O", "Öffnet ein bestehendes Dokument.", [this] { OnFileOpen(); });
  AddCommand(file, "&Schließen", "Schließt das aktive Dokument.", [this] {
    if (QMdiSubWindow* child = m_mdi->activeSubWindow()) child->close();
  }, hasDocument);
  AddCommand(file, "&Speichern\tStrg+S", "Speichert das aktive Dokument.", [this] {
    if (CPlanDoc* doc = activeDocument()) Save(*doc, false);
  }, hasDocument);
  AddCommand(file, "Speichern &unter...", "Speichert das aktive Dokument unter einem neuen Namen.", [this] {
    if (CPlanDoc* doc = activeDocument()) Save(*doc, true);
  }, hasDocument);
  file->addSeparator();
  m_recentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnete Dateien"));
  file->addSeparator();
  AddCommand(file, "&Beenden", "Beendet das Programm.", [this] { close(); });

  QMenu* dataMenu = menuBar()->addMenu(QStringLiteral("Da&ten"));
  AddCommand(dataMenu, "&Bearbeiten...\tStrg+B", "Vermessungsdaten bearbeiten.",
             [this] { OpenDataWindows({FollowUp::Next::Editor, 0}); }, hasDocument);
  AddCommand(dataMenu, "Übersich&t...\tStrg+U", "Vermessungsdaten-Übersicht.",
             [this] { OpenDataWindows({FollowUp::Next::Overview, 0}); }, hasDocument);
  AddCommand(dataMenu, "Ring&schlussauswertung...", "Wertet die Ringschlüsse aus.",
             [this] { OpenDataWindows({FollowUp::Next::LoopEvaluation, 0}); }, hasDocument);
  dataMenu->addSeparator();
  AddCommand(dataMenu, "Be&rechnen\tStrg+R", "Berechnet die Koordinaten aller Messpunkte.", [this] { OnCompute(); },
             hasDocument);
  dataMenu->addSeparator();
  AddCommand(dataMenu, "&Importieren...", "Importiert Vermessungsdaten.", [this] { OnImport(); }, hasDocument);
  AddCommand(dataMenu, "E&xportieren...", "Daten aus dem aktuellen Dokument exportieren.", [this] {
    WithDocument([this](CPlanDoc& doc, CPlanView& view) { RunExportCommand(this, doc, view); });
  }, [this] { return activeDocument() != nullptr && !activeDocument()->store().records.empty(); });
  AddCommand(dataMenu, "Export nach &Google Earth\tStrg-G", "Daten nach Google Earth exportieren.", [this] {
    WithDocument([this](CPlanDoc& doc, CPlanView&) { RunGoogleEarthCommand(this, doc); });
  }, hasDocument);
  AddCommand(dataMenu, "Include-Dateien &aktualisieren\tStrg+I", "Liest alle Include-Dateien neu ein.",
             [this] { OnUpdateIncludes(); }, hasDocument);
  dataMenu->addSeparator();
  AddCommand(dataMenu, "&Datenauswertung...", "Wertet die Vermessungsdaten aus.", [this] {
    WithDocument([this](CPlanDoc& doc, CPlanView& view) {
      RunEvaluationDialog(this, doc, view.viewTransform().heightOffset(), view.viewTransform().referencePath());
    });
  }, hasDocument);
  m_dataMenu = dataMenu;

  m_documentMenu = menuBar()->addMenu(QStringLiteral("Do&kument"));
  const auto dialog = [this, hasDocument](QMenu* menu, const char* text, const char* status,
                                          bool (*run)(QWidget*, CPlanDoc&)) {
    AddCommand(menu, text, status, [this, run] {
      WithDocument([this, run](CPlanDoc& doc, CPlanView&) { run(this, doc); });
    }, hasDocument);
  };
  dialog(m_documentMenu, "&Optionen...", "Legt Ringschlussausgleich, Grenzwinkel und Suchtoleranzen fest.",
         RunDataOptionsDialog);
  dialog(m_documentMenu, "&Dokument...", "Titel, Kataster, UTM-Zone und Beschreibung des Dokuments.",
         RunDocumentDialog);
  dialog(m_documentMenu, "&Schriftarten...", "Legt die Schriftarten des Dokuments fest.", RunFontsDialog);
  dialog(m_documentMenu, "&Farben...", "Legt die Farben des Dokuments fest.", RunColoursDialog);
  dialog(m_documentMenu, "&Geräte...", "Bearbeitet die Geräte und ihre Korrekturen.", RunInstrumentsDialog);
  dialog(m_documentMenu, "&Ebenen...", "Bearbeitet die Namen der Ebenen.", RunLevelNamesDialog);
  dialog(m_documentMenu, "&Vermesser...", "Bearbeitet die Namen der Vermesser.", RunSurveyorNamesDialog);

  m_worksheetMenu = menuBar()->addMenu(QStringLiteral("Arbeits&blatt"));
  const auto worksheetCommand = [this](const char* text, const char* status, doc::WorksheetCommand which,
                                       std::function<bool(CPlanDoc&)> run) {
    AddCommand(m_worksheetMenu, text, status, [this, run] { WithDocument([run](CPlanDoc& doc, CPlanView&) { run(doc); }); },
               [this, which] {
                 const CPlanDoc* doc = activeDocument();
                 return doc != nullptr && doc::IsWorksheetCommandEnabled(which, doc->store());
               });
  };
  AddCommand(m_worksheetMenu, "Arbeitsb&latt...\tStrg+L", "Legt Titel, Seitenbezeichnung, Rahmen und Beschriftung fest.",
             [this] {
               WithDocument([this](CPlanDoc& doc, CPlanView&) { RunWorksheetSettingsDialog(this, doc); });
             }, hasDocument);
  m_worksheetMenu->addSeparator();
  using doc::WorksheetCommand;
  worksheetCommand("&Auswählen...\tStrg+W", "Wählt ein anderes Arbeitsblatt.", WorksheetCommand::Select,
                   [this](CPlanDoc& doc) { return RunSelectWorksheet(this, doc); });
  worksheetCommand("Vor&heriges\tStrg+Gr+BildAuf", "Zeigt das vorherige Arbeitsblatt.", WorksheetCommand::Previous,
                   [](CPlanDoc& doc) { return PreviousWorksheet(doc); });
  worksheetCommand("Nächs&tes\tStrg+Gr+BildAb", "Zeigt das nächste Arbeitsblatt.", WorksheetCommand::Next,
                   [](CPlanDoc& doc) { return NextWorksheet(doc); });
  m_worksheetMenu->addSeparator();
  worksheetCommand("&Wiederherstellen\tStrg+Z", "Verwirft die Änderungen im Arbeitsblatt.", WorksheetCommand::Restore,
                   [](CPlanDoc& doc) { return RunRestoreWorksheet(doc); });
  worksheetCommand("&Zurücksetzen\tStrg+Gr+Z", "Setzt die Ansicht des Arbeitsblatts zurück.", WorksheetCommand::Reset,
                   [](CPlanDoc& doc) { return RunResetWorksheet(doc); });
  m_worksheetMenu->addSeparator();
  worksheetCommand("&Neu...", "Legt ein neues Arbeitsblatt an.", WorksheetCommand::New,
                   [this](CPlanDoc& doc) { return RunNewWorksheet(this, doc); });
  worksheetCommand("&Umbenennen...", "Benennt das Arbeitsblatt um.", WorksheetCommand::Rename,
                   [this](CPlanDoc& doc) { return RunRenameWorksheet(this, doc); });
  worksheetCommand("&Kopieren...", "Kopiert das Arbeitsblatt.", WorksheetCommand::Copy,
                   [this](CPlanDoc& doc) { return RunCopyWorksheet(this, doc); });
  worksheetCommand("&Verschieben...", "Verschiebt das Arbeitsblatt.", WorksheetCommand::Move,
                   [this](CPlanDoc& doc) { return RunMoveWorksheet(this, doc); });
  worksheetCommand("&Löschen...", "Löscht das Arbeitsblatt.", WorksheetCommand::Delete,
                   [](CPlanDoc& doc) { return RunDeleteWorksheet(doc); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
  m_viewMenu = view;
  AddCommand(view, "D&arstellung...\tStrg+A", "Legt Darstellungsart, Blickrichtung und Filter fest.", [this] {
    WithDocument([this](CPlanDoc& doc, CPlanView& v) { RunDisplayDialog(this, doc, v.viewTransform()); });
  }, hasDocument);
  AddCommand(view, "&Messzüge...\tStrg+M", "Legt Linienfarben, Messpunkte und Beschriftung der Messzüge fest.", [this] {
    WithDocument([this](CPlanDoc& doc, CPlanView&) { RunLegDisplayDialog(this, doc); });
  }, hasDocument);
  view->addSeparator();
  for (const int id : {32777, 32779, 32792, 32782, 1201, 1202}) {
    const draw::ViewCommand viewCommand = *draw::ViewCommandFromId(id);
    const draw::ViewCommandTexts texts = draw::TextsOf(viewCommand);
    QAction* action = AddCommand(view, std::string(texts.button).c_str(), std::string(texts.tip).c_str(),
                                 [this, id] { OnViewCommand(id); }, [this, viewCommand] {
                                   const CPlanDoc* doc = activeDocument();
                                   return doc != nullptr &&
                                          draw::IsViewCommandEnabled(viewCommand,
                                                                     doc->store().currentWorksheet->displayType());
                                 });
    action->setData(id);
  }
  view->addSeparator();
  CreateProtocolCommands(view, dataMenu);
  CreateAnimationMenu();

  m_windowMenu = menuBar()->addMenu(QStringLiteral("&Fenster"));
  connect(m_windowMenu, &QMenu::aboutToShow, this, [this] {
    m_windowMenu->clear();
    m_windowMenu->addAction(QStringLiteral("Über&lappend"), this, &CMainFrame::CascadeChildren);
    m_windowMenu->addAction(QStringLiteral("&Nebeneinander"), m_mdi, &QMdiArea::tileSubWindows);
    const auto windows = m_mdi->subWindowList();
    if (!windows.isEmpty()) m_windowMenu->addSeparator();
    int n = 1;
    for (QMdiSubWindow* window : windows) {
      QAction* item = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(window->windowTitle()));
      item->setCheckable(true);
      item->setChecked(window == m_mdi->activeSubWindow());
      connect(item, &QAction::triggered, this, [this, window] { m_mdi->setActiveSubWindow(window); });
    }
  });

  AddPrintCommands(file);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
  AddCommand(help, "&Hilfethemen", "Öffnet die Hilfe.", [] {
    if (!OpenHelpTopic(QStringLiteral("index")))
      App().prompter.Message("Die Hilfe ist nicht installiert.", platform::Icon::Information);
  });
  AddCommand(help, "&Info über Hollowplan...", "Zeigt Programminformationen an.", [this] {
    QMessageBox::about(this, QStringLiteral("Info über Hollowplan"),
                       QStringLiteral("Hollowplan %1\nHöhlenvermessung: Berechnung, Darstellung und Pläne.")
                           .arg(QStringLiteral(HOLLOWPLAN_VERSION)));
  });
}

void CMainFrame::CreateToolBars() {
  m_standardBar = addToolBar(QStringLiteral("Symbolleiste"));
  m_standardBar->setObjectName(QStringLiteral("Symbolleiste"));
  const auto withIcon = [this](const char* text, const char* themeName, const char* bundled) {
    QAction* action = command(QString::fromUtf8(text));
    if (action != nullptr) action->setIcon(ToolIcon(QString::fromUtf8(themeName), QString::fromUtf8(bundled)));
    return action;
  };
  for (const auto& [text, themeName, bundled] :
       {std::tuple{"Neu", "document-new", "document-new"}, {"Öffnen...", "document-open", "document-open"},
        {"Speichern", "document-save", "document-save"}, {"Berechnen", "system-run", "compute"}})
    if (QAction* action = withIcon(text, themeName, bundled)) m_standardBar->addAction(action);
  m_standardBar->addSeparator();
  m_worksheetList = new QComboBox(m_standardBar);
  m_worksheetList->setEditable(true);
  m_worksheetList->setInsertPolicy(QComboBox::NoInsert);
  m_worksheetList->setMinimumContentsLength(24);
  m_worksheetList->setToolTip(QStringLiteral("Arbeitsblatt"));
  m_worksheetList->lineEdit()->setMaxLength(kWorksheetNameLength);
  m_standardBar->addWidget(m_worksheetList);
  connect(m_worksheetList, QOverload<int>::of(&QComboBox::activated), this,
          [this](int index) { Guarded([&] { OnWorksheetChosen(index); }); });
  connect(m_worksheetList->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { Guarded([this] { OnWorksheetRenamed(); }); });

  m_directionBar = addToolBar(QStringLiteral("Blickrichtung"));
  m_directionBar->setObjectName(QStringLiteral("Blickrichtung"));
  const auto field = [this](draw::ViewField which) {
    auto* edit = new QLineEdit(m_directionBar);
    edit->setMaximumWidth(80);
    edit->setStatusTip(Q(draw::PromptOf(which)));
    edit->setToolTip(Q(draw::PromptOf(which)));
    connect(edit, &QLineEdit::returnPressed, this,
            [this, which, edit] { Guarded([&] { OnViewField(static_cast<int>(which), edit); }); });
    return edit;
  };
  m_directionBar->addAction(withIcon("Links", "go-previous", "go-previous"));
  m_directionBar->addAction(withIcon("Rechts", "go-next", "go-next"));
  m_azimuthField = field(draw::ViewField::Azimuth);
  m_directionBar->addWidget(m_azimuthField);
  m_directionBar->addAction(withIcon("Hoch", "go-up", "go-up"));
  m_directionBar->addAction(withIcon("Runter", "go-down", "go-down"));
  m_inclinationField = field(draw::ViewField::Inclination);
  m_directionBar->addWidget(m_inclinationField);
  m_directionBar->addAction(withIcon("Ferner", "hollowplan-camera-farther", "camera-farther"));
  m_directionBar->addAction(withIcon("Näher", "hollowplan-camera-nearer", "camera-nearer"));
  m_distanceField = field(draw::ViewField::Distance);
  m_directionBar->addWidget(m_distanceField);

  m_viewMenu->addSeparator();
  QAction* standard = m_standardBar->toggleViewAction();
  standard->setText(QStringLiteral("&Symbolleiste"));
  m_viewMenu->addAction(standard);
  QAction* direction = m_directionBar->toggleViewAction();
  direction->setText(QStringLiteral("&Blickrichtung"));
  m_viewMenu->addAction(direction);
  CreateAnimationBar();
  QAction* status = m_viewMenu->addAction(QStringLiteral("S&tatusleiste"));
  status->setCheckable(true);
  status->setChecked(true);
  connect(status, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

void CMainFrame::RestorePlacement(int requestedShow) {
  const auto placement = platform::ParseWindowPlacement(App().settings.GetString(kSettings, "WindowPos", ""));
  if (!placement) {
    resize(1024, 768);
    if (requestedShow == 3) setWindowState(Qt::WindowMaximized);
    return;
  }
  const platform::ScreenRect& r = placement->normal;
  setGeometry(r.left, r.top, std::max(200, r.Width()), std::max(150, r.Height()));
  const unsigned show = requestedShow != 1 ? static_cast<unsigned>(requestedShow) : placement->showCommand;
  if (show == 3 || (placement->flags & platform::kPlacementRestoreMaximised) != 0) setWindowState(Qt::WindowMaximized);
}

void CMainFrame::SavePlacement() {
  platform::WindowPlacement placement;
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  placement.normal = {normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
  placement.minimised = {-1, -1};
  placement.maximised = {-1, -1};
  placement.showCommand = isMaximized() ? 3 : isMinimized() ? 2 : 1;
  if (isMaximized()) placement.flags = platform::kPlacementRestoreMaximised;
  auto& settings = App().settings;
  settings.SetString(kSettings, "WindowPos", platform::FormatWindowPlacement(placement));
  settings.SetString("Tool", "State", saveState().toBase64().toStdString());
  if (m_showCmd != m_showCmdRead) settings.SetInt(kSettings, "ShowCmd", m_showCmd);
}

CChildFrame* CMainFrame::activeChild() const {
  QMdiSubWindow* window = m_mdi->activeSubWindow();
  if (window == nullptr && !m_mdi->subWindowList().isEmpty()) window = m_mdi->subWindowList().back();
  return qobject_cast<CChildFrame*>(window);
}

CPlanDoc* CMainFrame::activeDocument() const {
  CChildFrame* child = activeChild();
  return child != nullptr ? &child->document() : nullptr;
}

CPlanView* CMainFrame::activeView() const {
  CChildFrame* child = activeChild();
  return child != nullptr ? &child->view() : nullptr;
}

std::vector<CChildFrame*> CMainFrame::children() const {
  std::vector<CChildFrame*> result;
  for (QMdiSubWindow* window : m_mdi->subWindowList())
    if (auto* child = qobject_cast<CChildFrame*>(window)) result.push_back(child);
  return result;
}

void CMainFrame::AddChild(CChildFrame* child) {
  m_mdi->addSubWindow(child);
  CPlanDoc& doc = child->document();
  // Unsaved documents are told apart by a number, so the save question on
  // quitting names which one it means.
  if (doc.path().empty()) {
    doc.setUntitledNumber(++m_untitledCount);
    child->UpdateCaption();
  }
  connect(&doc, &CPlanDoc::worksheetsChanged, this, [this, &doc] {
    if (&doc == activeDocument()) FillWorksheetList();
  });
  connect(&doc, &CPlanDoc::changed, this, &CMainFrame::UpdateCommands);
  // A faulty record the user asked to see opens in the data editor once the
  // command that computed has finished (an open editor shows it itself).
  connect(&doc, &CPlanDoc::loadRequested, this, [this, &doc] {
    QTimer::singleShot(0, this, [this, &doc] {
      if (m_dataWindowsOpen || doc.loadRequest() < 1 || &doc != activeDocument()) return;
      OpenDataWindows({FollowUp::Next::Editor, 0});
    });
  });
  connect(&doc, &CPlanDoc::modifiedChanged, this, &CMainFrame::UpdateCommands);
  connect(&child->view(), &CPlanView::statusChanged, this, [this, view = &child->view()](const QString& text) {
    if (view == activeView()) m_statusPane->setText(text);
  });
  connect(&child->view(), &CPlanView::drawn, this, [this, view = &child->view()] {
    if (view == activeView()) ShowViewValues();
  });
  // A station picked for editing opens in the data editor once the mouse
  // event that picked it has finished.
  connect(&child->view(), &CPlanView::editRecordRequested, this, [this, view = &child->view()](int recordNumber) {
    QTimer::singleShot(0, this, [this, guard = QPointer<CPlanView>(view), recordNumber] {
      if (guard && guard == activeView()) OpenDataWindows({FollowUp::Next::Editor, recordNumber});
    });
  });
  // Esc while a station waits to be placed brings back the editor and its
  // coordinates dialog on that record.
  connect(&child->view(), &CPlanView::positionCancelled, this, [this, view = &child->view()](int recordNumber) {
    QTimer::singleShot(0, this, [this, guard = QPointer<CPlanView>(view), recordNumber] {
      if (guard && guard == activeView()) OpenDataWindows({FollowUp::Next::Editor, recordNumber}, true);
    });
  });
  connect(child, &QObject::destroyed, this, [this, child] {
    m_closing.erase(child);
    ActiveChildChanged();
  });
  connect(child, &QMdiSubWindow::windowStateChanged, this, [this, child](Qt::WindowStates, Qt::WindowStates now) {
    // A window that is closing or hidden says nothing about how the user
    // wants the next one.
    if (m_closing.count(child) != 0 || !child->isVisible()) return;
    if (now & Qt::WindowMaximized) m_showCmd = 3;
    else if (!(now & Qt::WindowMinimized)) m_showCmd = 1;
  });
  connect(child, &CChildFrame::closing, this, [this, child] { m_closing.insert(child); });
  connect(&child->animation(), &CAnimationController::runningChanged, this, [this] { UpdateCommands(); });
  // A document window opens at the next cascade position, wholly inside the
  // area and at least two thirds of it; a maximised one goes back there when
  // restored. A restored one is placed again after show(), where the area
  // would move it by its own rule.
  const QSize area = m_mdi->viewport()->size();
  const QRect place = RectOf(platform::NewCascadeWindow(
      area.width(), area.height(), static_cast<int>(m_mdi->subWindowList().size()) - 1, CascadeStep(child)));
  child->setGeometry(place);
  if (m_showCmd == 3) {
    child->showMaximized();
  } else {
    child->show();
    child->setGeometry(place);
  }
  m_mdi->setActiveSubWindow(child);
  ActiveChildChanged();
}

CChildFrame* CMainFrame::NewDocument() {
  auto doc = std::make_unique<CPlanDoc>();
  auto* child = new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); });
  AddChild(child);
  return child;
}

bool CMainFrame::OpenDocument(const std::filesystem::path& path) {
  // A document already open comes to the front instead of opening twice.
  for (CChildFrame* child : children()) {
    std::error_code error;
    if (!child->document().path().empty() && std::filesystem::equivalent(child->document().path(), path, error)) {
      m_mdi->setActiveSubWindow(child);
      return true;
    }
  }
  auto doc = std::make_unique<CPlanDoc>();
  if (!doc->Open(path)) return false;
  AddChild(new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); }));
  RememberRecentFile(path);
  return true;
}

void CMainFrame::OpenStartDocuments(const QStringList& files) {
  for (const QString& file : files) Guarded([&] { OpenDocument(PathOf(file)); });
}

void CMainFrame::CascadeChildren() {
  QMdiSubWindow* active = m_mdi->activeSubWindow();
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::StackingOrder))
    if (window->isVisible() && !window->isMinimized() && window != active) windows.push_back(window);
  // The active window ends in front, the others keep their order behind it.
  if (active != nullptr && active->isVisible() && !active->isMinimized()) windows.push_back(active);
  if (windows.empty()) return;
  // Restored first: a maximised window would maximise each one activated after it.
  for (QMdiSubWindow* window : windows)
    if (window->isMaximized()) window->showNormal();
  const QSize area = m_mdi->viewport()->size();
  const auto rects = platform::CascadeWindows(area.width(), area.height(), static_cast<int>(windows.size()),
                                              CascadeStep(windows.front()));
  for (size_t i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(RectOf(rects[i]));
    windows[i]->raise();
  }
  if (active != nullptr) m_mdi->setActiveSubWindow(active);
}

void CMainFrame::ActiveChildChanged() {
  // The window that comes to the front (another one closed, or the user
  // chose it) shows as the last one the user left: maximised or not.
  if (CChildFrame* child = activeChild(); child != nullptr && m_showCmd == 3 && child->isVisible() &&
                                          !child->isMaximized() && m_closing.count(child) == 0)
    child->showMaximized();
  FillWorksheetList();
  if (CPlanView* view = activeView()) {
    m_statusPane->setText(view->statusText());
  } else {
    m_statusPane->setText(QStringLiteral("Bereit"));
  }
  UpdateCommands();
}

void CMainFrame::FillWorksheetList() {
  m_fillingWorksheetList = true;
  m_worksheetList->clear();
  CPlanDoc* doc = activeDocument();
  m_worksheetList->setEnabled(doc != nullptr);
  if (doc != nullptr) {
    for (const auto& worksheet : doc->store().worksheets)
      m_worksheetList->addItem(Q(base::Cp1252ToUtf8(worksheet->sheetDesignation())));
    m_worksheetList->setCurrentIndex(doc->store().IndexOf(doc->store().currentWorksheet));
  }
  m_fillingWorksheetList = false;
}

void CMainFrame::ShowViewValues() {
  CPlanDoc* doc = activeDocument();
  const draw::ViewToolBarValues values =
      doc != nullptr ? draw::ToolBarValues(doc->worksheet()) : draw::ViewToolBarValues{};
  const int type = doc != nullptr ? doc->worksheet().displayType() : -1;
  const auto show = [&](QLineEdit* edit, const std::string& text, draw::ViewField field) {
    if (!edit->hasFocus()) edit->setText(Q(text));
    edit->setEnabled(doc != nullptr && draw::IsViewFieldEnabled(field, type));
  };
  show(m_azimuthField, values.azimuth, draw::ViewField::Azimuth);
  show(m_inclinationField, values.inclination, draw::ViewField::Inclination);
  show(m_distanceField, values.distance, draw::ViewField::Distance);
  ShowAnimationValues();
}

void CMainFrame::UpdateCommands() {
  for (const auto& [action, enabled] : m_enabling) action->setEnabled(enabled());
  ShowViewValues();  // the direction fields open and close with their buttons
}

void CMainFrame::UpdateRecentFiles() {
  m_recentMenu->clear();
  int shown = 0;
  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string file = App().settings.GetString(kRecentSection, "File" + std::to_string(i), "");
    if (file.empty()) continue;
    const QString path = Q(file);
    QAction* item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(++shown).arg(path));
    connect(item, &QAction::triggered, this, [this, path] {
      Guarded([&] {
        if (!OpenDocument(PathOf(path))) UpdateRecentFiles();
      });
    });
  }
  m_recentMenu->setEnabled(shown > 0);
}

void CMainFrame::RememberRecentFile(const std::filesystem::path& path) {
  auto& settings = App().settings;
  std::error_code error;
  const std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
  std::vector<std::string> files{full};
  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string file = settings.GetString(kRecentSection, "File" + std::to_string(i), "");
    if (!file.empty() && file != full) files.push_back(file);
  }
  files.resize(std::min<size_t>(files.size(), kRecentFiles));
  for (size_t i = 0; i < files.size(); ++i) settings.SetString(kRecentSection, "File" + std::to_string(i + 1), files[i]);
  UpdateRecentFiles();
}

bool CMainFrame::QuerySave(CPlanDoc& document) {
  if (!document.isModified()) return true;
  const std::string text = "Änderungen in " + document.title().toStdString() + " speichern?";
  switch (App().prompter.AskYesNoCancel(text, platform::Icon::Exclamation)) {
    case platform::Answer::Yes: return Save(document, false);
    case platform::Answer::No: return true;
    default: return false;
  }
}

bool CMainFrame::Save(CPlanDoc& document, bool askName) {
  std::filesystem::path path = document.path();
  if (askName || path.empty()) {
    const QString start = path.empty() ? document.title() + QStringLiteral(".hpn") : Q(path.string());
    QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Speichern unter"), start,
                                                  QString::fromUtf8(kDocumentFilter));
    if (chosen.isEmpty()) return false;
    if (!chosen.endsWith(QStringLiteral(".hpn"), Qt::CaseInsensitive)) chosen += QStringLiteral(".hpn");
    path = PathOf(chosen);
  }
  if (!document.SaveAs(path)) return false;
  RememberRecentFile(path);
  for (CChildFrame* child : children())
    if (&child->document() == &document) child->UpdateCaption();
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  for (CChildFrame* child : children()) {
    if (!QuerySave(child->document())) {
      event->ignore();
      return;
    }
  }
  for (CChildFrame* child : children()) {
    child->document().setModified(false);  // answered above
    child->close();
  }
  auto& settings = App().settings;
  // The red-green colours as the "Farben" dialog last stored them.
  settings.SetInt(kSettings, "FarbeLinks", settings.GetInt(kSettings, "FarbeLinks", doc::kDefaultLeftEyeColour));
  settings.SetInt(kSettings, "FarbeRechts", settings.GetInt(kSettings, "FarbeRechts", doc::kDefaultRightEyeColour));
  SavePlacement();
  event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
  for (const auto& [name, action] : m_commands) {
    if (action->isEnabled() && !action->shortcut().isEmpty() &&
        action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
      event->ignore();  // not taken by the field: the menu's shortcut runs
      return true;
    }
  }
  return false;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) OpenDocument(PathOf(url.toLocalFile()));
  event->acceptProposedAction();
}

void CMainFrame::OnFileNew() {
  auto& settings = App().settings;
  std::string start = settings.GetString(kSettings, "Vorlage", "");
  if (start.empty()) start = (App().programFolder / "Vorlage.hpn").string();
  QFileDialog dialog(this, QStringLiteral("Hollowplan-Vorlage öffnen"), Q(start),
                     QStringLiteral("Hollowplan-Vorlage (*.hpn)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("hpn"));
  dialog.selectFile(Q(start));
  auto doc = std::make_unique<CPlanDoc>();
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().front();
    if (chosen.right(3).toLower() == QStringLiteral("hpn") && !doc->NewFromTemplate(PathOf(chosen))) return;
    settings.SetString(kSettings, "Vorlage", chosen.toStdString());
    doc->setModified(true);
  } else {
    doc->NewFromDefaults();
  }
  AddChild(new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); }));
}

void CMainFrame::OnFileOpen() {
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Öffnen"), QString(),
                                                    QString::fromUtf8(kDocumentFilter) + QStringLiteral(";;Alle Dateien (*)"));
  if (!file.isEmpty()) OpenDocument(PathOf(file));
}

void CMainFrame::OpenDataWindows(FollowUp first, bool coordinates) {
  if (m_dataWindowsOpen) return;
  m_dataWindowsOpen = true;
  WithDocument([this, first, coordinates](CPlanDoc& doc, CPlanView& view) {
    // The editor, the overview and the loop evaluation may each ask for one
    // of the others when they close.
    FollowUp next = first;
    bool withCoordinates = coordinates;
    while (next.next != FollowUp::Next::Nothing) {
      switch (next.next) {
        case FollowUp::Next::Editor:
          next = RunDataEditor(this, doc, next.recordNumber, view.markedSlot(), withCoordinates);
          withCoordinates = false;
          doc.setModified();
          doc.UpdateAllViews();
          break;
        case FollowUp::Next::Overview: next = RunOverviewDialog(this, doc); break;
        case FollowUp::Next::LoopEvaluation: next = RunLoopEvaluationDialog(this, doc); break;
        case FollowUp::Next::Nothing: break;
      }
    }
  });
  m_dataWindowsOpen = false;
}

void CMainFrame::OnCompute() {
  WithDocumentKept([](CPlanDoc& doc, CPlanView&) {
    doc.Compute();
    doc.setModified();
  });
}

void CMainFrame::OnImport() {
  WithDocumentKept([this](CPlanDoc& doc, CPlanView& view) {
    imports::ImportCommand command(App().settings);
    const std::vector<std::string> filters = FileDialogFilters(imports::texts::kFilter);
    QStringList names;
    for (const std::string& f : filters) names << Q(f);
    QFileDialog dialog(this, Q(imports::texts::kDialogTitle), Q(command.StartFolder(doc.folder()).string()));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(names);
    const int preset = command.FileTypePreset();
    if (preset >= 1 && preset <= names.size()) dialog.selectNameFilter(names[preset - 1]);
    dialog.selectFile(Q(imports::ImportCommand::ProposedFileName(doc.title().toStdString())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::filesystem::path file = PathOf(dialog.selectedFiles().front());
    command.RememberFile(file, static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1);
    const auto question = imports::ImportCommand::QuestionFor(file, doc.store());
    int choice = 0;
    if (question != imports::ImportCommand::Question::None) {
      const bool document = question == imports::ImportCommand::Question::DocumentParts;
      QStringList choices;
      if (document) {
        for (const char* c : imports::texts::kDocumentChoices) choices << QString::fromUtf8(c);
      } else {
        for (const char* c : imports::texts::kTableChoices) choices << QString::fromUtf8(c);
      }
      choice = AskChoice(this, QString::fromUtf8(document ? imports::texts::kDocumentQuestion : imports::texts::kTableQuestion),
                         choices, command.ChoicePreset(question));
      if (choice < 0) return;
    }
    if (!command.Run(doc.store(), file, question, choice, doc.folder(), App().prompter)) return;
    view.ResetBackgroundMap();
    doc.WorksheetsChanged();
    doc.RecordsReplaced();
    if (command.outcome().loadRecord) doc.RequestLoad(command.outcome().recordNumber);
  });
}

void CMainFrame::OnUpdateIncludes() {
  WithDocumentKept([](CPlanDoc& doc, CPlanView&) {
    imports::UpdateIncludes(doc.store(), doc.folder(), App().prompter, App().settings);
    doc.setModified();
    doc.UpdateAllViews();
  });
}

void CMainFrame::OnViewCommand(int id) {
  WithDocument([id](CPlanDoc& doc, CPlanView& view) {
    const auto viewCommand = draw::ViewCommandFromId(id);
    if (!viewCommand) return;
    if (!draw::ApplyViewCommand(*viewCommand, doc.worksheet(), draw::TurnStep(App().settings),
                                view.viewTransform().sceneSize()))
      return;
    doc.setModified();
    doc.UpdateAllViews();
  });
}

void CMainFrame::OnViewField(int field, QLineEdit* edit) {
  WithDocument([field, edit](CPlanDoc& doc, CPlanView&) {
    if (!draw::ApplyViewField(static_cast<draw::ViewField>(field), edit->text().toStdString(), doc.worksheet())) return;
    edit->clearFocus();
    doc.setModified();
    doc.UpdateAllViews();
  });
}

void CMainFrame::OnWorksheetChosen(int index) {
  if (m_fillingWorksheetList) return;
  WithDocument([index](CPlanDoc& doc, CPlanView&) {
    if (index < 0 || index >= static_cast<int>(doc.store().worksheets.size())) return;
    if (index == doc.store().IndexOf(doc.store().currentWorksheet)) return;
    doc.store().SelectWorksheet(index);
    doc.WorksheetsChanged();
  });
}

void CMainFrame::OnWorksheetRenamed() {
  if (m_fillingWorksheetList) return;
  const QString text = m_worksheetList->currentText().left(kWorksheetNameLength);
  WithDocument([this, text](CPlanDoc& doc, CPlanView&) {
    const std::string name = base::Utf8ToCp1252(text.toStdString()).substr(0, kWorksheetNameLength);
    if (name == doc.worksheet().sheetDesignation()) return;
    // Picking an entry also ends the editing: only a text that names no
    // other worksheet's entry is a new name.
    if (m_worksheetList->findText(text) >= 0 && m_worksheetList->findText(text) != m_worksheetList->currentIndex()) return;
    doc.worksheet().setSheetDesignation(name);
    doc.setModified();
    FillWorksheetList();
  });
}

}  // namespace hp::app
