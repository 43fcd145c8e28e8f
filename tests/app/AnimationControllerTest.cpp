// The animation in the window off-screen: a flight runs picture by picture
// on the timer and ends, every stopping event stops it, a drag ends in a
// spin, the tool bar's start button stops a running flight without
// restarting it, and the options dialog checks its pause.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>
#include <array>
#include <functional>

#include "app/AnimationController.h"
#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/dialogs/AnimationOptionsDialog.h"
#include "draw/animation/Animation.h"

namespace hp::app {
namespace {

class AnimationControllerTest : public test::AppTest {
 protected:
  void SetUp() override {
    Context().settings.SetInt("Settings", "Animation", 0);
    m_frame = std::make_unique<CMainFrame>(app());
    m_child = m_frame->NewDocument();
    m_frame->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
    QTest::qWait(20);  // the first layout's resizes are over
    doc::Worksheet& ws = doc().worksheet();
    ws.setDisplayType(doc::DisplayType::Animation);
    ws.setPicturesPerPosition(2);
    for (const double azimuth : {10.0, 50.0, 90.0}) {
      ws.setViewAzimuth(azimuth);
      draw::InsertPosition(ws);
    }
    ws.setCurrentPositionNumber(1);
    doc().setModified(false);
    m_frame->UpdateCommands();
  }
  CPlanDoc& doc() { return m_child->document(); }
  CPlanView& view() { return m_child->view(); }
  CAnimationController& animation() { return m_child->animation(); }
  QAction* Command(const char* text) { return m_frame->command(QString::fromUtf8(text)); }
  QToolBar* Bar() { return m_frame->findChild<QToolBar*>(QStringLiteral("Animation")); }

