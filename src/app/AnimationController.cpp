// Flights and spin on a timer between drawings, and the events that stop them.
#include "app/AnimationController.h"
#include "app/BackgroundWork.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "doc/DisplayType.h"

namespace hp::app {
namespace {

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
         key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

}  // namespace

CAnimationController::CAnimationController(CPlanDoc& document, CPlanView& view, QObject* parent)
    : QObject(parent), m_doc(document), m_view(view) {
  m_pause.setSingleShot(true);
  connect(&m_pause, &QTimer::timeout, this, &CAnimationController::NextPicture);
  connect(&m_view, &CPlanView::drawn, this, &CAnimationController::Drawn);
  // Any other change of data, view or worksheet ends flight and spin.
  connect(&m_doc, &CPlanDoc::changed, this, &CAnimationController::Stop);
  connect(&m_doc, &CPlanDoc::worksheetsChanged, this, &CAnimationController::Stop);
  // The view turns itself while the left button drags; the spin takes over
  // with the drag's last horizontal step.
  connect(&m_view, &CPlanView::dragReleased, this, &CAnimationController::StartSpin);
  m_view.installEventFilter(this);
  m_view.viewport()->installEventFilter(this);
}

CAnimationController::~CAnimationController() {
  m_pause.stop();
  m_view.removeEventFilter(this);
  if (QWidget* viewport = m_view.viewport()) viewport->removeEventFilter(this);
}

void CAnimationController::SetRunning(bool running) {
  if (running == m_running) return;
  m_running = running;
  if (!running) m_flight.Reset();
  Q_EMIT runningChanged(running);
}

void CAnimationController::Stop() {
  m_pause.stop();
  m_spinStep = 0;
  SetRunning(false);
}

void CAnimationController::StartOrStop() {
  if (!m_running && !m_toolBarPressed) {
    Stop();
    m_flight.Reset();
    SetRunning(true);
    m_view.setFocus(Qt::OtherFocusReason);
    NextPicture();  // the first picture at once
  } else {
    ShowPosition();
  }
  m_toolBarPressed = false;
}

void CAnimationController::ShowPosition() {
  Stop();
  draw::ShowCurrentPosition(m_doc.worksheet());
  m_view.Redraw();
}

void CAnimationController::RunCommand(draw::AnimationCommand command, std::string_view typed) {
  using draw::AnimationCommand;
  doc::Worksheet& ws = m_doc.worksheet();
  if (!draw::IsAnimationCommandEnabled(command, ws)) return;
  bool modified = true;
  switch (command) {
    case AnimationCommand::First:
    case AnimationCommand::Previous:
    case AnimationCommand::Next:
    case AnimationCommand::Last:
      if (!draw::GoToPosition(command, ws)) return;
      modified = false;
      break;
    case AnimationCommand::Typed:
      if (!draw::GoToTypedPosition(typed, ws)) return;
      modified = false;
      break;
    case AnimationCommand::Insert:
      if (!draw::InsertPosition(ws)) return;
      break;
    case AnimationCommand::Save:
      if (!draw::SavePosition(ws)) return;
      break;
    case AnimationCommand::Delete:
      if (!draw::DeletePosition(ws)) return;
      break;
    case AnimationCommand::Circle: draw::MakeCircleAnimation(ws); break;
    case AnimationCommand::Endless:
      Stop();
      draw::ToggleEndless(ws);
      m_doc.setModified();
      m_doc.UpdateAllViews();
      return;
    case AnimationCommand::Start: StartOrStop(); return;
  }
  ShowPosition();
  if (modified) m_doc.setModified();
  m_doc.UpdateAllViews();
}

void CAnimationController::StartSpin(int step) {
  if (step == 0 || !doc::Spins(m_doc.worksheet().displayType())) return;
  Stop();
  m_spinStep = step;
  if (!m_pause.isActive()) m_pause.start(draw::AnimationPause(m_doc.app().settings));
}

void CAnimationController::ToolBarPressed() {
  // A press that stops the flight must not start it again when it turns out
  // to be a click on "Animation starten".
  if (m_running) m_toolBarPressed = true;
  Stop();
}

void CAnimationController::ToolBarReleased() {
  // The click's command has run by now (or there was none).
  QTimer::singleShot(0, this, [this] { m_toolBarPressed = false; });
}

void CAnimationController::Drawn() {
  if ((m_running || m_spinStep != 0) && !m_pause.isActive()) m_pause.start(draw::AnimationPause(m_doc.app().settings));
}

void CAnimationController::NextPicture() {
  // The next picture waits until the drawing or compute pass in the
  // background has ended; the picture it leaves starts the pause again.
  if (BackgroundWorkRunning()) return;
  doc::Worksheet& ws = m_doc.worksheet();
  if (m_running) {
    m_spinStep = 0;
    const draw::AnimationFlight::Step step = m_flight.NextPicture(ws);
    if (!step.running) SetRunning(false);
    if (step.shown) m_view.Redraw();
  } else if (m_spinStep != 0) {
    draw::SpinView(ws, m_spinStep);
    m_view.Redraw();
  }
}

bool CAnimationController::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: Stop(); break;
    case QEvent::Resize:
      if (watched == &m_view) Stop();
      break;
    case QEvent::FocusOut:
      // An opened menu takes the focus only for a moment.
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) Stop();
      break;
    case QEvent::KeyPress:
      if (!IsModifierKey(static_cast<QKeyEvent*>(event)->key())) Stop();
      break;
    default: break;
  }
  return false;  // the view handles every event itself as well
}

}  // namespace hp::app
