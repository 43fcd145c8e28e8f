// The main window's menus and tool bars: every command with its menu text,
// status line prompt, shortcut and the state that enables it.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <tuple>

#include "app/AppContext.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProgramLook.h"
#include "app/QtText.h"
#include "app/dialogs/DisplayDialog.h"
#include "app/dialogs/DocumentDialogs.h"
#include "app/dialogs/EvaluationDialog.h"
#include "app/dialogs/ExportDialogs.h"
#include "app/dialogs/LegDisplayDialog.h"
#include "app/dialogs/WorksheetDialogs.h"
#include "app/dialogs/WorksheetSettingsDialog.h"
#include "doc/DocumentChanges.h"
#include "doc/DocumentDialogs.h"
#include "doc/WorksheetCommands.h"
#include "draw/interaction/ViewCommands.h"

namespace hp::app {
namespace {

// A menu entry's text without mnemonic, shortcut and dots: "Geräte".
std::string StepName(const char* menuText) {
  std::string name = ParseMenuText(menuText).text;
  std::erase(name, '&');
  if (name.ends_with("...")) name.resize(name.size() - 3);
  return name;
}

}  // namespace

void CMainFrame::CreateMenus() {
  const auto hasDocument = [this] { return activeDocument() != nullptr; };

  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  AddCommand(file, "&Neu\tStrg+N", "Erstellt ein neues Dokument.", [this] { OnFileNew(); });
  AddCommand(file, "Ö&ffnen...\tStrg+O", "Öffnet ein bestehendes Dokument.", [this] { OnFileOpen(); });
  AddCommand(
      file, "&Schließen", "Schließt das aktive Dokument.",
      [this] {
        if (QMdiSubWindow* child = m_mdi->activeSubWindow()) child->close();
      },
      hasDocument);
  AddCommand(
      file, "&Speichern\tStrg+S", "Speichert das aktive Dokument.",
      [this] {
        if (CPlanDoc* doc = activeDocument()) Save(*doc, false);
      },
      hasDocument);
  AddCommand(
      file, "Speichern &unter...", "Speichert das aktive Dokument unter einem neuen Namen.",
      [this] {
        if (CPlanDoc* doc = activeDocument()) Save(*doc, true);
      },
      hasDocument);
  file->addSeparator();
  m_recentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnete Dateien"));
  file->addSeparator();
  AddCommand(file, "&Beenden", "Beendet das Programm.", [this] { close(); });

  QMenu* dataMenu = menuBar()->addMenu(QStringLiteral("Da&ten"));
  CreateHistoryCommands(dataMenu);
  dataMenu->addSeparator();
  AddCommand(
      dataMenu, "&Bearbeiten...\tStrg+B", "Vermessungsdaten bearbeiten.",
      [this] {
        OpenDataWindows({FollowUp::Next::Editor, 0});
      },
      hasDocument);
  AddCommand(
      dataMenu, "Übersich&t...\tStrg+U", "Vermessungsdaten-Übersicht.",
      [this] {
        OpenDataWindows({FollowUp::Next::Overview, 0});
      },
      hasDocument);
  AddCommand(
      dataMenu, "Ring&schlussauswertung...", "Wertet die Ringschlüsse aus.",
      [this] {
        OpenDataWindows({FollowUp::Next::LoopEvaluation, 0});
      },
      hasDocument);
  dataMenu->addSeparator();
  AddCommand(
      dataMenu, "Be&rechnen\tStrg+R", "Berechnet die Koordinaten aller Messpunkte.", [this] { OnCompute(); },
      hasDocument);
  dataMenu->addSeparator();
  AddCommand(
      dataMenu, "&Importieren...", "Importiert Vermessungsdaten.", [this] { OnImport(); }, hasDocument);
  AddCommand(
      dataMenu, "E&xportieren...", "Daten aus dem aktuellen Dokument exportieren.",
      [this] { WithDocument([this](CPlanDoc& doc, CPlanView& view) { RunExportCommand(this, doc, view); }); },
      [this] { return activeDocument() != nullptr && !activeDocument()->store().records.empty(); });
  AddCommand(
      dataMenu, "Export nach &Google Earth\tStrg-G", "Daten nach Google Earth exportieren.",
      [this] { WithDocument([this](CPlanDoc& doc, CPlanView&) { RunGoogleEarthCommand(this, doc); }); }, hasDocument);
  AddCommand(
      dataMenu, "Include-Dateien &aktualisieren\tStrg+I", "Liest alle Include-Dateien neu ein.",
      [this] { OnUpdateIncludes(); }, hasDocument);
  dataMenu->addSeparator();
  AddCommand(
      dataMenu, "&Datenauswertung...", "Wertet die Vermessungsdaten aus.",
      [this] {
        WithDocument([this](CPlanDoc& doc, CPlanView& view) {
          RunEvaluationDialog(this, doc, view.viewTransform().heightOffset(), view.viewTransform().referencePath());
        });
      },
      hasDocument);
  m_dataMenu = dataMenu;

  m_documentMenu = menuBar()->addMenu(QStringLiteral("Do&kument"));
  const auto dialog = [this, hasDocument](QMenu* menu, const char* text, const char* status,
                                          bool (*run)(QWidget*, CPlanDoc&)) {
    // The step is named as the menu names the dialog ("Geräte").
    const std::string step = StepName(text);
    AddCommand(
        menu, text, status,
        [this, run, step] {
          WithDocument([this, run, &step](CPlanDoc& doc, CPlanView&) {
            doc.Recorded(step, doc::DocumentCapture::kWorksheets, [&] { run(this, doc); });
          });
        },
        hasDocument);
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
  // `step`: the history's name for the command's change; none for the
  // commands that only choose or restore the worksheet shown.
  const auto worksheetCommand = [this](const char* text, const char* status, doc::WorksheetCommand which,
                                       std::function<bool(CPlanDoc&)> run, const char* step = nullptr) {
    AddCommand(
        m_worksheetMenu, text, status,
        [this, run, step] {
          WithDocument([run, step](CPlanDoc& doc, CPlanView&) {
            if (step == nullptr) {
              run(doc);
              return;
            }
            doc.Recorded(step, doc::DocumentCapture::kWorksheets, [&] { run(doc); });
          });
        },
        [this, which] {
          const CPlanDoc* doc = activeDocument();
          return doc != nullptr && doc::IsWorksheetCommandEnabled(which, doc->store());
        });
  };
  AddCommand(
      m_worksheetMenu, "Arbeitsb&latt...\tStrg+L", "Legt Titel, Seitenbezeichnung, Rahmen und Beschriftung fest.",
      [this] {
        WithDocument([this](CPlanDoc& doc, CPlanView&) {
          doc.Recorded(doc::steps::kWorksheetSettings, doc::DocumentCapture::kWorksheets,
                       [&] { RunWorksheetSettingsDialog(this, doc); });
        });
      },
      hasDocument);
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
  worksheetCommand(
      "&Neu...", "Legt ein neues Arbeitsblatt an.", WorksheetCommand::New,
      [this](CPlanDoc& doc) { return RunNewWorksheet(this, doc); }, doc::steps::kNewWorksheet);
  worksheetCommand(
      "&Umbenennen...", "Benennt das Arbeitsblatt um.", WorksheetCommand::Rename,
      [this](CPlanDoc& doc) { return RunRenameWorksheet(this, doc); }, doc::steps::kRenameWorksheet);
  worksheetCommand(
      "&Kopieren...", "Kopiert das Arbeitsblatt.", WorksheetCommand::Copy,
      [this](CPlanDoc& doc) { return RunCopyWorksheet(this, doc); }, doc::steps::kCopyWorksheet);
  worksheetCommand(
      "&Verschieben...", "Verschiebt das Arbeitsblatt.", WorksheetCommand::Move,
      [this](CPlanDoc& doc) { return RunMoveWorksheet(this, doc); }, doc::steps::kMoveWorksheet);
  worksheetCommand(
      "&Löschen...", "Löscht das Arbeitsblatt.", WorksheetCommand::Delete,
      [](CPlanDoc& doc) { return RunDeleteWorksheet(doc); }, doc::steps::kDeleteWorksheet);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
  m_viewMenu = view;
  AddCommand(
      view, "D&arstellung...\tStrg+A", "Legt Darstellungsart, Blickrichtung und Filter fest.",
      [this] { WithDocument([this](CPlanDoc& doc, CPlanView& v) { RunDisplayDialog(this, doc, v.viewTransform()); }); },
      hasDocument);
  AddCommand(
      view, "&Messzüge...\tStrg+M", "Legt Linienfarben, Messpunkte und Beschriftung der Messzüge fest.",
      [this] { WithDocument([this](CPlanDoc& doc, CPlanView&) { RunLegDisplayDialog(this, doc); }); }, hasDocument);
  view->addSeparator();
  for (const int id : {32777, 32779, 32792, 32782, 1201, 1202}) {
    const draw::ViewCommand viewCommand = *draw::ViewCommandFromId(id);
    const draw::ViewCommandTexts texts = draw::TextsOf(viewCommand);
    QAction* action = AddCommand(
        view, std::string(texts.button).c_str(), std::string(texts.tip).c_str(), [this, id] { OnViewCommand(id); },
        [this, viewCommand] {
          const CPlanDoc* doc = activeDocument();
          return doc != nullptr &&
                 draw::IsViewCommandEnabled(viewCommand, doc->store().currentWorksheet->displayType());
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
  AddCommand(help, "&Hilfethemen", "Öffnet die Hilfe.", [this] {
    if (!OpenHelpTopic(m_app, QStringLiteral("index")))
      m_app.prompter.Message("Die Hilfe ist nicht installiert.", platform::Icon::Information);
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
  for (const auto& [text, themeName, bundled] : {std::tuple{"Neu", "document-new", "document-new"},
                                                 {"Öffnen...", "document-open", "document-open"},
                                                 {"Speichern", "document-save", "document-save"},
                                                 {"Berechnen", "system-run", "compute"}})
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

}  // namespace hp::app
