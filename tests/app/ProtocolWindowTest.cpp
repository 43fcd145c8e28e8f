// The survey protocol and the spreadsheet exchange in the windows: the page
// shown and paged in the view, and the exchange's working folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QStandardPaths>
#include <algorithm>
#include <memory>
#include <tuple>

#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "base/FixedText.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

class ProtocolWindowTest : public test::AppTest {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    child = frame.NewDocument();
    doc::SurveyStore& store = child->document().store();
    store.records.clear();
    // A coordinate reference at station 0, then 120 legs.
    for (int i = -1; i < 120; ++i) {
      doc::SurveyRecord& r =
          hp::test::AddLeg(store, std::to_string(std::max(i, 0)), std::to_string(i + 1), i < 0 ? 0 : 2.5);
      base::SetText(r.description,
                    "Gang \xFC"
                    "ber dem See");
      r.x = (i + 1) * 2.5;
    }
    child->document().worksheet().setDisplayType(doc::DisplayType::Protocol);
    frame.resize(900, 700);
    frame.show();
    QApplication::processEvents();
  }
  void Paint() { child->view().viewport()->repaint(); }
  doc::Worksheet& Sheet() { return child->document().worksheet(); }

  CMainFrame frame{app()};
  CChildFrame* child = nullptr;
};

TEST_F(ProtocolWindowTest, TheViewShowsAPageAndPagesByKeysAndWheel) {
  Paint();
  const int pages = Sheet().protocolPageCount();
  ASSERT_GT(pages, 2);
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
  QApplication::sendEvent(&child->view(), &end);
  EXPECT_EQ(Sheet().protocolCurrentPage(), pages);
  EXPECT_TRUE(child->document().isModified());
  QKeyEvent up(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
  QApplication::sendEvent(&child->view(), &up);
  EXPECT_EQ(Sheet().protocolCurrentPage(), pages - 1);
  // Up and down turn pages too: the page does not scroll.
  for (const auto& [key, modifiers, page] :
       {std::tuple{Qt::Key_Up, Qt::NoModifier, pages - 2}, std::tuple{Qt::Key_Down, Qt::ControlModifier, pages - 1}}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&child->view(), &event);
    EXPECT_EQ(Sheet().protocolCurrentPage(), page) << key;
  }
  QWheelEvent towards(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
  QApplication::sendEvent(child->view().viewport(), &towards);
  EXPECT_EQ(Sheet().protocolCurrentPage(), pages);
  QApplication::sendEvent(child->view().viewport(), &towards);
  EXPECT_EQ(Sheet().protocolCurrentPage(), pages) << "the last page stays";
  Paint();
  EXPECT_NE(child->view().statusText().indexOf(QStringLiteral("Seite %1/%1").arg(pages)), -1)
      << child->view().statusText().toStdString();
}

TEST_F(ProtocolWindowTest, TheExchangeWritesIntoTheUsersWorkingFolder) {
  frame.command(QStringLiteral("Bearbeiten in Excel"))->trigger();
  ASSERT_EQ(Context().shell.opened.size(), 1u);
  EXPECT_NE(Context().shell.opened[0].find("Hollowplan/Hollowplan 22/Hollowplan.txt"), std::string::npos);
}

}  // namespace
}  // namespace hp::app
