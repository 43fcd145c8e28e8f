// The animation and the spin of one document window. The flight and the
// spin run on the user-interface thread: after each drawing of the view a
// single-shot timer waits the "Animation" pause, then the next view is set
// and the view redrawn, so input is handled between pictures. An event
// filter on the view watches for the events that stop both (a mouse press or
// wheel in the view, a key, the view losing the focus or changing size); the
// spin starts when the view reports the end of a turning drag.
#pragma once

#include <QObject>
#include <QTimer>
#include <string_view>

#include "draw/animation/Animation.h"

namespace hp::app {

class CPlanDoc;
class CPlanView;

class CAnimationController : public QObject {
  Q_OBJECT

 public:
  CAnimationController(CPlanDoc& document, CPlanView& view, QObject* parent = nullptr);
  ~CAnimationController() override;

  bool isRunning() const { return m_running; }
  bool isSpinning() const { return m_spinStep != 0; }
  int spinStep() const { return m_spinStep; }
  const draw::AnimationFlight& flight() const { return m_flight; }

  // "&Animation starten": starts the flight at the current position, or
  // stops it and shows the current position again. A click on the tool
  // bar that already stopped the flight only shows the position.
  void StartOrStop();
  // A stopping event: the spin ends, a running flight ends where it is.
  void Stop();
  // A position command (navigation, the typed number, insert, save, delete,
  // circle, "Endlos-Animation"); `typed` is the position field's text.
  void RunCommand(draw::AnimationCommand command, std::string_view typed = {});
  // Keeps turning the view by `step` degrees per picture.
  void StartSpin(int step);
  // A mouse button went down on one of the main window's tool bars / came
  // up there again.
  void ToolBarPressed();
  void ToolBarReleased();

 Q_SIGNALS:
  // The flight started or ended (the menu's check mark follows it).
  void runningChanged(bool running);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Drawn();
  void NextPicture();
  void SetRunning(bool running);
  // Stops, copies the current position into the view and redraws.
  void ShowPosition();

  CPlanDoc& m_doc;
  CPlanView& m_view;
  draw::AnimationFlight m_flight;
  QTimer m_pause;
  bool m_running = false;
  bool m_toolBarPressed = false;
  int m_spinStep = 0;  // degrees per picture; 0: no spin
};

}  // namespace hp::app
