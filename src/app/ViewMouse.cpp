// Mouse modes, picking, rubber bands, drag turning, wheel and keys.
#include "app/ViewMouse.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QRect>
#include <QRubberBand>
#include <QScrollBar>

#include "app/PlanDoc.h"
#include "doc/DocumentChanges.h"
#include "draw/interaction/ViewCommands.h"
#include "draw/interaction/ViewInteraction.h"
#include "draw/protocol/Protocol.h"

namespace hp::app {
namespace {

using doc::DisplayType;

draw::DevicePoint Device(QPoint p) { return {p.x(), p.y()}; }

}  // namespace

CViewMouse::CViewMouse(Host& view) : m_view(view) {}

CViewMouse::~CViewMouse() = default;

void CViewMouse::Press(Qt::MouseButton button, QPoint window) {
  doc::Worksheet& ws = m_view.document().worksheet();
  const DisplayType type = ws.displayType();
  const draw::MouseMode mode = m_view.mouseMode();
  m_down = m_last = window;
  m_dragged = false;
  m_lastDx = 0;
  if (button == Qt::RightButton) {
    m_right = true;
    return;
  }
  if (button != Qt::LeftButton) return;
  m_left = true;
  if (!doc::IsPlaneType(type) || !m_view.lastDrawing().drawn || m_view.waitingForPosition()) return;
  if (mode == draw::MouseMode::Overview) {
    m_band = Band::Overview;
  } else if (mode == draw::MouseMode::Sheets && ws.manualSubSheets() != 0) {
    m_band = Band::SubSheets;
  }
  if (m_band == Band::None) return;
  if (m_rubberBand == nullptr) m_rubberBand = new QRubberBand(QRubberBand::Rectangle, m_view.scrollArea().viewport());
  m_rubberBand->setGeometry(QRect(window, window).normalized());
  m_rubberBand->show();
}

void CViewMouse::Move(QPoint window, Qt::MouseButtons held) {
  const int dx = window.x() - m_last.x(), dy = window.y() - m_last.y();
  if (dx == 0 && dy == 0) return;
  m_last = window;
  if (m_band != Band::None) {
    m_rubberBand->setGeometry(QRect(m_down, window).normalized());
    return;
  }
  doc::Worksheet& ws = m_view.document().worksheet();
  const DisplayType type = ws.displayType();
  const bool left = held.testFlag(Qt::LeftButton) && m_left, right = held.testFlag(Qt::RightButton) && m_right;
  if (!left && !right) return;
  if (!draw::IsClick(Device(m_down), Device(window))) m_dragged = true;
  const double sceneSize = m_view.viewTransform().sceneSize();
  if (doc::Spins(type) && left && !right) {
    draw::DragTurn(ws, dx, dy);
    m_dragged = true;
    m_lastDx = dx;
    m_view.ViewChanged(true);
  } else if (doc::IsCameraType(type) && right) {
    const double f = draw::CameraFactor(sceneSize, ws, m_view.screenHeight(), draw::kCameraPanPer);
    if (left) {
      draw::DragCameraDistance(ws, dy, f);
    } else {
      draw::PanCamera(ws, dx, dy, f);
    }
    m_view.ViewChanged(true);
  } else if (right && !left && type != DisplayType::Protocol) {
    m_view.ScrollTo(m_view.scrollPosition() - QPoint(dx, dy));
  }
}

void CViewMouse::Release(Qt::MouseButton button, QPoint window) {
  if (button == Qt::RightButton) {
    const bool menu = m_right && !m_dragged && !m_left;
    m_right = false;
    const DisplayType type = m_view.document().worksheet().displayType();
    if (menu && type != DisplayType::Protocol) {
      if (auto popup = m_view.CreateContextMenu(window)) {
        popup->exec(m_view.scrollArea().viewport()->mapToGlobal(window));
      }
    }
    return;
  }
  if (button != Qt::LeftButton || !m_left) return;
  m_left = false;
  if (m_band != Band::None) {
    EndBand(window);
    return;
  }
  const DisplayType type = m_view.document().worksheet().displayType();
  if (doc::Spins(type) && m_dragged) {
    m_view.DragEnded(m_lastDx);
    return;
  }
  Click(window);
}

void CViewMouse::EndBand(QPoint window) {
  const Band band = m_band;
  m_band = Band::None;
  m_rubberBand->hide();
  if (draw::IsClick(Device(m_down), Device(window))) {
    Click(window);
    return;
  }
  doc::Worksheet& ws = m_view.document().worksheet();
  const draw::DeviceMapping m = m_view.mapping();
  const QPoint scroll = m_view.scrollPosition();
  const draw::PlanePoint a = draw::DeviceToDrawing(Device(m_down + scroll), m);
  const draw::PlanePoint b = draw::DeviceToDrawing(Device(window + scroll), m);
  const draw::PlaneRect rect = draw::DeviceRectToDrawing(Device(m_down + scroll), Device(window + scroll), m);
  if (band == Band::Overview) {
    if (ws.manualOverview() == 0) {
      draw::SetOverviewFromRubberBand(ws, rect);
    } else {
      draw::MoveOverview(ws, b.x - a.x, b.y - a.y);
    }
  } else if (ws.showSubSheets() == 0) {
    draw::SetSubSheetFromRubberBand(ws, rect);
  } else {
    draw::MoveSubSheets(ws, b.x - a.x, b.y - a.y);
  }
  m_view.ViewChanged(true);
}

int CViewMouse::Pick(QPoint window) {
  // The slots must belong to the picture on the screen: a pending change is
  // drawn first.
  if (m_view.viewTransform().projectionDirty()) m_view.scrollArea().viewport()->repaint();
  if (!m_view.lastDrawing().drawn) return -1;
  const DisplayType type = m_view.document().worksheet().displayType();
  return draw::PickStation(m_view.document().store(), m_view.viewTransform().slots(), m_view.mapping(),
                           Device(window + m_view.scrollPosition()), doc::IsCameraType(type));
}

void CViewMouse::Click(QPoint window, bool fromMenu) {
  doc::Worksheet& ws = m_view.document().worksheet();
  const DisplayType type = ws.displayType();
  const draw::MouseMode mode = m_view.mouseMode();
  if (m_view.waitingForPosition()) {
    const int current = m_view.currentRecord();
    draw::PlacedPoint placed;
    if (current < 0 || !m_view.lastDrawing().drawn) return;
    const draw::PlanePoint p = draw::DeviceToDrawing(Device(window + m_view.scrollPosition()), m_view.mapping());
    if (!draw::PlaceFromDrawing(type, p, m_view.viewTransform().ProjectPoint({0, 0, 0}), placed)) return;
    CPlanDoc& doc = m_view.document();
    doc::SurveyRecord record = *doc.store().records[static_cast<size_t>(current)];
    draw::ApplyPlacement(record, placed);
    doc.Record(
        doc::SpliceRecords(doc.store(), doc::ChangeRecordName(current + 1), static_cast<size_t>(current), 1, {record}));
    m_view.StopWaitingForPosition();
    doc.UpdateAllViews();
    return;
  }
  const bool picks =
      (doc::IsPlaneType(type) || type == DisplayType::Perspective)
          ? (mode == draw::MouseMode::Edit || mode == draw::MouseMode::Mark || mode == draw::MouseMode::StationInfo)
          : doc::IsCameraType(type) && mode != draw::MouseMode::Sheets && mode != draw::MouseMode::PrintArea &&
                mode != draw::MouseMode::Overview;
  if (picks) {
    const int index = Pick(window);
    if (index >= 0) PickedInMode(index, fromMenu);
    return;
  }
  if (!doc::IsPlaneType(type) || !m_view.lastDrawing().drawn) return;
  const draw::PlanePoint p = draw::DeviceToDrawing(Device(window + m_view.scrollPosition()), m_view.mapping());
  bool changed = false;
  switch (mode) {
    case draw::MouseMode::Overview:
      draw::ResetOverview(ws);
      changed = true;
      break;
    case draw::MouseMode::Sheets: changed = draw::SelectSheetAt(ws, p); break;
    case draw::MouseMode::PrintArea: changed = draw::TogglePrintAreaAt(ws, p); break;
    default: break;
  }
  if (changed) m_view.ViewChanged(true);
}

void CViewMouse::PickedInMode(int index, bool fromMenu) {
  switch (m_view.mouseMode()) {
    case draw::MouseMode::Edit:
      m_view.SetCurrentRecord(index);
      m_view.AskForEditor(index);
      break;
    case draw::MouseMode::StationInfo: m_view.SetCurrentRecord(index); break;
    case draw::MouseMode::Mark:
      // A first click marks, the second measures to its station; the next
      // click starts a new measurement.
      if (fromMenu || m_view.marked() == nullptr || m_measured) {
        m_view.SetMarked(m_view.document().store().records[static_cast<size_t>(index)].get());
        m_view.SetCurrentRecord(-1);
        m_measured = false;
      } else {
        m_view.SetCurrentRecord(index);
        m_measured = true;
      }
      break;
    case draw::MouseMode::Centre: {
      doc::Worksheet& ws = m_view.document().worksheet();
      const doc::SurveyRecord& r = *m_view.document().store().records[static_cast<size_t>(index)];
      ws.setViewCentreX(r.x);
      ws.setViewCentreY(r.y);
      ws.setViewCentreZ(r.z);
      m_view.SetCurrentRecord(index);
      m_view.ViewChanged(true);
      break;
    }
    default: break;
  }
}

void CViewMouse::DoubleClick(QPoint window) {
  const DisplayType type = m_view.document().worksheet().displayType();
  if (type == DisplayType::Protocol || type == DisplayType::RedGreen || m_view.waitingForPosition()) return;
  const int index = Pick(window);
  if (index < 0) return;
  m_view.SetCurrentRecord(index);
  m_view.AskForEditor(index);
}

void CViewMouse::Wheel(bool towardsUser, QPoint window) {
  doc::Worksheet& ws = m_view.document().worksheet();
  const DisplayType type = ws.displayType();
  if (doc::IsCameraType(type)) {
    draw::ApplyViewCommand(towardsUser ? draw::ViewCommand::Nearer : draw::ViewCommand::Farther, ws, 0,
                           m_view.viewTransform().sceneSize());
  } else if (type == DisplayType::Protocol) {
    if (!draw::StepProtocolPage(ws, towardsUser ? draw::ProtocolPageStep::Next : draw::ProtocolPageStep::Previous))
      return;
  } else if (doc::IsDrawnType(type)) {
    if (m_view.lastDrawing().drawn) {
      m_view.ScrollAfterDrawing(draw::DeviceToDrawing(Device(window + m_view.scrollPosition()), m_view.mapping()),
                                window);
    }
    ws.setZoomPercent(draw::WheelZoom(ws.zoomPercent(), towardsUser));
    m_view.ViewChanged(false);
    return;
  } else {
    return;
  }
  m_view.ViewChanged(true);
}

int CViewMouse::CommandOfKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  if (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::ShiftModifier)) return 0;
  switch (key) {
    case Qt::Key_Home: return ctrl ? 32778 : 32798;
    case Qt::Key_End: return ctrl ? 32780 : 32799;
    case Qt::Key_Left: return ctrl ? 32795 : 32775;
    case Qt::Key_Right: return ctrl ? 32796 : 32776;
    case Qt::Key_Up: return ctrl ? 32794 : 32774;
    case Qt::Key_Down: return ctrl ? 32797 : 32773;
    case Qt::Key_PageDown: return ctrl ? 0 : 32800;
    case Qt::Key_PageUp: return ctrl ? 0 : 32801;
    default: return 0;
  }
}

