// The drawing window of a document: shows the current worksheet through the
// plane or spatial drawing, double-buffered, and scrolls when the drawing is
// larger than the window. Mouse, wheel and keys go to CViewMouse, which
// picks stations, measures, zooms, lays down sheets and moves the camera;
// the view is its host.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

class QPainter;

#include "app/ViewMouse.h"
#include "draw/BackgroundMap.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "draw/interaction/ViewInteraction.h"
#include "draw/protocol/Protocol.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

class QMenu;

namespace hp::app {

class CPlanDoc;

class CPlanView : public QAbstractScrollArea, public CViewMouse::Host {
  Q_OBJECT

 public:
  explicit CPlanView(CPlanDoc& document, QWidget* parent = nullptr);
  ~CPlanView() override;

  CPlanDoc& document() override { return m_doc; }
  draw::ViewTransform& viewTransform() override { return m_view; }
  // What the last drawing left: scale, offsets, scene size, drawn area.
  const draw::WorksheetDrawingResult& lastDrawing() const override { return m_last; }
  // The status line text of the last drawing.
  const QString& statusText() const { return m_status; }

  // Rebuilds the projection and redraws (after any change of data or view).
  void Redraw();
  // Draws again with the projection kept (a scroll, a mark, a zoom). A
  // window uncovered without such a change shows its last picture again.
  void Refresh();
  // Whether the picture on the screen is the drawing of the current state;
  // false while a large survey's drawing is under way in the background.
  bool pictureCurrent() const { return m_pictureChanges == m_changes && !m_drawingPending; }
  // Forgets the background map, so a changed file is read again.
  void ResetBackgroundMap() { m_backgroundMap.Reset(); }

  // The survey protocol's clipboard text (display type 6).
  QString ProtocolText();
  // The mouse mode of the context menu ("ContextMenu" in "Settings");
  // choosing one stores it and updates the status line.
  draw::MouseMode mouseMode() const override { return m_mouseMode; }
  void SetMouseMode(draw::MouseMode mode);
  // The context menu of the view at `pos` (window point): the modes with the
  // current one checked and those the display type does not offer disabled.
  // Choosing one applies it at once at `pos`, like a click there; without a
  // point (opened from the keyboard) it only selects the mode.
  std::unique_ptr<QMenu> CreateContextMenu(std::optional<QPoint> pos) override;

  // The record the status line shows ("Messpunkt"), a list position or -1,
  // and the record marked for measuring ("Markierung"), or null.
  int currentRecord() const override;
  void SetCurrentRecord(int index) override;
  const doc::SurveyRecord* marked() const override;
  void SetMarked(const doc::SurveyRecord* record) override;
  // The marked record as the data editor shares it.
  const doc::SurveyRecord** markedSlot() { return &m_marked; }
  // Set by the coordinates dialog's "Auf Karte positionieren": the next click
  // in the plan, section or elevation places the current record there.
  bool waitingForPosition() const override { return m_waitingForPosition; }
  void WaitForPosition(int index);
  void StopWaitingForPosition() override;
  // Esc while waiting: the click is no longer awaited and the data editor
  // opens again on the record, with its coordinates dialog.
  void CancelWaitingForPosition();

  // How the last drawing put drawing coordinates on the device, and the
  // scroll position that turns window points into content points.
  draw::DeviceMapping mapping() const override { return {m_last.scale, m_last.ox, m_last.oy}; }
  QPoint scrollPosition() const override;
  void ScrollTo(QPoint position) override;
  // The next drawing scrolls so that the drawing point `p` lies under the
  // window point `window` (wheel zoom around the cursor).
  void ScrollAfterDrawing(draw::PlanePoint p, QPoint window) override { m_anchor = Anchor{p, window}; }
  // Marks the document modified and redraws all its views; `rebuild`
  // false keeps the projection (a zoom only scales the drawing).
  void ViewChanged(bool rebuild = true) override;
  // The status line is built anew (after a mode, current or marked change).
  void UpdateStatus();
  // The screen height in pixels (the camera moves scale by it).
  int screenHeight() const override;

