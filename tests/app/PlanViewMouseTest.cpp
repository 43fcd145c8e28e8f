// The drawing window under the mouse: picking, measuring, the wheel, rubber
// bands, the context menu and the keys, with real mouse events off-screen.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <utility>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "base/FixedText.h"
#include "draw/interaction/ViewInteraction.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

// A small cave A - B - C - D drawn in a window of 700 x 500.
class ViewMouse : public test::AppTest {
 protected:
  void SetUp() override {
    Context().settings.SetInt("Settings", "ContextMenu", 0);
    m_doc.NewFromDefaults();
    m_doc.store().records.clear();
    hp::test::AddRecords(m_doc.store(),
                         "1/2/A 1/2/A @ 0 0 0  0 0 0\n1/2/A 1/2/B @ 0 0 0  30 0 -4\n"
                         "1/2/B 1/2/C @ 30 0 -4  30 40 -4\n1/2/C 1/2/D @ 30 40 -4  90 40 -10");
    for (auto& r : m_doc.store().records) r->pathLength = r->x;
    m_view = std::make_unique<CPlanView>(m_doc);
    m_view->resize(700, 500);
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    Draw();
  }

  // Draws at once, with the projection rebuilt for the worksheet as it is.
  void Draw() {
    m_view->Redraw();
    m_view->viewport()->repaint();
  }
  doc::Worksheet& Sheet() { return m_doc.worksheet(); }
  QWidget* Port() { return m_view->viewport(); }
  // The window point where record `n`'s station is drawn.
  QPoint At(int n) {
    const draw::Vec3 to = m_view->viewTransform().slot(static_cast<size_t>(n)).to;
    const draw::WorksheetDrawingResult& d = m_view->lastDrawing();
    const draw::DevicePoint p = draw::ToDevice(to.x, to.y, d.scale, d.ox, d.oy);
    return QPoint(p.x, p.y) - m_view->scrollPosition();
  }
  void Click(QPoint p) { QTest::mouseClick(Port(), Qt::LeftButton, {}, p); }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Port(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Port(), to);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, to);
  }
  std::string Status() { return m_view->statusText().toStdString(); }
  // `angle` in eighths of a degree: positive away from the user.
  void Wheel(QPoint at, int angle) {
    QWheelEvent wheel(at, Port()->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Port(), &wheel);
  }

  CPlanDoc m_doc{app()};
  std::unique_ptr<CPlanView> m_view;
};

TEST_F(ViewMouse, InfoClickShowsTheStationMissesLeaveItAndTwoClicksMeasure) {
  m_view->SetMouseMode(draw::MouseMode::StationInfo);
  EXPECT_EQ(Context().settings.GetInt("Settings", "ContextMenu", 0), 5);
  Click(At(2) + QPoint(3, -2));
  EXPECT_EQ(m_view->currentRecord(), 2);
  EXPECT_EQ(Status(), "Messpunkt 1/2/C      Ebene 1      Tiefe -4,00      Weg 30,00");
  Click(At(2) + QPoint(6, 0));  // beyond 5 device units
  EXPECT_EQ(m_view->currentRecord(), 2);
  Click(At(1));
  EXPECT_EQ(m_view->currentRecord(), 1);

  // Two clicks measure a distance.
  m_view->SetMouseMode(draw::MouseMode::Mark);
  Click(At(1));
  EXPECT_EQ(m_view->marked(), m_doc.store().records[1].get());
  Click(At(3));
  // B (30, 0, -4) to D (90, 40, -10).
  EXPECT_EQ(Status(),
            "Markierung 1/2/B      Messpunkt 1/2/D      Abstand 72,36      Horizontal 72,11      Vertikal -6,00");
  Click(At(0));  // a third click marks afresh
  EXPECT_EQ(m_view->marked(), m_doc.store().records[0].get());
  EXPECT_EQ(m_view->currentRecord(), -1);
}

