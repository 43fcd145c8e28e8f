// The records overview and loop closure evaluation windows: what they show
// on opening, and that their buttons and selections reach the document and
// name the window that follows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "app/dialogs/OverviewDialog.h"
#include "base/FixedText.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

using Next = FollowUp::Next;

QPushButton* Button(QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  ADD_FAILURE() << text.toStdString();
  return nullptr;
}

// 1 the default coordinate reference 0/0/, then 2 1/1/A from it,
// 3 1/1/B and 4 2/1/C.
class OverviewDialog : public test::AppTest {
 protected:
  void SetUp() override {
    doc.NewFromDefaults();
    doc::SurveyRecord& head = *doc.store().records.front();
    head.cave = head.refCave = head.passage = head.refPassage = 1;
    base::SetText(head.point, "0");
    base::SetText(head.refPoint, "0");
    hp::test::AddRecords(doc.store(), "0 A 10 0 0\nA B 10 0 0\n2/1/B 2/1/C 10 0 0");
  }
  CPlanDoc doc{app()};
};

// Table and tree open on the current record, a selection in either makes
// its record current, and the buttons name the window that follows.
TEST_F(OverviewDialog, SelectionsFollowTheCurrentRecordBothWays) {
  doc.store().settings.currentRecordNumber = 3;
  COverviewDialog dialog(nullptr, doc);
  const QAbstractItemModel& table = *dialog.table()->model();
  ASSERT_EQ(table.rowCount(), 4);
  ASSERT_EQ(table.columnCount(), 32);
  EXPECT_EQ(table.index(2, 5).data().toString(), QStringLiteral("10,00"));
  EXPECT_EQ(dialog.table()->currentIndex().row(), 2);
  EXPECT_EQ(dialog.tree()->currentIndex().data().toString(), QStringLiteral("1/1/B"));
  EXPECT_TRUE(dialog.tree()->isExpanded(dialog.tree()->currentIndex().parent()));
  Button(dialog, QStringLiteral("&Bearbeiten"))->click();
  EXPECT_EQ(dialog.followUp(), (FollowUp{Next::Editor, 3}));

  dialog.table()->setCurrentIndex(dialog.table()->model()->index(3, 0));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 4u);
  Button(dialog, QStringLiteral("&Wechseln"))->click();
  EXPECT_EQ(dialog.tree()->currentIndex().data().toString(), QStringLiteral("2/1/C"));

  // A cave node stands for the record that opens the cave.
  const QModelIndex root = dialog.tree()->model()->index(0, 0);
  dialog.tree()->setCurrentIndex(dialog.tree()->model()->index(0, 0, root));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 1u);

  Button(dialog, QStringLiteral("&Ringschluss"))->click();
  EXPECT_EQ(dialog.followUp().next, Next::LoopEvaluation);
}

// Headings and dates fit their columns, also with a large desktop font.
TEST_F(OverviewDialog, HeadingsAndDatesFitTheirColumns) {
  base::SetText(doc.store().records[1]->date, "28.12.2023");
  const QFont before = QApplication::font();
  QFont large = before;
  large.setPointSizeF(before.pointSizeF() * 2);
  QApplication::setFont(large);
  COverviewDialog dialog(nullptr, doc);
  QApplication::setFont(before);
  QTableView& table = *dialog.table();
  const QFontMetrics metrics(table.horizontalHeader()->font());
  for (int column : {17, 18, 2}) {  // "Datum", "Vermesser", "Messpunkt"
    const QString heading = table.model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_GT(table.columnWidth(column), metrics.horizontalAdvance(heading)) << heading.toStdString();
  }
  EXPECT_GT(table.columnWidth(17), QFontMetrics(table.font()).horizontalAdvance(QStringLiteral("28.12.2023")));
}

using LoopEvaluationDialog = OverviewDialog;

// The ring is green for a loop within the search tolerance and red beyond
// it, whatever the kind; every heading fits its column; the selected row's
// record becomes current.
TEST_F(LoopEvaluationDialog, MarksLoopsByTheirMisclosureAndKeepsTheSelectedRecord) {
  const struct {
    int kind;
    bool within;
  } cases[] = {{0, true}, {0, false}, {2, true}, {2, false}, {3, true}, {3, false}};
  std::vector<calc::LoopRow> rows;
  for (const auto& c : cases) {
    rows.emplace_back();
    rows.back().kind = c.kind, rows.back().withinTolerance = c.within, rows.back().recordNumber = 2;
  }
  rows[1].recordNumber = 4;
  CLoopEvaluationDialog dialog(nullptr, doc, rows);
  const QAbstractItemModel& list = *dialog.list()->model();
  ASSERT_EQ(list.rowCount(), 6);
  EXPECT_EQ(list.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Fehler"));
  for (int row = 0; row < list.rowCount(); ++row) {
    const QImage image = list.index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    const QColor top = image.pixelColor(8, 3);  // on the ring of every kind
    const bool green = top.green() > 2 * top.red();
    const bool red = top.red() > 2 * top.green();
    EXPECT_TRUE(cases[row].within ? green : red) << row << " " << top.name().toStdString();
  }
  QHeaderView& header = *dialog.list()->horizontalHeader();
  for (int column = 0; column < list.columnCount(); ++column) {
    EXPECT_GE(header.sectionSize(column), header.sectionSizeHint(column)) << column;
  }
  EXPECT_GE(header.sectionSize(2), dialog.list()->fontMetrics().horizontalAdvance(QStringLiteral("Messzüge")));
  dialog.list()->setCurrentIndex(list.index(1, 0));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 4u);
  Button(dialog, QStringLiteral("Über&sicht"))->click();
  EXPECT_EQ(dialog.followUp().next, Next::Overview);
}

TEST_F(LoopEvaluationDialog, TheNetworksLoopsHaveTheirOwnColumnsAndAreMarkedByTheNormalisedMisclosure) {
  calc::BlunderLoop loop;
  loop.legCount = 3, loop.length = 30, loop.normalised = 4.5, loop.suspicious = true, loop.closingRecord = 3;
  CLoopEvaluationDialog dialog(nullptr, doc, {calc::MakeNetworkLoopRow(loop, 1)}, true);
  const QAbstractItemModel& list = *dialog.list()->model();
  ASSERT_EQ(list.columnCount(), 8);
  EXPECT_EQ(list.headerData(7, Qt::Horizontal).toString(), QStringLiteral("Normiert"));
  EXPECT_EQ(list.index(0, 7).data().toString(), QStringLiteral("4,50"));
  EXPECT_EQ(list.index(0, 0).data(Qt::ToolTipRole).toString(),
            QStringLiteral("Normierter Ringschlussfehler über der Verdachtsschwelle"));
  dialog.list()->setCurrentIndex(list.index(0, 0));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 4u);
}

TEST_F(LoopEvaluationDialog, AComputationMessageAnsweredYesOpensTheEditorInstead) {
  // Record 4 starts at 2/1/B, which no record defines.
  doc.store().settings.computedCurrent = 0;
  auto& prompter = Context().prompter;
  prompter.Clear();
  prompter.Script({platform::Answer::Yes});
  EXPECT_EQ(RunLoopEvaluationDialog(nullptr, doc), (FollowUp{Next::Editor, 4}));
  EXPECT_EQ(prompter.Entries().size(), 1u);
}

}  // namespace
}  // namespace hp::app
