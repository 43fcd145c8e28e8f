// The window's undo history: a record changed and another deleted in the
// data editor and a table imported over the records, undone step by step
// back to the bytes of the start and redone to the changed document, the
// menu naming each step and the modified mark following.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/dialogs/DataEditorDialog.h"
#include "doc/WorksheetCommands.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::app {
namespace {

namespace fs = std::filesystem;
using edit::Button;

// A survey tour as the handheld exports it (station, station, length,
// azimuth, inclination).
constexpr const char* kTour =
    "Beispieltour   (m, 360)\r\n\r\n[1]: 2023/05/14     0.00  \r\n\r\n\r\n"
    "     1.0         1.1       6.803  154.74  -32.36  [1]    \r\n"
    "     1.1         1.2       4.107  169.96  -18.96  [1]    \r\n"
    "     1.2         1.3       9.468  200.80   -6.45  [1]    \r\n";

class UndoTest : public test::AppTest {
 protected:
  // Answers every modal dialog the command opens: the file dialog with
  // `file`, any other with OK.
  void RunAnsweringDialogs(QAction* command, const fs::path& file = {}) {
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&file] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (auto* files = qobject_cast<QFileDialog*>(dialog)) files->selectFile(QString::fromStdString(file.string()));
      dialog->accept();
    });
    driver.start(5);
    command->trigger();
  }
  QString UndoText(CMainFrame& frame) { return frame.command(QStringLiteral("Rückgängig"))->text(); }
  QString RedoText(CMainFrame& frame) { return frame.command(QStringLiteral("Wiederholen"))->text(); }

  hp::test::TempFolder m_folder{"hp_app_undo"};
};

TEST_F(UndoTest, ChangeDeleteAndImportAreUndoneToTheStartAndRedoneAgain) {
  CMainFrame frame(app());
  CPlanDoc& doc = frame.NewDocument()->document();
  doc.store().records.clear();
  hp::test::AddRecords(doc.store(), R"(
    1.1.0 1.1.0 @ 0 0 0 0 0 0
    1.1.0 1.1.1 10 45 -5
    1.1.1 1.1.2 7.5 90 3
    1.1.2 1.1.3 4 180 0
  )");
  doc.Compute();
  ASSERT_TRUE(doc.SaveAs(m_folder / "Start.hpn"));
  frame.UpdateCommands();
  QAction* undo = frame.command(QStringLiteral("Rückgängig"));
  QAction* redo = frame.command(QStringLiteral("Wiederholen"));
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(redo, nullptr);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  // Strg+Z stays the worksheet's "Wiederherstellen".
  EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
  EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
  const std::vector<uint8_t> start = doc.Snapshot();  // the document file's bytes

  // In the data editor: record 2 gets a new length, the last one goes.
  QTimer::singleShot(0, [this] {
    auto* editor = qobject_cast<CDataEditorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    editor->editor().Open(2);
    editor->Refresh();
    auto* length = static_cast<QLineEdit*>(editor->field(edit::Field::Length));
    length->selectAll();
    QTest::keyClicks(length, QStringLiteral("12,5"));
    editor->button(Button::Save)->click();
    editor->button(Button::Last)->click();
    Context().prompter.Script({platform::Answer::Ok});
    editor->button(Button::Delete)->click();
    editor->reject();
  });
  frame.command(QStringLiteral("Bearbeiten..."))->trigger();
  ASSERT_EQ(doc.store().records.size(), 3u);
  EXPECT_EQ(doc.store().records[1]->length, 12.5);
  EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig: Datensatz 4 löschen"));
  EXPECT_TRUE(doc.isModified());

  // The tour replaces the document's records.
  const fs::path tour = m_folder / "Beispieltour.txt";
  std::ofstream(tour, std::ios::binary) << kTour;
  Context().settings.SetInt("Settings", "ImportTAB", 0);
  RunAnsweringDialogs(frame.command(QStringLiteral("Importieren...")), tour);
  ASSERT_EQ(doc.store().records.size(), 3u + 1u) << "three legs and the tour's start";
  EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig: Import Beispieltour.txt"));
  const std::vector<uint8_t> changed = doc.Snapshot();

  const char* steps[] = {"Import Beispieltour.txt", "Datensatz 4 löschen", "Datensatz 2 ändern"};
  for (const char* step : steps) {
    ASSERT_TRUE(undo->isEnabled()) << step;
    EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig: ") + QString::fromUtf8(step));
    undo->trigger();
    EXPECT_EQ(RedoText(frame), QStringLiteral("&Wiederholen: ") + QString::fromUtf8(step));
  }
  EXPECT_EQ(doc.Snapshot(), start);
  EXPECT_FALSE(doc.isModified()) << "back at the saved state";
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig"));

  for (int i = 2; i >= 0; --i) {
    EXPECT_EQ(RedoText(frame), QStringLiteral("&Wiederholen: ") + QString::fromUtf8(steps[i]));
    redo->trigger();
  }
  EXPECT_EQ(doc.Snapshot(), changed);
  EXPECT_TRUE(doc.isModified());
  EXPECT_FALSE(redo->isEnabled());

  // Saving keeps the history; undoing after it marks the document again.
  ASSERT_TRUE(doc.SaveAs(m_folder / "Geändert.hpn"));
  EXPECT_FALSE(doc.isModified());
  frame.UpdateCommands();
  ASSERT_TRUE(undo->isEnabled());
  undo->trigger();
  EXPECT_TRUE(doc.isModified());
}

TEST_F(UndoTest, WorksheetCommandsAreSteps) {
  CMainFrame frame(app());
  CPlanDoc& doc = frame.NewDocument()->document();
  doc::CopyWorksheet(doc.store(), "Zweites", 1);
  doc.setModified(false);
  frame.UpdateCommands();
  const std::vector<uint8_t> start = doc.Snapshot();
  Context().prompter.Script({platform::Answer::Ok});
  frame.command(QStringLiteral("Löschen..."))->trigger();
  ASSERT_EQ(doc.store().worksheets.size(), 1u);
  EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig: Arbeitsblatt löschen"));
  frame.command(QStringLiteral("Rückgängig"))->trigger();
  EXPECT_EQ(doc.Snapshot(), start);
  EXPECT_EQ(&doc.worksheet(), doc.store().worksheets[1].get());
  EXPECT_FALSE(doc.isModified());
}

TEST_F(UndoTest, DocumentDialogsAreStepsNamedAsTheirMenuEntries) {
  CMainFrame frame(app());
  CPlanDoc& doc = frame.NewDocument()->document();
  doc.setModified(false);
  const std::vector<uint8_t> start = doc.Snapshot();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("1: Ada Berg\n2: Carl Dahl"));
    dialog->accept();
    if (dialog->isVisible()) dialog->reject();  // refused: the test fails below, not hangs
  });
  frame.command(QStringLiteral("Vermesser..."))->trigger();
  ASSERT_NE(doc.Snapshot(), start);
  EXPECT_EQ(UndoText(frame), QStringLiteral("&Rückgängig: Vermesser"));
  EXPECT_TRUE(doc.isModified());
  frame.command(QStringLiteral("Rückgängig"))->trigger();
  EXPECT_EQ(doc.Snapshot(), start);
  EXPECT_FALSE(doc.isModified());
}

}  // namespace
}  // namespace hp::app