 Q_SIGNALS:
  void statusChanged(const QString& text);
  // After each drawing (tool bars show the worksheet's values).
  void drawn();
  // A click in "&Daten bearbeiten" or a double click picked a station: the
  // data editor opens on that record (from 1).
  void editRecordRequested(int recordNumber);
  // A turning drag ended; `dx` is the horizontal movement of its last step
  // in pixels, the step of the spin that takes over (none when 0).
  void dragReleased(int dx);
  // The placing of record `recordNumber` (from 1) on the map was cancelled.
  void positionCancelled(int recordNumber);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QAbstractScrollArea& scrollArea() override { return *this; }
  void AskForEditor(int index) override { Q_EMIT editRecordRequested(index + 1); }
  void DragEnded(int dx) override { Q_EMIT dragReleased(dx); }

  // What a drawing takes from the window, gathered on the window's thread.
  struct DrawingSetup {
    draw::DeviceCaps caps;
    QSize screen;
    QPoint scroll;
    int picked = -1;
    std::filesystem::path folder;
  };
  DrawingSetup PrepareDrawing();
  // Draws the worksheet on `painter` scrolled by the scroll bars' values.
  void DrawOn(QPainter& painter, const QSize& client);
  // The drawing itself; it touches no widget, so it may run on the thread
  // of a background drawing (with a prompter that forwards its messages).
  void DrawPrepared(QPainter& painter, const QSize& client, const DrawingSetup& setup, platform::Prompter& prompter);
  // What follows a drawing on the window's thread: scrolling to shown legs,
  // centring the camera on a new survey.
  void FinishDrawing(const QSize& client);
  void AfterDrawing(const QSize& client);
  void KeepPicture(QImage picture, uint64_t changes);
  bool Buffered(const QSize& client) const;
  bool DrawsInBackground() const;
  // Draws a large survey on a thread of its own (RunInBackground) and shows
  // the picture.
  void DrawInBackground();
  void UpdateScrollBars(const QSize& client);
  // The protocol's page on the window; false for the other display types.
  bool DrawProtocolOn(QPainter& painter, draw::DeviceCaps caps, const QSize& client, const platform::Clock& clock);
  QRect FrameBoxArea() const;
  QString StatusText() const;
  // Scrolls the legs the document shows (after "&Zeigen") into the window.
  void ScrollToShownLegs(const QSize& client);
  int MarkedIndex() const;
  void ScrollToAnchor();

  struct Anchor {
    draw::PlanePoint point;
    QPoint window;
  };

  CPlanDoc& m_doc;
  draw::ViewTransform m_view;
  draw::BackgroundMap m_backgroundMap;
  draw::WorksheetDrawingResult m_last;
  QString m_status;
  bool m_updatingScrollBars = false;
  std::unique_ptr<CViewMouse> m_mouse;
  draw::MouseMode m_mouseMode = draw::MouseMode::Edit;
  int m_current = -1;
  const doc::SurveyRecord* m_marked = nullptr;
  bool m_waitingForPosition = false;
  bool m_centreCamera = false;  // after the records were replaced
  // The next drawing scrolls the legs the document shows into sight.
  bool m_scrollToShown = false;
  std::optional<Anchor> m_anchor;
  int m_wheelRest = 0;
  // The scroll bars keep the room a wheel zoom scrolled into beyond the
  // drawing's own range while the view stays there.
  bool m_wheelRoom = false;
  // The last picture drawn, the scroll position it was drawn at and the
  // count of changes it shows (m_changes counts every Refresh).
  QImage m_picture;
  QPoint m_pictureScroll;
  uint64_t m_pictureChanges = 0;
  uint64_t m_changes = 1;
  uint64_t m_failedChanges = 0;  // the change whose drawing failed
  bool m_drawingPending = false;
  bool m_drawingInBackground = false;
  bool m_drewProtocol = false;
};

}  // namespace hp::app
