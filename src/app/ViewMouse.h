// The mouse, wheel and key handling of the drawing window: which gesture
// does what in each mouse mode and display type. The window forwards its
// events here; the arithmetic lives in draw/ViewInteraction.h.
#pragma once

#include <QPoint>
#include <Qt>

class QRubberBand;

namespace hp::app {

class CPlanView;

class CViewMouse {
 public:
  explicit CViewMouse(CPlanView& view);
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

  CPlanView& m_view;
  bool m_left = false, m_right = false, m_dragged = false;
  bool m_measured = false;  // the distance mode's last click measured
  QPoint m_down, m_last;
  int m_lastDx = 0;  // the last horizontal step of a turning drag
  Band m_band = Band::None;
  QRubberBand* m_rubberBand = nullptr;
};

}  // namespace hp::app
