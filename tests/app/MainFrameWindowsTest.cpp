// The main window with a window system's view of it: status bar, document
// window states, start-up with unreadable files, shortcuts from any field,
// icons, and commands that run out of memory.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

#include "AllocationFault.h"
#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProgramLook.h"
#include "base/FixedText.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::app {
namespace {

namespace fs = std::filesystem;

class MainFrameWindowsTest : public test::AppTest {
 protected:
  platform::ScriptedPrompter& Prompter() { return Context().prompter; }
  static void CloseChild(CChildFrame* child) {
    child->document().setModified(false);
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static int StatusPanes(CMainFrame& frame) {
    return static_cast<int>(frame.statusBar()->findChildren<QLabel*>().size());
  }
  hp::test::TempFolder m_folder{"hp_app_windows"};
};

// Closing a maximised document keeps the next one maximised, and the status
// bar keeps its one pane through opening and closing.
TEST_F(MainFrameWindowsTest, ClosingAMaximisedDocumentKeepsTheNextMaximised) {
  CMainFrame frame(app());
  frame.resize(900, 700);
  frame.show();
  EXPECT_EQ(StatusPanes(frame), 1);
  for (int cycle = 0; cycle < 3; ++cycle) CloseChild(frame.NewDocument());
  EXPECT_EQ(frame.statusLine(), QStringLiteral("Bereit"));
  CChildFrame* first = frame.NewDocument();
  CChildFrame* second = frame.NewDocument();
  ASSERT_TRUE(second->isMaximized());
  CloseChild(second);
  ASSERT_EQ(frame.children().size(), 1u);
  EXPECT_TRUE(first->isMaximized());
  EXPECT_EQ(StatusPanes(frame), 1);
  EXPECT_TRUE(frame.NewDocument()->isMaximized()) << "the next one opens as the last one was";
}

TEST_F(MainFrameWindowsTest, ARestoredDocumentWindowTakesTwoThirdsOfTheArea) {
  Context().settings.SetInt("Settings", "ShowCmd", 1);
  CMainFrame frame(app());
  frame.resize(900, 700);
  frame.show();
  CChildFrame* child = frame.NewDocument();
  EXPECT_FALSE(child->isMaximized());
  const QSize area = frame.findChild<QMdiArea*>()->viewport()->size();
  EXPECT_GE(child->width(), area.width() * 2 / 3);
  EXPECT_GE(child->height(), area.height() * 2 / 3);
}

// Three maximised documents in a 1024 x 600 main window, "Überlappend":
// restored, each inside the area and keeping most of it, the active one in
// front; documents opened after that land inside the area too.
TEST_F(MainFrameWindowsTest, CascadedAndNewDocumentWindowsLieInsideTheArea) {
  CMainFrame frame(app());
  frame.resize(1024, 600);
  frame.show();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(frame.NewDocument()->isMaximized());
  CChildFrame* front = frame.activeChild();

  QAction* windowMenu = nullptr;
  for (QAction* item : frame.menuBar()->actions())
    if (item->text() == QStringLiteral("&Fenster")) windowMenu = item;
  ASSERT_NE(windowMenu, nullptr);
  Q_EMIT windowMenu->menu()->aboutToShow();
  QAction* cascade = windowMenu->menu()->actions().value(0);
  ASSERT_EQ(cascade->text(), QStringLiteral("Über&lappend"));
  cascade->trigger();
  QCoreApplication::processEvents();
  const QRect area = frame.findChild<QMdiArea*>()->viewport()->rect();
  std::set<std::pair<int, int>> corners;
  for (CChildFrame* child : frame.children()) {
    EXPECT_FALSE(child->isMaximized());
    EXPECT_TRUE(area.contains(child->geometry())) << child->geometry().x() << "," << child->geometry().y();
    EXPECT_GE(child->width() * 10, area.width() * 6);
    EXPECT_GE(child->height() * 10, area.height() * 6);
    corners.emplace(child->x(), child->y());
  }
  EXPECT_EQ(corners.size(), 3u) << "every caption visible";
  EXPECT_EQ(frame.activeChild(), front);
  EXPECT_EQ(front->geometry().bottomRight(), area.bottomRight());
  front->showMaximized();
  CChildFrame* maximised = frame.NewDocument();
  ASSERT_TRUE(maximised->isMaximized());
  maximised->showNormal();
  EXPECT_TRUE(area.contains(maximised->geometry())) << "a maximised window restores inside the area";
  for (int i = 0; i < 12; ++i) {
    CChildFrame* child = frame.NewDocument();
    EXPECT_FALSE(child->isMaximized());
    EXPECT_TRUE(area.contains(child->geometry())) << i << ": " << child->geometry().x() << "," << child->geometry().y();
  }
}

TEST_F(MainFrameWindowsTest, AnUnreadableStartDocumentIsNamedAndTheProgramStaysOpen) {
  const fs::path missing = m_folder / "fehlt.hpn";
  const fs::path picture = m_folder / "bild.hpn";
  std::ofstream(picture, std::ios::binary) << "\x89PNG\r\n\x1a\n";
  CMainFrame frame(app());
  frame.show();
  frame.OpenStartDocuments({QString::fromStdString(missing.string()), QString::fromStdString(picture.string())});
  EXPECT_TRUE(frame.isVisible());
  EXPECT_TRUE(frame.children().empty());
  const auto texts = Prompter().Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].rfind(missing.string() + "\n", 0), 0u) << texts[0];
  EXPECT_EQ(texts[1].rfind(picture.string() + "\n", 0), 0u) << texts[1];
}

