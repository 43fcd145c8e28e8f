// The main window's menu "&Animation" and its tool bar "Animation": the
// position commands, the position field, the pictures per position and the
// options; a press on any tool bar stops the flight of the active document.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <functional>

#include "app/AnimationController.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/ProgramLook.h"
#include "app/dialogs/AnimationOptionsDialog.h"
#include "draw/animation/Animation.h"
#include "draw/interaction/ViewCommands.h"

namespace hp::app {
namespace {

using draw::AnimationCommand;

struct AnimationItem {
  AnimationCommand command;
  const char* menuText;
  const char* statusText;
  const char* themeIcon;  // also the name of the program's own drawing
};

constexpr AnimationItem kItems[] = {
    {AnimationCommand::Start, "&Animation starten\tStrg+Gr+A", "Startet oder beendet die Animation.",
     "media-playback-start"},
    {AnimationCommand::Endless, "Endlos-Animation", "Wiederholt die Animation ohne Ende.", "media-playlist-repeat"},
    {AnimationCommand::First, "&Erste Position", "Zeigt die erste Position.", "media-skip-backward"},
    {AnimationCommand::Previous, "&Vorherige Position\tStrg+Gr+Links", "Zeigt die vorherige Position.",
     "media-seek-backward"},
    {AnimationCommand::Next, "&Nächste Position\tStrg+Gr+Rechts", "Zeigt die nächste Position.", "media-seek-forward"},
    {AnimationCommand::Last, "&Letzte Position", "Zeigt die letzte Position.", "media-skip-forward"},
    {AnimationCommand::Circle, "&Kreis-Animation anlegen\tStrg+Gr+K",
     "Ersetzt die Positionen durch einen Kreis um die Höhle.", "view-refresh"},
    {AnimationCommand::Insert, "Position ein&fügen\tStrg+Gr+E", "Fügt die aktuelle Ansicht als Position ein.",
     "list-add"},
    {AnimationCommand::Save, "Position &speichern\tStrg+Gr+S", "Speichert die aktuelle Ansicht in der Position.",
     "document-save-as"},
    {AnimationCommand::Delete, "Position lös&chen", "Löscht die aktuelle Position.", "list-remove"},
};

const AnimationItem& Item(AnimationCommand command) {
  for (const AnimationItem& item : kItems)
    if (item.command == command) return item;
  return kItems[0];
}

// Reports mouse presses and releases on the main window's tool bars.
class CToolBarPressWatcher : public QObject {
 public:
  CToolBarPressWatcher(std::vector<QToolBar*> bars, std::function<void(bool pressed)> report, QObject* parent)
      : QObject(parent), m_bars(std::move(bars)), m_report(std::move(report)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    for (QToolBar* bar : m_bars) {
      if (bar == widget || bar->isAncestorOf(widget)) {
        m_report(type == QEvent::MouseButtonPress);
        break;
      }
    }
    return false;
  }

 private:
  std::vector<QToolBar*> m_bars;
  std::function<void(bool)> m_report;
};

}  // namespace

void CMainFrame::WithAnimation(const std::function<void(CAnimationController&)>& command) {
  CChildFrame* child = activeChild();
  if (child == nullptr) return;
  command(child->animation());
  UpdateCommands();
}

void CMainFrame::CreateAnimationMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("&Animation"));
  const auto add = [this, menu](AnimationCommand which) {
    const AnimationItem& item = Item(which);
    QAction* action = AddCommand(
        menu, item.menuText, item.statusText,
        [this, which] { WithAnimation([which](CAnimationController& a) { a.RunCommand(which); }); },
        [this, which] {
          const CPlanDoc* doc = activeDocument();
          return doc != nullptr && draw::IsAnimationCommandEnabled(which, *doc->store().currentWorksheet);
        });
    action->setIcon(ToolIcon(QString::fromUtf8(item.themeIcon), QString::fromUtf8(item.themeIcon)));
    return action;
  };
  m_startAction = add(AnimationCommand::Start);
  m_startAction->setCheckable(true);
  m_endlessAction = add(AnimationCommand::Endless);
  m_endlessAction->setCheckable(true);
  menu->addSeparator();
  for (const auto which :
       {AnimationCommand::First, AnimationCommand::Previous, AnimationCommand::Next, AnimationCommand::Last})
    add(which);
  menu->addSeparator();
  for (const auto which :
       {AnimationCommand::Circle, AnimationCommand::Insert, AnimationCommand::Save, AnimationCommand::Delete})
    add(which);
  menu->addSeparator();
  // Not kept among the commands by its text: the document menu has an
  // "&Optionen..." of its own.
  QAction* options = menu->addAction(QStringLiteral("&Optionen..."));
  options->setStatusTip(QStringLiteral("Legt die Pause zwischen den Bildern der Animation fest."));
  connect(options, &QAction::triggered, this, [this] { Guarded([this] { RunAnimationOptionsDialog(m_app, this); }); });
}