TEST_F(ViewMouse, EditModeAndDoubleClickAskForTheEditor) {
  QSignalSpy spy(m_view.get(), &CPlanView::editRecordRequested);
  Click(At(3));
  m_view->SetMouseMode(draw::MouseMode::StationInfo);
  QTest::mouseDClick(Port(), Qt::LeftButton, {}, At(2));
  ASSERT_GE(spy.count(), 2);
  EXPECT_EQ(spy.first().at(0).toInt(), 4);
  EXPECT_EQ(spy.last().at(0).toInt(), 3);
}

// Turned towards the user (a negative angle) the wheel zooms in, brings the
// camera nearer and shows the next protocol page; away, the opposite.
TEST_F(ViewMouse, TheWheelTowardsTheUserZoomsInComesNearerAndPagesOn) {
  using Get = double (*)(const doc::Worksheet&);
  using Set = void (*)(doc::Worksheet&, double);
  const Get zoom = [](const doc::Worksheet& ws) { return ws.zoomPercent(); };
  const Set setZoom = [](doc::Worksheet& ws, double v) { ws.setZoomPercent(v); };
  const struct {
    const char* what;
    int type;
    Get get;
    Set set;
    double start, towards, away;
  } cases[] = {
      {"plan", 0, zoom, setZoom, 100, 115, 85},
      {"perspective", 3, zoom, setZoom, 100, 115, 85},
      {"camera", 5, [](const doc::Worksheet& ws) { return ws.viewDistance(); },
       [](doc::Worksheet& ws, double v) { ws.setViewDistance(v); }, 50, 40, 60},
      {"protocol", 6, [](const doc::Worksheet& ws) { return double(ws.protocolCurrentPage()); },
       [](doc::Worksheet& ws, double v) { ws.setProtocolPageCount(3), ws.setProtocolCurrentPage(int(v)); }, 2, 3, 1},
  };
  for (const auto& c : cases) {
    Sheet().setDisplayType(doc::DisplayTypeOf(c.type));
    Draw();
    for (const auto& [angle, expected] : {std::pair{-120, c.towards}, std::pair{120, c.away}}) {
      c.set(Sheet(), c.start);
      m_view->viewTransform().setSceneSize(100);  // the camera's step: a tenth, 10 m
      Wheel({200, 200}, angle);
      EXPECT_DOUBLE_EQ(c.get(Sheet()), expected) << c.what << " " << angle;
    }
  }
}

TEST_F(ViewMouse, HalfNotchesAddUp) {
  Wheel({100, 100}, -60);
  EXPECT_DOUBLE_EQ(Sheet().zoomPercent(), 100);
  Wheel({100, 100}, -60);
  EXPECT_DOUBLE_EQ(Sheet().zoomPercent(), 115);
}

// The station under the mouse stays there, also where the drawing fits the
// window (it is centred) or lies at the edge of the scroll range, and it
// stays through the drawings that follow.
TEST_F(ViewMouse, TheWheelZoomsAroundTheMouse) {
  const struct {
    const char* what;
    double zoom;
    int station;
    int angle;
  } cases[] = {
      {"fitting drawing, in on C", 100, 2, -120},   {"fitting drawing, out on D", 100, 3, 120},
      {"fitting drawing, in on A", 100, 0, -120},   {"scrolling drawing, in on B", 250, 1, -120},
      {"scrolling drawing, out on A", 250, 0, 120},
  };
  for (const auto& c : cases) {
    Sheet().setZoomPercent(c.zoom);
    m_view->ScrollTo({0, 0});
    Draw();
    const QPoint cursor = At(c.station);
    ASSERT_TRUE(Port()->rect().contains(cursor)) << c.what;
    Wheel(cursor, c.angle);
    Draw();
    Draw();
    const QPoint moved = At(c.station) - cursor;
    EXPECT_LE(std::max(std::abs(moved.x()), std::abs(moved.y())), 1)
        << c.what << ": " << moved.x() << ", " << moved.y();
  }
}