bool CViewMouse::Key(int id) {
  doc::Worksheet& ws = m_view.document().worksheet();
  const DisplayType type = ws.displayType();
  switch (id) {
    case 32794:
    case 32797:
      if (doc::IsCameraType(type)) {
        draw::ApplyViewCommand(id == 32794 ? draw::ViewCommand::Farther : draw::ViewCommand::Nearer, ws, 0,
                               m_view.viewTransform().sceneSize());
        m_view.ViewChanged(true);
        return true;
      }
      [[fallthrough]];
    case 32795:
    case 32796:
    case 32798:
    case 32799:
    case 32800:
    case 32801:
      // Without sub-sheets the keys keep their scrolling.
      if (!draw::NavigateSheet(ws, id)) return false;
      m_view.ViewChanged(true);
      return true;
    case 32773:
    case 32774:
    case 32775:
    case 32776: {
      if (doc::IsCameraType(type)) {
        const double step =
            draw::CameraFactor(m_view.viewTransform().sceneSize(), ws, m_view.screenHeight(), draw::kCameraStepPer);
        if (draw::MoveCamera(ws, id, step)) m_view.ViewChanged(true);
        return true;
      }
      // The protocol's page does not scroll: up and down turn its pages.
      if (type == DisplayType::Protocol) return (id == 32773 || id == 32774) && Key(id == 32774 ? 32801 : 32800);
      QScrollBar* bar = id == 32775 || id == 32776 ? m_view.scrollArea().horizontalScrollBar()
                                                   : m_view.scrollArea().verticalScrollBar();
      bar->triggerAction(id == 32776 || id == 32773 ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
      return true;
    }
    case 32780: m_view.scrollArea().verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum); return true;
    case 32778: m_view.scrollArea().verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum); return true;
    default: return false;
  }
}

}  // namespace hp::app