TEST_F(MainFrameWindowsTest, MenuShortcutsWorkWhileAToolBarFieldHasTheFocus) {
  CMainFrame frame(app());
  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  CPlanDoc& doc = frame.NewDocument()->document();
  doc.worksheet().setDisplayType(doc::DisplayType::Perspective);  // perspective: the direction fields are open
  doc.store().worksheets.push_back(std::make_unique<doc::Worksheet>(*doc.store().worksheets.front()));
  doc.WorksheetsChanged();
  // Dialogs the commands open are closed again at once.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(20);

  struct Case {
    const char* command;
    QKeyCombination keys;
  };
  const Case cases[] = {{"Darstellung...", Qt::CTRL | Qt::Key_A},
                        {"Auswählen...", Qt::CTRL | Qt::Key_W},
                        {"Wiederherstellen", Qt::CTRL | Qt::Key_Z},
                        {"Nächstes", Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown}};
  QLineEdit* azimuth = frame.findChild<QToolBar*>(QStringLiteral("Blickrichtung"))->findChild<QLineEdit*>();
  for (QWidget* field : {static_cast<QWidget*>(frame.worksheetList()->lineEdit()), static_cast<QWidget*>(azimuth)}) {
    for (const Case& c : cases) {
      QAction* action = frame.command(QString::fromUtf8(c.command));
      ASSERT_NE(action, nullptr) << c.command;
      ASSERT_TRUE(action->isEnabled()) << c.command;
      // A closed dialog leaves no window active on the off-screen screen.
      frame.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
      field->setFocus();
      ASSERT_TRUE(field->hasFocus() || field->parentWidget()->hasFocus());
      QSignalSpy triggered(action, &QAction::triggered);
      QTest::keyClick(field, c.keys.key(), c.keys.keyboardModifiers());
      QCoreApplication::processEvents();
      EXPECT_EQ(triggered.count(), 1) << c.command << " from " << field->metaObject()->className();
      if (doc.store().IndexOf(doc.store().currentWorksheet) == 1) doc.store().SelectWorksheet(0);
      frame.UpdateCommands();
    }
  }
}

TEST_F(MainFrameWindowsTest, ViewDirectionFieldsAreClosedWithoutADocument) {
  CMainFrame frame(app());
  const auto fields = frame.findChild<QToolBar*>(QStringLiteral("Blickrichtung"))->findChildren<QLineEdit*>();
  ASSERT_EQ(fields.size(), 3);
  for (QLineEdit* field : fields) EXPECT_FALSE(field->isEnabled());
  CChildFrame* child = frame.NewDocument();
  child->document().worksheet().setDisplayType(doc::DisplayType::Perspective);
  child->view().Redraw();
  frame.show();
  QCoreApplication::processEvents();
  QTest::qWait(50);
  EXPECT_TRUE(fields[0]->isEnabled());
  CloseChild(child);
  for (QLineEdit* field : fields) EXPECT_FALSE(field->isEnabled());
}

