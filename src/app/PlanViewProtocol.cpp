// The survey protocol in the drawing window: its page drawn on the window,
// paging by keys and wheel, and its clipboard text.
#include <QKeyEvent>
#include <QWheelEvent>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "gfx/QPainterSurface.h"

namespace hp::app {
namespace {

bool ShowsProtocol(CPlanDoc& doc) { return doc.worksheet().displayKind() == doc::DisplayType::Protocol; }

}  // namespace

bool CPlanView::DrawProtocolOn(QPainter& painter, draw::DeviceCaps caps, const QSize& client,
                               const platform::Clock& clock) {
  if (!ShowsProtocol(m_doc)) return false;
  m_last = {};
  // The window is the page: the protocol's lines fill its height.
  caps.widthPixels = client.width();
  caps.heightPixels = client.height();
  gfx::QPainterSurface surface(painter, caps);
  draw::ProtocolDrawingOptions options;
  options.clock = &clock;
  draw::DrawProtocol(surface, m_doc.store(), m_doc.worksheet(), m_view, App().settings, options);
  return true;
}

bool CPlanView::PageProtocol(draw::ProtocolPageStep step) {
  if (!ShowsProtocol(m_doc) || !draw::StepProtocolPage(m_doc.worksheet(), step)) return false;
  m_doc.setModified();
  viewport()->update();
  return true;
}

bool CPlanView::ProtocolWheel(QWheelEvent* event) {
  if (!ShowsProtocol(m_doc)) return false;
  const int delta = event->angleDelta().y();
  if (delta != 0) PageProtocol(delta > 0 ? draw::ProtocolPageStep::Next : draw::ProtocolPageStep::Previous);
  event->accept();
  return true;
}

bool CPlanView::ProtocolKey(QKeyEvent* event) {
  if (!ShowsProtocol(m_doc)) return false;
  switch (event->key()) {
    case Qt::Key_Home: PageProtocol(draw::ProtocolPageStep::First); break;
    case Qt::Key_End: PageProtocol(draw::ProtocolPageStep::Last); break;
    case Qt::Key_PageUp:
    case Qt::Key_Up: PageProtocol(draw::ProtocolPageStep::Previous); break;
    case Qt::Key_PageDown:
    case Qt::Key_Down: PageProtocol(draw::ProtocolPageStep::Next); break;
    default: return false;
  }
  event->accept();
  return true;
}

QString CPlanView::ProtocolText() {
  return QString::fromStdString(
      draw::ProtocolClipboardText(m_doc.store(), m_doc.worksheet(), m_view, App().settings));
}

}  // namespace hp::app
