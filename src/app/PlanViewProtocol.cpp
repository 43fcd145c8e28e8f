// The survey protocol in the drawing window: its page drawn on the window and
// its clipboard text. Keys and wheel page it through CViewMouse.
#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "draw/protocol/Protocol.h"
#include "gfx/QPainterSurface.h"

namespace hp::app {
namespace {

bool ShowsProtocol(CPlanDoc& doc) { return doc.worksheet().displayType() == doc::DisplayType::Protocol; }

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
  const draw::ProtocolDrawingResult drawn =
      draw::DrawProtocol(surface, m_doc.store(), m_doc.worksheet(), m_view, m_doc.app().settings, options);
  draw::KeepProtocolPages(m_doc.worksheet(), drawn);
  return true;
}

QString CPlanView::ProtocolText() {
  return QString::fromStdString(
      draw::ProtocolClipboardText(m_doc.store(), m_doc.worksheet(), m_view, m_doc.app().settings));
}

}  // namespace hp::app