TEST_F(MainFrameWindowsTest, ToolBarsAndWindowHaveIconsAndDialogButtonsNone) {
  CMainFrame frame(app());
  EXPECT_FALSE(frame.windowIcon().isNull());
  for (const char* text :
       {"Neu", "Öffnen...", "Speichern", "Berechnen", "Links", "Rechts", "Hoch", "Runter", "Ferner", "Näher"})
    EXPECT_FALSE(frame.command(QString::fromUtf8(text))->icon().pixmap(24, 24).isNull()) << text;
  CProgramStyle style;
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  box.setStyle(&style);
  EXPECT_EQ(style.styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
  EXPECT_TRUE(box.button(QDialogButtonBox::Ok)->icon().isNull());
}

// A document whose record includes a large file, holding three records
// read from an older version of it.
TEST_F(MainFrameWindowsTest, AnIncludeUpdateThatRunsOutOfMemoryLeavesTheDocumentAsItWas) {
  if (!hp::test::AllocationFaultsAvailable()) GTEST_SKIP() << "the sanitizer runtime owns operator new";
  {
    CPlanDoc big{app()};
    big.NewFromDefaults();
    for (int i = 1; i < 20000; ++i) hp::test::AddLeg(big.store(), std::to_string(i - 1), std::to_string(i), 5);
    ASSERT_TRUE(big.SaveAs(m_folder / "gross.hpn"));
  }
  CMainFrame frame(app());
  CPlanDoc& doc = frame.NewDocument()->document();
  auto& records = doc.store().records;
  base::SetText(records.front()->includeFile, "gross.hpn");
  for (const char* point : {"a", "b", "c"}) {
    auto r = std::make_unique<doc::SurveyRecord>(*records.front());
    r->includeFile[0] = '\0';
    r->fromInclude = 1;
    base::SetText(r->point, point);
    records.push_back(std::move(r));
  }
  ASSERT_TRUE(doc.SaveAs(m_folder / "haupt.hpn"));
  Prompter().Clear();
  {
    hp::test::FailLargeAllocations fail(64 * 1024);
    frame.command(QStringLiteral("Include-Dateien aktualisieren"))->trigger();
  }
  EXPECT_EQ(Prompter().Texts(), std::vector<std::string>{"Nicht genügend Arbeitsspeicher."});
  ASSERT_EQ(doc.store().records.size(), 4u);
  EXPECT_EQ(base::TextOf(doc.store().records[3]->point), "c");
  EXPECT_FALSE(doc.isModified());
  frame.command(QStringLiteral("Include-Dateien aktualisieren"))->trigger();
  EXPECT_EQ(doc.store().records.size(), 20001u) << "with memory the update works";
}

// A perspective of a long straight survey seen from the side: the near
// corners of its frame box lie left of the window's origin, and the view
// scrolls there.
TEST_F(MainFrameWindowsTest, APerspectiveFrameBoxLeftOfTheWindowCanBeScrolledTo) {
  CMainFrame frame(app());
  frame.resize(900, 700);
  frame.show();
  CChildFrame* child = frame.NewDocument();
  CPlanDoc& doc = child->document();
  hp::test::AddReference(doc.store(), "0");
  for (int i = 1; i <= 20; ++i)  // north 200 m, then east 200 m
    hp::test::AddLeg(doc.store(), std::to_string(i - 1), std::to_string(i), 20, i <= 10 ? 0 : 90);
  doc.Compute();
  // Looking west: the box's south-east corner, where no leg is, is the near
  // left one.
  doc.worksheet().setDisplayType(doc::DisplayType::Perspective);
  doc.worksheet().setShowFrame(1);
  doc.worksheet().setViewAzimuth(270);
  doc.worksheet().setViewInclination(-20);
  child->view().Redraw();
  QTest::qWait(100);
  ASSERT_TRUE(child->view().lastDrawing().drawn);
  EXPECT_LT(child->view().horizontalScrollBar()->minimum(), 0);
}

}  // namespace
}  // namespace hp::app
