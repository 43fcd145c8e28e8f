// Drawing the worksheet in the window.
#include "app/PlanView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/AppContext.h"
#include "app/BackgroundWork.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/PrinterPage.h"
#include "app/ViewMouse.h"
#include "calc/BlunderSettings.h"
#include "doc/DisplayType.h"
#include "draw/Projection.h"
#include "draw/SpatialDrawing.h"
#include "draw/interaction/LegHighlight.h"
#include "draw/interaction/StatusLine.h"
#include "draw/interaction/ViewCommands.h"
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
// The wheel's angle per notch, in eighths of a degree.
constexpr int kWheelNotch = 120;
// Surveys from this many records on are drawn in the background; while
// other long work runs, the drawing asks again after a while.
constexpr size_t kBackgroundDrawingRecords = 50'000;
constexpr int kBusyRetryMillis = 50;

}  // namespace

CPlanView::CPlanView(CPlanDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(document), m_mouse(std::make_unique<CViewMouse>(*this)) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  // The mouse opens the menu on the right button's release, after a
  // grab-and-drag has had its chance; the menu key and Shift+F10 open it
  // through contextMenuEvent.
  setContextMenuPolicy(Qt::DefaultContextMenu);
  m_mouseMode = draw::MouseModeOf(m_doc.app().settings.GetInt("Settings", "ContextMenu", 0));
  for (const draw::MouseModeEntry& entry : draw::MouseModeEntries()) {
    const MenuText text = ParseMenuText(entry.text);
    auto* action = new QAction(QString::fromStdString(text.text), this);
    action->setShortcut(QKeySequence(QString::fromStdString(text.shortcut), QKeySequence::PortableText));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, mode = entry.mode] {
      if (draw::IsMouseModeEnabled(mode, m_doc.worksheet().displayType())) SetMouseMode(mode);
    });
    addAction(action);
  }
  connect(&m_doc, &CPlanDoc::changed, this, &CPlanView::Redraw);
  connect(&m_doc, &CPlanDoc::positionRequested, this, [this](int number) { WaitForPosition(number - 1); });
  connect(&m_doc, &CPlanDoc::legsShown, this, [this] {
    m_scrollToShown = true;
    Redraw();
  });
  connect(&m_doc, &CPlanDoc::recordsReplaced, this, [this] {
    m_centreCamera = true;
    Redraw();
  });
  connect(&m_doc, &CPlanDoc::worksheetsChanged, this, [this] {
    m_backgroundMap.Reset();
    Redraw();
  });
}

CPlanView::~CPlanView() = default;

void CPlanView::Redraw() {
  m_view.setProjectionDirty(true);
  Refresh();
}

void CPlanView::Refresh() {
  ++m_changes;
  viewport()->update();
}

void CPlanView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  m_view.setProjectionDirty(true);
  ++m_changes;
}

void CPlanView::scrollContentsBy(int, int) {
  if (!m_updatingScrollBars) Refresh();
}

bool CPlanView::Buffered(const QSize& client) const {
  return m_doc.app().settings.GetInt("Settings", "Doublebuffer", 1) != 0 && client.width() < kMaxBufferedWidth &&
         client.height() < kMaxBufferedHeight;
}

bool CPlanView::DrawsInBackground() const {
  return m_doc.store().records.size() >= kBackgroundDrawingRecords &&
         m_doc.worksheet().displayType() != doc::DisplayType::Protocol;
}

void CPlanView::paintEvent(QPaintEvent*) {
  const QSize client = viewport()->size();
  if (client.isEmpty()) return;  // a minimised window has nothing to show
  QPainter window(viewport());
  // While long work runs, and for a window uncovered without any change,
  // the last picture (moved as far as the view scrolled since).
  const bool current = m_pictureChanges == m_changes && m_picture.size() == client;
  const bool busy = m_doc.busy() || m_drawingInBackground;
  if (busy || (current && m_pictureScroll == scrollPosition())) {
    if (m_picture.isNull()) {
      window.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    } else {
      window.drawImage(m_pictureScroll - scrollPosition(), m_picture);
    }
    return;
  }
  if (!Buffered(client)) {
    DrawOn(window, client);
    FinishDrawing(client);
    m_picture = QImage();
  } else if (DrawsInBackground()) {
    // The last picture until the new one is drawn.
    if (!m_picture.isNull()) window.drawImage(m_pictureScroll - scrollPosition(), m_picture);
    if (!m_drawingPending && m_failedChanges != m_changes) {
      m_drawingPending = true;
      QTimer::singleShot(0, this, &CPlanView::DrawInBackground);
    }
    return;
  } else {
    QImage picture(client, QImage::Format_RGB32);
    {
      QPainter painter(&picture);
      DrawOn(painter, client);
    }
    window.drawImage(0, 0, picture);
    KeepPicture(std::move(picture), m_changes);
    FinishDrawing(client);
  }
  AfterDrawing(client);
}

