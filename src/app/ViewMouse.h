// The mouse, wheel and key handling of the drawing window: which gesture
// does what in each mouse mode and display type. The window forwards its
// events here and answers through CViewMouse::Host; the arithmetic lives in
// draw/ViewInteraction.h.
#pragma once

#include <QPoint>
#include <Qt>
#include <memory>
#include <optional>

#include "doc/SurveyRecord.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "draw/interaction/MouseMode.h"
#include "draw/interaction/ViewInteraction.h"

class QAbstractScrollArea;
class QMenu;
class QRubberBand;

namespace hp::app {

class CPlanDoc;

class CViewMouse {
 public:
  // What the gestures read from and do to the window whose events they
  // handle (the drawing window is the host). Points are window points,
  // records list positions (-1 for none).
  class Host {
   public:
    virtual ~Host() = default;

    // The window itself: the rubber band's parent, the menu's origin and
    // the scroll bars.
    virtual QAbstractScrollArea& scrollArea() = 0;
    virtual CPlanDoc& document() = 0;
    virtual draw::ViewTransform& viewTransform() = 0;
    virtual const draw::WorksheetDrawingResult& lastDrawing() const = 0;
    virtual draw::DeviceMapping mapping() const = 0;
    virtual draw::MouseMode mouseMode() const = 0;
    virtual int screenHeight() const = 0;

    virtual int currentRecord() const = 0;
    virtual void SetCurrentRecord(int index) = 0;
    virtual const doc::SurveyRecord* marked() const = 0;
    virtual void SetMarked(const doc::SurveyRecord* record) = 0;
    virtual bool waitingForPosition() const = 0;
    virtual void StopWaitingForPosition() = 0;

    virtual QPoint scrollPosition() const = 0;
    virtual void ScrollTo(QPoint position) = 0;
    virtual void ScrollAfterDrawing(draw::PlanePoint p, QPoint window) = 0;
    // The worksheet's view changed: `rebuild` false keeps the projection.
    virtual void ViewChanged(bool rebuild) = 0;
    virtual std::unique_ptr<QMenu> CreateContextMenu(std::optional<QPoint> pos) = 0;
    // A gesture picked record `index` for the data editor.
    virtual void AskForEditor(int index) = 0;
    // A turning drag ended; `dx` is its last horizontal step in pixels.
    virtual void DragEnded(int dx) = 0;
  };

  explicit CViewMouse(Host& view);
  ~CViewMouse();
  CViewMouse(const CViewMouse&) = delete;
  CViewMouse& operator=(const CViewMouse&) = delete;

  // Window points (the viewport's), without the scroll position.
  void Press(Qt::MouseButton button, QPoint window);
  void Release(Qt::MouseButton button, QPoint window);
  void Move(QPoint window, Qt::MouseButtons held);
  void DoubleClick(QPoint window);
  void Wheel(bool towardsUser, QPoint window);

  // A click of the current mode at a window point. `fromMenu`: the mode was
  // just chosen from the context menu (the distance mode marks afresh).
  void Click(QPoint window, bool fromMenu = false);

  // The view's key commands (ids 32773 to 32801). False when the command
  // did nothing here (other ids, or sheet keys without sub-sheets), so the
  // key keeps its usual meaning.
  bool Key(int commandId);
  // The command id of a key, 0 for none: Home/End first and last sheet,
  // Ctrl+arrows the neighbouring sheet, PgDown/PgUp the next and previous
  // sheet, arrows scroll a line (camera view: move the camera),
  // Ctrl+Home/Ctrl+End scroll to the top and bottom.
  static int CommandOfKey(int key, Qt::KeyboardModifiers modifiers);

 private:
  enum class Band { None, Overview, SubSheets };
  // The station under a window point: a list position or -1.
  int Pick(QPoint window);
  void PickedInMode(int index, bool fromMenu);
  void EndBand(QPoint window);

  Host& m_view;
  bool m_left = false, m_right = false, m_dragged = false;
  bool m_measured = false;  // the distance mode's last click measured
  QPoint m_down, m_last;
  int m_lastDx = 0;  // the last horizontal step of a turning drag
  Band m_band = Band::None;
  QRubberBand* m_rubberBand = nullptr;
};

}  // namespace hp::app
