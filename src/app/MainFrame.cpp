// The main window: its commands' plumbing, the document windows in the MDI
// area, the window placement, and the view and worksheet fields of the tool
// bars. The menus and tool bars are built in MainFrameMenus.cpp, opening,
// saving and importing documents live in MainFrameFiles.cpp, and the
// printing, protocol and animation commands in their own MainFrame*.cpp.
#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <new>
#include <stdexcept>

#include "app/AnimationController.h"
#include "app/AppContext.h"
#include "app/ChildFrame.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProgramLook.h"
#include "app/QtText.h"
#include "app/dialogs/DataEditorDialog.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "app/dialogs/OverviewDialog.h"
#include "base/Cp1252.h"
#include "doc/DocumentChanges.h"
#include "doc/DocumentDialogs.h"
#include "draw/interaction/ViewCommands.h"
#include "platform/WindowPlacement.h"

namespace hp::app {
namespace {

constexpr const char* kOutOfMemory = "Nicht genügend Arbeitsspeicher.";

// A menu text without "&" and shortcut, the key of a command.
QString KeyOf(const QString& text) {
  QString key = text.section('\t', 0, 0);
  key.remove('&');
  return key;
}

// How far each cascaded document window sits right of and below the one
// behind it: the height of its title bar, so every caption stays readable.
int CascadeStep(const QWidget* window) {
  QStyleOptionTitleBar option;
  option.initFrom(window);
  return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
}

QRect RectOf(const platform::ScreenRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

CMainFrame::CMainFrame(AppContext& app, int requestedShow) : m_app(app) {
  setWindowTitle(QStringLiteral("Hollowplan"));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  m_mdi = new QMdiArea(this);
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdi);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::ActiveChildChanged);

  auto& settings = m_app.settings;
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
  connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { Guarded(handler); });
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

void CMainFrame::Guarded(platform::Prompter& prompter, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    prompter.Message(kOutOfMemory, platform::Icon::Stop);
  } catch (const std::length_error&) {
    prompter.Message(kOutOfMemory, platform::Icon::Stop);
  } catch (const std::exception& e) {
    prompter.Message(std::string("Interner Fehler: ") + e.what(), platform::Icon::Stop);
  }
}

void CMainFrame::RestorePlacement(int requestedShow) {
  const auto placement = platform::ParseWindowPlacement(m_app.settings.GetString(kSettings, "WindowPos", ""));
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
  auto& settings = m_app.settings;
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
  connect(&doc, &CPlanDoc::historyChanged, this, &CMainFrame::UpdateCommands);
  // A faulty record the user asked to see opens in the data editor once the
  // command that computed has finished (an open editor shows it itself).
  connect(&doc, &CPlanDoc::loadRequested, this, [this, &doc] {
    QTimer::singleShot(0, this, [this, &doc] {
      if (m_dataWindowsOpen || doc.loadRequest() < 1 || &doc != activeDocument()) return;
      OpenDataWindows({FollowUp::Next::Editor, 0});
    });
  });
  connect(&doc, &CPlanDoc::modifiedChanged, this, &CMainFrame::UpdateCommands);
  connect(&doc, &CPlanDoc::workProgress, this, &CMainFrame::ShowWorkProgress);
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

void CMainFrame::ShowWorkProgress(const QString& text) {
  if (!text.isEmpty()) {
    m_statusPane->setText(text);
  } else if (CPlanView* view = activeView()) {
    m_statusPane->setText(view->statusText());
  } else {
    m_statusPane->setText(QStringLiteral("Bereit"));
  }
}

void CMainFrame::ActiveChildChanged() {
  // The window that comes to the front (another one closed, or the user
  // chose it) shows as the last one the user left: maximised or not.
  if (CChildFrame* child = activeChild();
      child != nullptr && m_showCmd == 3 && child->isVisible() && !child->isMaximized() && m_closing.count(child) == 0)
    child->showMaximized();
  FillWorksheetList();
  ShowWorkProgress(QString());
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
  const doc::DisplayType type = doc != nullptr ? doc->worksheet().displayType() : doc::DisplayTypeOf(-1);
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
  ShowHistorySteps();
  ShowViewValues();  // the direction fields open and close with their buttons
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
  auto& settings = m_app.settings;
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
        case FollowUp::Next::Editor: {
          const size_t taken = doc.history().taken();
          next = RunDataEditor(this, doc, next.recordNumber, view.markedSlot(), withCoordinates);
          withCoordinates = false;
          // An editor that changed records left its steps in the history.
          if (doc.history().taken() == taken) doc.setModified();
          doc.UpdateAllViews();
          break;
        }
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

void CMainFrame::OnViewCommand(int id) {
  WithDocument([id](CPlanDoc& doc, CPlanView& view) {
    const auto viewCommand = draw::ViewCommandFromId(id);
    if (!viewCommand) return;
    if (!draw::ApplyViewCommand(*viewCommand, doc.worksheet(), draw::TurnStep(doc.app().settings),
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
    if (m_worksheetList->findText(text) >= 0 && m_worksheetList->findText(text) != m_worksheetList->currentIndex())
      return;
    doc.Recorded(doc::steps::kRenameWorksheet, doc::DocumentCapture::kWorksheets,
                 [&doc, &name] { doc.worksheet().setSheetDesignation(name); });
    FillWorksheetList();
  });
}

}  // namespace hp::app