void CPlanView::KeepPicture(QImage picture, uint64_t changes) {
  m_picture = std::move(picture);
  m_pictureScroll = scrollPosition();
  m_pictureChanges = changes;
}

void CPlanView::AfterDrawing(const QSize& client) {
  UpdateScrollBars(client);
  UpdateStatus();
  Q_EMIT drawn();
  ScrollToAnchor();
}

void CPlanView::DrawInBackground() {
  const QSize client = viewport()->size();
  if (client.isEmpty()) {
    m_drawingPending = false;
    return;
  }
  // Other long work (another view's drawing, a compute pass) first.
  if (m_doc.busy() || BackgroundWorkRunning()) {
    QTimer::singleShot(kBusyRetryMillis, this, &CPlanView::DrawInBackground);
    return;
  }
  m_drawingPending = false;
  const uint64_t changes = m_changes;
  const DrawingSetup setup = PrepareDrawing();
  QImage picture(client, QImage::Format_RGB32);
  CThreadPrompter prompter(m_doc.app().prompter);
  m_drawingInBackground = true;
  const auto done = qScopeGuard([this] { m_drawingInBackground = false; });
  try {
    RunInBackground({[&] {
                       QPainter painter(&picture);
                       DrawPrepared(painter, client, setup, prompter);
                     },
                     [] { return QStringLiteral("Zeichnen …"); },
                     {},
                     [this](const QString& text) { Q_EMIT m_doc.workProgress(text); }});
  } catch (...) {
    // The window keeps its last picture until the next change, instead of
    // failing again at every paint.
    m_failedChanges = changes;
    throw;
  }
  m_drawingInBackground = false;
  // A change during the drawing (a resize, a timer's step) is drawn next.
  KeepPicture(std::move(picture), changes);
  m_pictureScroll = setup.scroll;
  FinishDrawing(client);
  viewport()->update();
  AfterDrawing(client);
}

void CPlanView::ScrollToAnchor() {
  if (!m_anchor) return;
  const Anchor anchor = *m_anchor;
  m_anchor.reset();
  if (!m_last.drawn) return;
  const draw::DevicePoint d = draw::ToDevice(anchor.point.x, anchor.point.y, m_last.scale, m_last.ox, m_last.oy);
  const QPoint target = QPoint(d.x, d.y) - anchor.window;
  // Where the drawing fits the window (it is centred there) or the point
  // lies near its edge, the scroll bars alone cannot keep the point under
  // the mouse: they get the room the zoom needs, until the user scrolls
  // back into the drawing's own range.
  m_wheelRoom = true;
  m_updatingScrollBars = true;
  for (auto [bar, v] : {std::pair{horizontalScrollBar(), target.x()}, std::pair{verticalScrollBar(), target.y()}})
    bar->setRange(std::min(bar->minimum(), v), std::max(bar->maximum(), v));
  m_updatingScrollBars = false;
  ScrollTo(target);
}

QPoint CPlanView::scrollPosition() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

void CPlanView::ScrollTo(QPoint position) {
  horizontalScrollBar()->setValue(position.x());
  verticalScrollBar()->setValue(position.y());
}

int CPlanView::screenHeight() const {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->size().height() : 1024;
}

void CPlanView::ViewChanged(bool rebuild) {
  m_doc.setModified();
  if (rebuild) {
    m_doc.UpdateAllViews();
  } else {
    Refresh();
  }
}

void CPlanView::UpdateStatus() {
  const QString status = StatusText();
  if (status != m_status) {
    m_status = status;
    Q_EMIT statusChanged(m_status);
  }
}

void CPlanView::SetMouseMode(draw::MouseMode mode) {
  m_mouseMode = mode;
  m_doc.app().settings.SetInt("Settings", "ContextMenu", draw::MouseModeNumber(mode));
  UpdateStatus();
}

std::unique_ptr<QMenu> CPlanView::CreateContextMenu(std::optional<QPoint> pos) {
  auto menu = std::make_unique<QMenu>(this);
  // Screen readers announce the menu by this name.
  menu->setTitle(QStringLiteral("Mausfunktion"));
  menu->setAccessibleName(menu->title());
  const doc::DisplayType type = m_doc.worksheet().displayType();
  for (const draw::MouseModeEntry& entry : draw::MouseModeEntries()) {
    QAction* action = menu->addAction(QString::fromUtf8(entry.text));
    action->setCheckable(true);
    action->setChecked(entry.mode == m_mouseMode);
    action->setEnabled(draw::IsMouseModeEnabled(entry.mode, type));
    action->setData(entry.commandId);
    connect(action, &QAction::triggered, this, [this, mode = entry.mode, pos] {
      SetMouseMode(mode);
      if (pos) m_mouse->Click(*pos, true);
    });
  }
  return menu;
}