TEST_F(ViewMouse, OverviewRubberBandAndClick) {
  m_view->SetMouseMode(draw::MouseMode::Overview);
  Drag(At(0), At(0) + QPoint(8, 8));  // a click: overview automatic again
  EXPECT_EQ(Sheet().manualOverview(), 0);
  Drag(At(0) + QPoint(-4, 4), At(2));
  Draw();
  EXPECT_EQ(Sheet().manualOverview(), 1);
  EXPECT_LE(Sheet().overviewLeft(), 0);
  EXPECT_GE(Sheet().overviewTop(), 40 - Sheet().overviewGridStep());
  EXPECT_TRUE(m_doc.isModified());
}

TEST_F(ViewMouse, SheetModeSelectsAndPrintModeToggles) {
  Sheet().setSheetRows(2), Sheet().setSheetColumns(2), Sheet().setManualPages(1);
  Draw();
  m_view->SetMouseMode(draw::MouseMode::Sheets);
  // Midway between B and C, well inside a sheet.
  const auto middle = [this] { return (At(1) + At(2)) / 2; };
  const QPoint scroll = m_view->scrollPosition();
  const int sheet = draw::SheetAt(
      Sheet(), draw::DeviceToDrawing({middle().x() + scroll.x(), middle().y() + scroll.y()}, m_view->mapping()));
  ASSERT_GE(sheet, 1);
  Click(middle());
  EXPECT_EQ(Sheet().showSubSheets(), 1);
  EXPECT_EQ(Sheet().currentSheetNumber(), sheet);
  Draw();
  m_view->SetMouseMode(draw::MouseMode::PrintArea);
  Click(middle());
  EXPECT_EQ(Sheet().printAreaBits()[0], 1 << (sheet - 1));
  // Home and End walk the sheets.
  QTest::keyClick(m_view.get(), Qt::Key_Home);
  EXPECT_EQ(Sheet().currentSheetNumber(), 1);
  QTest::keyClick(m_view.get(), Qt::Key_End);
  EXPECT_EQ(Sheet().currentSheetNumber(), 4);
}

TEST_F(ViewMouse, TheContextMenuMarksAtItsPoint) {
  m_view->SetMouseMode(draw::MouseMode::StationInfo);
  std::unique_ptr<QMenu> menu = m_view->CreateContextMenu(At(2));
  menu->actions()[5]->trigger();  // "&Abstandsmarkierung"
  EXPECT_EQ(m_view->mouseMode(), draw::MouseMode::Mark);
  EXPECT_EQ(m_view->marked(), m_doc.store().records[2].get());
}

// The menu key opens the same menu as the right button, as a named child
// of the view that assistive technology can read, on the current mode; a
// mode chosen there marks nothing.
TEST_F(ViewMouse, TheMenuKeyOpensANamedContextMenuOnTheCurrentMode) {
  Draw();
  m_view->SetMouseMode(draw::MouseMode::StationInfo);
  QString name, active;
  QObject* parent = nullptr;
  QAccessible::Role role = QAccessible::NoRole;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    name = menu->accessibleName();
    parent = menu->parent();
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu)) role = accessible->role();
    if (menu->activeAction() != nullptr) active = menu->activeAction()->text();
    menu->actions()[5]->trigger();  // "&Abstandsmarkierung"
    menu->close();
  });
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), m_view->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(m_view.get(), &key);
  EXPECT_EQ(name.toStdString(), "Mausfunktion");
  EXPECT_EQ(parent, m_view.get());
  EXPECT_EQ(role, QAccessible::PopupMenu);
  EXPECT_TRUE(active.startsWith(QStringLiteral("Messpunkt-&Info"))) << active.toStdString();
  EXPECT_EQ(m_view->mouseMode(), draw::MouseMode::Mark);
  EXPECT_EQ(m_view->marked(), nullptr);
}