void CMainFrame::CreateAnimationBar() {
  m_animationBar = addToolBar(QStringLiteral("Animation"));
  m_animationBar->setObjectName(QStringLiteral("Animation"));
  const auto button = [this](AnimationCommand which) {
    const MenuText parsed = ParseMenuText(Item(which).menuText);
    m_animationBar->addAction(command(QString::fromStdString(parsed.text)));
  };
  const auto field = [this](const char* prompt, int width, std::function<void(const QString&)> apply) {
    auto* edit = new QLineEdit(m_animationBar);
    edit->setMaximumWidth(width);
    edit->setStatusTip(QString::fromUtf8(prompt));
    edit->setToolTip(QString::fromUtf8(prompt));
    connect(edit, &QLineEdit::returnPressed, this, [this, edit, apply = std::move(apply)] {
      Guarded([&] { apply(edit->text()); });
      edit->clearFocus();
      UpdateCommands();
    });
    m_animationBar->addWidget(edit);
    return edit;
  };
  button(AnimationCommand::First);
  button(AnimationCommand::Previous);
  m_positionField = field("Position eingeben.", 50, [this](const QString& text) {
    WithAnimation([&text](CAnimationController& a) { a.RunCommand(AnimationCommand::Typed, text.toStdString()); });
  });
  button(AnimationCommand::Next);
  button(AnimationCommand::Last);
  m_animationBar->addSeparator();
  button(AnimationCommand::Insert);
  button(AnimationCommand::Save);
  button(AnimationCommand::Delete);
  m_animationBar->addSeparator();
  button(AnimationCommand::Circle);
  button(AnimationCommand::Endless);
  button(AnimationCommand::Start);
  m_picturesField = field("Anzahl der Bilder zwischen zwei Positionen eingeben.", 60, [this](const QString& text) {
    WithDocument([&text](CPlanDoc& doc, CPlanView&) {
      const int before = doc.worksheet().picturesPerPosition();
      if (!draw::ApplyPicturesPerPosition(text.toStdString(), doc.worksheet())) return;
      if (doc.worksheet().picturesPerPosition() != before) doc.setModified();
      doc.UpdateAllViews();
    });
  });

  QAction* toggle = m_animationBar->toggleViewAction();
  toggle->setText(QStringLiteral("&Animation"));
  m_viewMenu->addAction(toggle);

  qApp->installEventFilter(new CToolBarPressWatcher(
      {m_standardBar, m_directionBar, m_animationBar},
      [this](bool pressed) {
        CChildFrame* child = activeChild();
        if (child == nullptr) return;
        if (pressed) child->animation().ToolBarPressed();
        else child->animation().ToolBarReleased();
      },
      this));
}

void CMainFrame::ShowAnimationValues() {
  CPlanDoc* doc = activeDocument();
  const doc::Worksheet* ws = doc != nullptr ? doc->store().currentWorksheet : nullptr;
  const bool camera = ws != nullptr && draw::IsAnimationCommandEnabled(AnimationCommand::Typed, *ws);
  const auto show = [camera](QLineEdit* edit, const std::string& text) {
    if (!edit->hasFocus()) edit->setText(QString::fromStdString(text));
    edit->setEnabled(camera);
  };
  show(m_positionField, ws != nullptr ? draw::PositionFieldText(*ws) : std::string());
  show(m_picturesField, ws != nullptr ? draw::ToolBarValues(*ws).picturesPerPosition : std::string());
  CChildFrame* child = activeChild();
  m_startAction->setChecked(child != nullptr && child->animation().isRunning());
  m_endlessAction->setChecked(ws != nullptr && ws->endlessAnimation() != 0);
}

}  // namespace hp::app