void CPlanView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (event->reason() != QContextMenuEvent::Keyboard || m_doc.worksheet().displayType() == doc::DisplayType::Protocol)
    return;
  std::unique_ptr<QMenu> menu = CreateContextMenu(std::nullopt);
  // The current mode is the menu's active entry, so it is read out first.
  for (QAction* action : menu->actions())
    if (action->isChecked()) menu->setActiveAction(action);
  menu->exec(viewport()->mapToGlobal(viewport()->rect().center()));
}

int CPlanView::currentRecord() const {
  return m_current >= 0 && static_cast<size_t>(m_current) < m_doc.store().records.size() ? m_current : -1;
}

void CPlanView::SetCurrentRecord(int index) {
  m_current = index;
  // The data editor opens on the current record, and its crosshair shows it.
  if (currentRecord() >= 0) m_doc.store().settings.currentRecordNumber = static_cast<uint32_t>(index + 1);
  UpdateStatus();
  Refresh();
}

int CPlanView::MarkedIndex() const {
  // The editor may have deleted the marked record meanwhile.
  if (m_marked == nullptr) return -1;
  const auto& records = m_doc.store().records;
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i].get() == m_marked) return static_cast<int>(i);
  return -1;
}

const doc::SurveyRecord* CPlanView::marked() const { return MarkedIndex() >= 0 ? m_marked : nullptr; }

void CPlanView::SetMarked(const doc::SurveyRecord* record) {
  m_marked = record;
  UpdateStatus();
  Refresh();
}

void CPlanView::WaitForPosition(int index) {
  m_current = index;
  m_waitingForPosition = index >= 0;
  UpdateStatus();
}

void CPlanView::StopWaitingForPosition() {
  m_waitingForPosition = false;
  UpdateStatus();
}

void CPlanView::CancelWaitingForPosition() {
  if (!m_waitingForPosition) return;
  StopWaitingForPosition();
  if (currentRecord() >= 0) Q_EMIT positionCancelled(currentRecord() + 1);
}

void CPlanView::mousePressEvent(QMouseEvent* event) { m_mouse->Press(event->button(), event->position().toPoint()); }

void CPlanView::mouseReleaseEvent(QMouseEvent* event) {
  m_mouse->Release(event->button(), event->position().toPoint());
}

void CPlanView::mouseMoveEvent(QMouseEvent* event) { m_mouse->Move(event->position().toPoint(), event->buttons()); }

void CPlanView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_mouse->DoubleClick(event->position().toPoint());
}

void CPlanView::wheelEvent(QWheelEvent* event) {
  // One step per notch (120); finer wheels and touch pads add up to one.
  // A positive angle turns the wheel away from the user; where the desktop
  // inverts the reported direction, the hand's direction still counts.
  const int angle = event->angleDelta().y();
  m_wheelRest += event->inverted() ? -angle : angle;
  event->accept();
  while (m_wheelRest >= kWheelNotch || m_wheelRest <= -kWheelNotch) {
    const bool towardsUser = m_wheelRest < 0;
    m_wheelRest += towardsUser ? kWheelNotch : -kWheelNotch;
    m_mouse->Wheel(towardsUser, event->position().toPoint());
  }
}

void CPlanView::keyPressEvent(QKeyEvent* event) {
  if (m_waitingForPosition && event->key() == Qt::Key_Escape) {
    CancelWaitingForPosition();
    return;
  }
  const int id = CViewMouse::CommandOfKey(event->key(), event->modifiers());
  if (id != 0 && m_mouse->Key(id)) return;
  QAbstractScrollArea::keyPressEvent(event);
}

CPlanView::DrawingSetup CPlanView::PrepareDrawing() {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  const QSize screenSize = screen != nullptr ? screen->size() : QSize(1280, 1024);
  DrawingSetup setup;
  setup.caps = draw::ScreenCaps({screenSize.width(), screenSize.height()});
  setup.caps.dpiX = logicalDpiX();
  setup.caps.dpiY = logicalDpiY();
  setup.screen = screenSize;
  setup.scroll = scrollPosition();
  setup.picked = MarkedIndex();
  setup.folder = m_doc.folder();
  return setup;
}

void CPlanView::DrawOn(QPainter& painter, const QSize& client) {
  DrawPrepared(painter, client, PrepareDrawing(), m_doc.app().prompter);
}

