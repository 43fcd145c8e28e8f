// Drawing the worksheet in the window.
#include "app/PlanView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "draw/StatusLine.h"
#include "gfx/QPainterSurface.h"
#include "platform/Clock.h"

namespace hp::app {
namespace {

// Pictures at least this large are drawn straight onto the window.
constexpr int kMaxBufferedWidth = 3001, kMaxBufferedHeight = 2001;
// Room beyond the drawn area for frame labels, title and page label.
constexpr int kContentMarginX = 90, kContentMarginY = 70;

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
  gfx::QPainterSurface surface(painter, caps);
  m_last = draw::DrawWorksheet(surface, store, worksheet, m_view, App().settings, options);
}

void CPlanView::UpdateScrollBars(const QSize& client) {
  // The drawing scrolls when its area (with the room for its labels) is
  // larger than the window; a line is a tenth, a page 95 % of the window.
  const draw::Rect area = draw::DeviceArea(m_last);
  const int width = m_last.drawn ? area.right + kContentMarginX : 0;
  const int height = m_last.drawn ? area.bottom + kContentMarginY : 0;
  const draw::ScrollSizes steps = draw::ScrollSizesForClient(client.width(), client.height());
  m_updatingScrollBars = true;
  horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
  verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
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