TEST_F(ViewMouse, WaitingForPositionPlacesTheRecordOrEscCancels) {
  QSignalSpy cancelled(m_view.get(), &CPlanView::positionCancelled);
  m_doc.RequestPosition(4);
  EXPECT_EQ(Status(), "Messpunkt 1/2/D positionieren: in den Grundriss klicken (Esc bricht ab)");
  m_view->setFocus();
  QTest::keyClick(m_view.get(), Qt::Key_Escape);
  EXPECT_FALSE(m_view->waitingForPosition());
  ASSERT_EQ(cancelled.count(), 1);
  EXPECT_EQ(cancelled.front().front().toInt(), 4);
  EXPECT_EQ(Status().find("positionieren"), std::string::npos);
  Click(At(1) + QPoint(0, -20));  // 20 pixels above B
  const doc::SurveyRecord& d = *m_doc.store().records[3];
  EXPECT_EQ(d.x, 90) << "a click after Esc places nothing";
  m_doc.RequestPosition(4);
  Click(At(1) + QPoint(0, -20));
  EXPECT_FALSE(m_view->waitingForPosition());
  const double pixel = 1 / m_view->mapping().scale;
  EXPECT_NEAR(d.x, 30, pixel);
  EXPECT_NEAR(d.y, 20 * pixel, pixel);
  EXPECT_EQ(d.refX, d.x);
  EXPECT_EQ(d.z, -10);
}

TEST_F(ViewMouse, CameraLeftOnTheOldSurveyTurnsToTheReplacingOne) {
  Sheet().setDisplayType(doc::DisplayType::Animation);
  Sheet().setViewAzimuth(0);  // looking north: the survey moves out of sight to the east
  Sheet().setViewInclination(0);
  Draw();
  for (auto& r : m_doc.store().records) {
    r->x += 5000, r->refX += 5000;
  }
  Draw();
  EXPECT_NEAR(Sheet().viewCentreX(), 45, 1e-9) << "a change of data alone keeps the camera";
  m_doc.RecordsReplaced();
  m_view->viewport()->repaint();
  QCoreApplication::processEvents();
  m_view->viewport()->repaint();
  EXPECT_NEAR(Sheet().viewCentreX(), 5045, 1e-9);
  EXPECT_TRUE(draw::CameraShowsSurvey(m_view->viewTransform(), m_doc.store(), Port()->width(), Port()->height()));
}

TEST_F(ViewMouse, DragTurnsTheProjectionAndReportsTheRelease) {
  Sheet().setDisplayType(doc::DisplayType::Perspective), Sheet().setViewAzimuth(10), Sheet().setViewInclination(-25);
  Draw();
  QSignalSpy spy(m_view.get(), &CPlanView::dragReleased);
  QTest::mousePress(Port(), Qt::LeftButton, {}, {200, 200});
  QTest::mouseMove(Port(), {230, 190});
  QTest::mouseRelease(Port(), Qt::LeftButton, {}, {230, 190});
  EXPECT_EQ((std::array{Sheet().viewAzimuth(), Sheet().viewInclination()}), (std::array{40.0, -15.0}));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.first().at(0).toInt(), 30);
}

TEST_F(ViewMouse, CameraViewCentresOnAStationAndPansWithTheRightButton) {
  Sheet().setDisplayType(doc::DisplayType::Animation), Sheet().setViewAzimuth(0), Sheet().setViewInclination(0);
  Draw();
  m_view->SetMouseMode(draw::MouseMode::Centre);
  Click(At(2));
  EXPECT_EQ((std::array{Sheet().viewCentreX(), Sheet().viewCentreY(), Sheet().viewCentreZ()}),
            (std::array{30.0, 40.0, -4.0}));
  Draw();
  QTest::mousePress(Port(), Qt::RightButton, {}, {300, 200});
  QTest::mouseMove(Port(), {320, 200});
  QTest::mouseRelease(Port(), Qt::RightButton, {}, {320, 200});
  EXPECT_LT(Sheet().viewCentreX(), 30);  // against the drag, across the view
  EXPECT_NEAR(Sheet().viewCentreY(), 40, 1e-9);
}

}  // namespace
}  // namespace hp::app