void CPlanView::DrawPrepared(QPainter& painter, const QSize& client, const DrawingSetup& setup,
                             platform::Prompter& prompter) {
  const doc::SurveyStore& store = m_doc.store();
  doc::Worksheet& worksheet = m_doc.worksheet();
  painter.fillRect(QRect(QPoint(0, 0), client), gfx::ToQColor(draw::ScreenBackground(store, worksheet)));
  painter.translate(-setup.scroll.x(), -setup.scroll.y());
  platform::SystemClock clock;
  draw::WorksheetDrawingOptions options;
  options.window = {client.width(), client.height()};
  options.screen = {setup.screen.width(), setup.screen.height()};
  options.clock = &clock;
  options.backgroundMap = &m_backgroundMap;
  options.documentFolder = setup.folder;
  options.prompter = &prompter;
  draw::ApplySheetReset(worksheet, m_doc.resetFlag());
  const draw::PageSizeMm page = DefaultPrinterPage(worksheet.landscape() != 0);
  options.pageWidthMm = page.width;
  options.pageHeightMm = page.height;
  m_drewProtocol = DrawProtocolOn(painter, setup.caps, client, clock);
  if (m_drewProtocol) return;
  options.pickedRecord = setup.picked;
  options.highlighted = &m_doc.shownLegs();
  gfx::QPainterSurface surface(painter, setup.caps);
  m_last = draw::DrawWorksheet(surface, store, worksheet, m_view, m_doc.app().settings, options);
  // The window shows the worksheet: the document keeps what its drawing
  // worked out, and the sheet and view commands go on from there.
  draw::KeepDrawnSettings(worksheet, m_view, m_last);
}

void CPlanView::FinishDrawing(const QSize& client) {
  if (m_drewProtocol) return;
  if (std::exchange(m_scrollToShown, false) && m_last.drawn) ScrollToShownLegs(client);
  if (m_centreCamera) {
    m_centreCamera = false;
    // The picture just drawn is the old camera's view of the new survey.
    if (draw::CentreCameraOnSurvey(m_view, m_doc.store(), m_doc.worksheet(), client.width(), client.height())) {
      m_doc.setModified();
      Refresh();
    }
  }
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
  QPoint low(left, top), high(std::max(0, width - client.width()), std::max(0, height - client.height()));
  const QPoint now = scrollPosition();
  const bool inside = now.x() >= low.x() && now.x() <= high.x() && now.y() >= low.y() && now.y() <= high.y();
  if (inside) m_wheelRoom = false;
  if (m_wheelRoom) {
    low = QPoint(std::min(low.x(), now.x()), std::min(low.y(), now.y()));
    high = QPoint(std::max(high.x(), now.x()), std::max(high.y(), now.y()));
  }
  m_updatingScrollBars = true;
  horizontalScrollBar()->setRange(low.x(), high.x());
  verticalScrollBar()->setRange(low.y(), high.y());
  horizontalScrollBar()->setPageStep(steps.pageX);
  verticalScrollBar()->setPageStep(steps.pageY);
  horizontalScrollBar()->setSingleStep(steps.lineX);
  verticalScrollBar()->setSingleStep(steps.lineY);
  m_updatingScrollBars = false;
}

QString CPlanView::StatusText() const {
  const int current = currentRecord();
  const doc::SurveyRecord* record = current >= 0 ? m_doc.store().records[static_cast<size_t>(current)].get() : nullptr;
  if (m_waitingForPosition && record != nullptr)
    return QString::fromStdString(draw::PlaceOnMapStatusText(m_doc.worksheet().displayType(), *record));
  const doc::Worksheet& worksheet = *m_doc.store().currentWorksheet;
  std::string text = draw::StatusLineText(worksheet, m_mouseMode, record, marked());
  // The station info in the loop-quality mode adds the leg's worst loop.
  if (record != nullptr && m_mouseMode == draw::MouseMode::StationInfo &&
      doc::LineColourModeOf(worksheet) == doc::kLoopQualityColourMode) {
    const calc::LoopQuality& quality =
        m_view.loopQuality().Get(m_doc.store(), calc::LoadBlunderOptions(m_doc.app().settings));
    text += "      " + draw::LoopFiguresStatusText(quality.WorstLoop(static_cast<size_t>(current)));
  }
  return QString::fromStdString(text);
}

void CPlanView::ScrollToShownLegs(const QSize& client) {
  const auto bounds = draw::LegsDeviceBounds(m_view, m_doc.shownLegs(), m_last.scale, m_last.ox, m_last.oy);
  if (!bounds) return;
  const draw::Point now{horizontalScrollBar()->value(), verticalScrollBar()->value()};
  const draw::Point to = draw::ScrollToShow(*bounds, {client.width(), client.height()}, now,
                                            {horizontalScrollBar()->maximum(), verticalScrollBar()->maximum()});
  if (to == now) return;
  horizontalScrollBar()->setValue(to.x);
  verticalScrollBar()->setValue(to.y);
  Refresh();
}

}  // namespace hp::app