  std::unique_ptr<CMainFrame> m_frame;
  CChildFrame* m_child = nullptr;
};

TEST_F(AnimationControllerTest, FlightDrawsEveryPictureAndEndsAtTheLastPosition) {
  int pictures = 0;
  QObject::connect(&view(), &CPlanView::drawn, [&pictures] { ++pictures; });
  ASSERT_TRUE(Command("Animation starten")->isEnabled());
  Command("Animation starten")->trigger();
  EXPECT_TRUE(animation().isRunning());
  EXPECT_TRUE(Command("Animation starten")->isChecked());
  QTRY_VERIFY_WITH_TIMEOUT(!animation().isRunning(), 5000);
  QTest::qWait(20);
  EXPECT_GE(pictures, 5) << "each of the pictures 0 to 4 drawn";
  EXPECT_NEAR(doc().worksheet().viewAzimuth(), 90, 1e-9);
  EXPECT_FALSE(Command("Animation starten")->isChecked());
}

// The wheel and the camera keys are checked below, with what they still do.
TEST_F(AnimationControllerTest, EveryStoppingEventStopsTheFlight) {
  doc().worksheet().setEndlessAnimation(1);
  const QPointF at(20, 20);
  const std::function<void()> events[] = {
      [&] {
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(view().viewport(), &press);
      },
      [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(&view(), &key);
      },
      [&] {
        QFocusEvent focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&view(), &focus);
      },
      [&] { view().resize(view().size() + QSize(10, 10)); },
      [&] { doc().UpdateAllViews(); },     // a view command or dialog changed the view
      [&] { doc().WorksheetsChanged(); },  // a worksheet command
      [&] { Command("Nächste Position")->trigger(); },
  };
  int n = 0;
  for (const auto& event : events) {
    animation().StartOrStop();
    ASSERT_TRUE(animation().isRunning()) << n;
    QTest::qWait(5);
    event();
    QApplication::processEvents();
    EXPECT_FALSE(animation().isRunning()) << n;
    ++n;
  }
  // Pressing a modifier alone (the start of a shortcut) keeps it running.
  animation().StartOrStop();
  QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(&view(), &shift);
  EXPECT_TRUE(animation().isRunning());
  animation().Stop();
}

// The tool bar's start button stops a running flight without starting it
// again; a window closed during a flight takes no more pictures.
TEST_F(AnimationControllerTest, StartButtonStopsWithoutStartingAgainAndClosingEndsTheFlight) {
  doc().worksheet().setEndlessAnimation(1);
  ASSERT_NE(Bar(), nullptr);
  QWidget* button = Bar()->widgetForAction(Command("Animation starten"));
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(animation().isRunning());
  QTest::qWait(10);
  QTest::mouseClick(button, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(animation().isRunning());
  EXPECT_NEAR(doc().worksheet().viewAzimuth(), 10, 1e-9) << "back at the current position";
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(animation().isRunning());
  QTest::qWait(10);
  doc().setModified(false);
  m_child->close();
  QTest::qWait(20);  // the pending picture must not reach the closed window
  EXPECT_TRUE(m_frame->children().empty());
}

TEST_F(AnimationControllerTest, DragTurnsTheViewThenSpinsUntilAPress) {
  doc().worksheet().setViewAzimuth(100);
  const auto mouse = [this](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, at, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &event);
  };
  mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {15, 12}, Qt::NoButton, Qt::LeftButton);
  EXPECT_DOUBLE_EQ(doc().worksheet().viewAzimuth(), 105) << "the view turns during the drag";
  mouse(QEvent::MouseMove, {22, 12}, Qt::NoButton, Qt::LeftButton);
  EXPECT_DOUBLE_EQ(doc().worksheet().viewAzimuth(), 112);
  EXPECT_FALSE(animation().isSpinning()) << "no spin while the button is down";
  mouse(QEvent::MouseButtonRelease, {22, 12}, Qt::LeftButton, Qt::NoButton);
  QApplication::processEvents();
  ASSERT_TRUE(animation().isSpinning());
  const double before = doc().worksheet().viewAzimuth();
  QTRY_VERIFY_WITH_TIMEOUT(doc().worksheet().viewAzimuth() != before, 2000);
  EXPECT_EQ(animation().spinStep(), 7) << "the last horizontal movement";
  mouse(QEvent::MouseButtonPress, {30, 30}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(animation().isSpinning());
  mouse(QEvent::MouseButtonRelease, {30, 30}, Qt::LeftButton, Qt::NoButton);  // a click, no drag
  QApplication::processEvents();
  EXPECT_FALSE(animation().isSpinning());
  // A drag whose last step was vertical leaves no spin.
  mouse(QEvent::MouseButtonPress, {30, 30}, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {40, 30}, Qt::NoButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {40, 36}, Qt::NoButton, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, {40, 36}, Qt::LeftButton, Qt::NoButton);
  QApplication::processEvents();
  EXPECT_FALSE(animation().isSpinning());
  // The plane types turn by command only: a drag neither turns nor spins them.
  for (const doc::DisplayType type : {doc::DisplayType::Elevation, doc::DisplayType::Parallel}) {
    doc().worksheet().setDisplayType(type);
    const double azimuth = doc().worksheet().viewAzimuth();
    mouse(QEvent::MouseButtonPress, {30, 30}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {40, 30}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {40, 30}, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(doc().worksheet().viewAzimuth(), azimuth);
    animation().StartSpin(7);
    EXPECT_FALSE(animation().isSpinning()) << doc::DisplayTypeText(type);
  }
}

// The view's own camera keys and wheel stop a flight or spin first and then
// still act on the view.
TEST_F(AnimationControllerTest, CameraKeysAndTheWheelStopFlightAndSpinAndStillAct) {
  doc::Worksheet& ws = doc().worksheet();
  for (auto& position : ws.positions) position->distance = 100;
  ws.setEndlessAnimation(1);
  view().viewTransform().setSceneSize(50);
  const auto send = [this](QEvent* event, bool toViewport) {
    QApplication::sendEvent(toViewport ? view().viewport() : static_cast<QWidget*>(&view()), event);
  };
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  QKeyEvent nearer(QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier);
  QWheelEvent wheel({20, 20}, {20, 20}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  const struct {
    QEvent* event;
    bool toViewport;
    const char* what;
  } cases[] = {{&left, false, "camera key"}, {&nearer, false, "distance key"}, {&wheel, true, "wheel"}};
  for (const auto& c : cases) {
    animation().StartOrStop();
    QTRY_VERIFY_WITH_TIMEOUT(ws.viewDistance() == 100, 1000);
    ASSERT_TRUE(animation().isRunning()) << c.what;
    view().viewTransform().setSceneSize(50);  // the flight's drawings measure the empty scene
    const std::array before{ws.viewDistance(), ws.viewCentreX(), ws.viewCentreY()};
    send(c.event, c.toViewport);
    EXPECT_FALSE(animation().isRunning()) << c.what;
    EXPECT_NE((std::array{ws.viewDistance(), ws.viewCentreX(), ws.viewCentreY()}), before) << c.what;
  }
  // The wheel zooms the perspective view and ends its spin.
  ws.setDisplayType(doc::DisplayType::Perspective), ws.setZoomPercent(100);
  animation().StartSpin(5);
  send(&wheel, true);
  EXPECT_FALSE(animation().isSpinning());
  EXPECT_DOUBLE_EQ(ws.zoomPercent(), 115);
}

TEST_F(AnimationControllerTest, PositionCommandsAndFieldsOfTheToolBar) {
  Command("Letzte Position")->trigger();
  EXPECT_EQ(doc().worksheet().currentPositionNumber(), 3u);
  EXPECT_NEAR(doc().worksheet().viewAzimuth(), 90, 1e-9);
  EXPECT_FALSE(doc().isModified()) << "moving between positions changes no data";
  Command("Position löschen")->trigger();
  EXPECT_EQ(doc().worksheet().positions.size(), 2u);
  EXPECT_TRUE(doc().isModified());
  EXPECT_FALSE(Command("Animation starten")->isEnabled()) << "fewer than 3 positions";

  QList<QLineEdit*> fields = Bar()->findChildren<QLineEdit*>();
  ASSERT_EQ(fields.size(), 2);
  QLineEdit* position = fields[0]->toolTip().startsWith(QStringLiteral("Position")) ? fields[0] : fields[1];
  QLineEdit* pictures = position == fields[0] ? fields[1] : fields[0];
  EXPECT_EQ(position->text(), QStringLiteral("2"));
  position->setText(QStringLiteral("9"));
  Q_EMIT position->returnPressed();
  EXPECT_EQ(doc().worksheet().currentPositionNumber(), 2u);
  pictures->setText(QStringLiteral("0"));
  Q_EMIT pictures->returnPressed();
  EXPECT_EQ(doc().worksheet().picturesPerPosition(), 1) << "at least one picture";
  EXPECT_EQ(pictures->text(), QStringLiteral("1"));
}

using AnimationOptionsDialog = test::AppTest;

TEST_F(AnimationOptionsDialog, KeepsItsPauseWithinZeroToAThousand) {
  CAnimationOptionsDialog dialog(app(), nullptr);
  dialog.pauseField()->setText(QStringLiteral("1001"));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Context().prompter.Entries().size(), 1u);
  dialog.pauseField()->setText(QStringLiteral("300"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Context().settings.GetInt("Settings", "Animation", -1), 300);
}

}  // namespace
}  // namespace hp::app
