// Every dialog opens where the user left it, inside the work area, or
// centred on its owner the first time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/AppTestSupport.h"
#include "app/DialogBase.h"

namespace hp::app {
namespace {

class DialogBaseTest : public test::AppTest {
 protected:
  platform::MemorySettingsStore& Settings() { return Context().settings; }
  static QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(DialogBaseTest, FirstOpeningIsCentredOnTheOwner) {
  QWidget owner;
  owner.setGeometry(100, 100, 600, 400);
  owner.show();
  CDialogBase dialog(app(), &owner, QStringLiteral("Probe"));
  dialog.resize(200, 100);
  dialog.show();
  const QRect frame = dialog.frameGeometry();
  EXPECT_NEAR(frame.center().x(), owner.frameGeometry().center().x(), 2);
  EXPECT_NEAR(frame.center().y(), owner.frameGeometry().center().y(), 2);
  dialog.reject();
  EXPECT_FALSE(Settings().Contains("Dialoge", "Probe X")) << "not moved: nothing written";
}

TEST_F(DialogBaseTest, RememberedPositionPartlyOffScreenOpensInsideTheWorkArea) {
  const QRect area = WorkArea();
  Settings().SetInt("Dialoge", "Probe X", area.right() - 50);
  Settings().SetInt("Dialoge", "Probe Y", area.top() - 500);
  CDialogBase dialog(app(), nullptr, QStringLiteral("Probe"));
  dialog.resize(200, 100);
  dialog.show();
  const QRect frame = dialog.frameGeometry();
  EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
  EXPECT_EQ(frame.top(), area.top());
}

TEST_F(DialogBaseTest, AMovedDialogReopensExactlyWhereItWasLeft) {
  QPoint moved;
  for (int opening = 0; opening < 3; ++opening) {
    CDialogBase dialog(app(), nullptr, QStringLiteral("Farben"));
    dialog.resize(200, 100);
    dialog.show();
    if (opening == 0) {
      dialog.move(dialog.pos() + QPoint(17, 9));
      moved = dialog.geometry().topLeft();
    }
    EXPECT_EQ(dialog.geometry().topLeft(), moved) << "opening " << opening;
    dialog.accept();
    EXPECT_EQ(Settings().GetInt("Dialoge", "Farben X", -1234), moved.x());
    EXPECT_EQ(Settings().GetInt("Dialoge", "Farben Y", -1234), moved.y());
  }
}

}  // namespace
}  // namespace hp::app
