// Drawing the worksheet in the window.
#include "app/PlanView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/PrintCommands.h"
#include "draw/Projection.h"
#include "draw/SpatialDrawing.h"
#include "draw/StatusLine.h"
#include "draw/ViewCommands.h"
#include "gfx/QPainterSurface.h"
#include "platform/Clock.h"

namespace hp::app {
namespace {

// Pictures at least this large are drawn straight onto the window.
constexpr int kMaxBufferedWidth = 3001, kMaxBufferedHeight = 2001;
// Room beyond the drawn area for frame labels, title and page label.
constexpr int kContentMarginX = 90, kContentMarginY = 70;
// Room around a frame box that reaches beyond the drawn area.
constexpr int kFrameBoxMargin = 10;

}  // namespace

CPlanView::CPlanView(CPlanDoc& document, QWidget* parent) : QAbstractScrollArea(parent), m_doc(document) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  connect(&m_doc, &CPlanDoc::changed, this, &CPlanView::Redraw);
  connect(&m_doc, &CPlanDoc::worksheetsChanged, this, [this] {
    m_backgroundMap.Reset();
    Redraw();
  });
}

void CPlanView::Redraw() {
  m_view.setProjectionDirty(true);
  viewport()->update();
}

void CPlanView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  m_view.setProjectionDirty(true);
}

void CPlanView::scrollContentsBy(int, int) {
  if (!m_updatingScrollBars) viewport()->update();
}

void CPlanView::wheelEvent(QWheelEvent* event) {
  if (!ProtocolWheel(event)) QAbstractScrollArea::wheelEvent(event);
}

void CPlanView::keyPressEvent(QKeyEvent* event) {
  if (!ProtocolKey(event)) QAbstractScrollArea::keyPressEvent(event);
}

void CPlanView::paintEvent(QPaintEvent*) {
  const QSize client = viewport()->size();
  if (client.isEmpty()) return;  // a minimised window has nothing to show
  QPainter window(viewport());
  const bool buffered = App().settings.GetInt("Settings", "Doublebuffer", 1) != 0 &&
                        client.width() < kMaxBufferedWidth && client.height() < kMaxBufferedHeight;
  if (!buffered) {
    DrawOn(window, client);
  } else {
    QImage picture(client, QImage::Format_RGB32);
    {
      QPainter painter(&picture);
      DrawOn(painter, client);
    }
    window.drawImage(0, 0, picture);
  }
  UpdateScrollBars(client);
  const QString status = StatusText();
  if (status != m_status) {
    m_status = status;
    Q_EMIT statusChanged(m_status);
  }
  Q_EMIT drawn();
}

void CPlanView::DrawOn(QPainter& painter, const QSize& client) {
  const doc::SurveyStore& store = m_doc.store();
  doc::Worksheet& worksheet = m_doc.worksheet();
  painter.fillRect(QRect(QPoint(0, 0), client), gfx::ToQColor(draw::ScreenBackground(store, worksheet)));
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  const QSize screenSize = screen != nullptr ? screen->size() : QSize(1280, 1024);

  draw::DeviceCaps caps = draw::ScreenCaps({screenSize.width(), screenSize.height()});
  caps.dpiX = logicalDpiX();
  caps.dpiY = logicalDpiY();
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  platform::SystemClock clock;
  draw::WorksheetDrawingOptions options;
  options.window = {client.width(), client.height()};
  options.screen = {screenSize.width(), screenSize.height()};
  options.clock = &clock;
  options.backgroundMap = &m_backgroundMap;
  options.documentFolder = m_doc.folder();
  options.prompter = &App().prompter;
  options.resetFlag = &m_doc.resetFlag();
  const draw::PageSizeMm page = DefaultPrinterPage(worksheet.landscape() != 0);
  options.pageWidthMm = page.width;
  options.pageHeightMm = page.height;
  if (DrawProtocolOn(painter, caps, client, clock)) return;
  gfx::QPainterSurface surface(painter, caps);
  m_last = draw::DrawWorksheet(surface, store, worksheet, m_view, App().settings, options);
}

// The device rectangle of the frame box of a perspective or red-green
// drawing: its near corners may lie beyond the drawn area, left of or above
// the window's origin. Empty for the other drawings.
QRect CPlanView::FrameBoxArea() const {
  QRect box;
  const doc::Worksheet& worksheet = *m_doc.store().currentWorksheet;
  // The camera view (the one with a viewing distance) always fills the window.
  if (!m_last.drawn || draw::IsViewFieldEnabled(draw::ViewField::Distance, worksheet.displayType())) return box;
  for (const draw::SpatialFrameLine& line : draw::SpatialFrameGeometry(m_view, worksheet)) {
    for (const draw::Vec3& p : {line.from, line.to}) {
      const draw::Vec3 q = draw::ProjectPoint(m_view.matrix(), p);
      const double x = q.x * m_last.scale, y = q.y * m_last.scale;
      if (q.z == draw::kHiddenDepth || !std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e6 ||
          std::fabs(y) > 1e6)
        continue;
      const draw::DevicePoint d = draw::ToDevice(q.x, q.y, m_last.scale, m_last.ox, m_last.oy);
      box |= QRect(d.x, d.y, 1, 1);
    }
  }
  return box;
}

void CPlanView::UpdateScrollBars(const QSize& client) {
  // The drawing scrolls when its area (with the room for its labels) is
  // larger than the window; a line is a tenth, a page 95 % of the window.
  // A frame box reaching left of or above the window scrolls there too.
  const draw::Rect area = draw::DeviceArea(m_last);
  const QRect box = FrameBoxArea();
  const int left = box.isEmpty() ? 0 : std::min(0, box.left() - kFrameBoxMargin);
  const int top = box.isEmpty() ? 0 : std::min(0, box.top() - kFrameBoxMargin);
  const int width = m_last.drawn ? std::max(area.right + kContentMarginX, box.right() + kFrameBoxMargin) : 0;
  const int height = m_last.drawn ? std::max(area.bottom + kContentMarginY, box.bottom() + kFrameBoxMargin) : 0;
  const draw::ScrollSizes steps = draw::ScrollSizesForClient(client.width(), client.height());
  m_updatingScrollBars = true;
  horizontalScrollBar()->setRange(left, std::max(0, width - client.width()));
  verticalScrollBar()->setRange(top, std::max(0, height - client.height()));
  horizontalScrollBar()->setPageStep(steps.pageX);
  verticalScrollBar()->setPageStep(steps.pageY);
  horizontalScrollBar()->setSingleStep(steps.lineX);
  verticalScrollBar()->setSingleStep(steps.lineY);
  m_updatingScrollBars = false;
}

QString CPlanView::StatusText() const {
  const int mouseMode = App().settings.GetInt("Settings", "ContextMenu", 0);
  return QString::fromStdString(draw::StatusLineText(*m_doc.store().currentWorksheet, mouseMode, nullptr, nullptr));
}

}  // namespace hp::app
