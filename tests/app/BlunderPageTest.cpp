// The page "Fehlersuche" of the loop closure evaluation: its tables, the
// accuracies kept in the settings, and a double click leading to the editor.
#include <gtest/gtest.h>

#include <memory>

#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/dialogs/BlunderPage.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

// Record 1 the reference S, then a three-sided loop whose leg 1-2 (record
// 3) was read 95 instead of 80.
class BlunderPageTest : public test::AppTest {
 protected:
  BlunderPageTest() {
    Fill(doc, "S S\nS 1 10 0 0\n1 2 10 95 0\n2 3 12 200 0\n3 S 5.7622 265.4195 0");
    dialog = std::make_unique<CLoopEvaluationDialog>(nullptr, doc, std::vector<calc::LoopRow>{});
    page = dialog->blunders();
  }
  static void Fill(CPlanDoc& document, std::string_view survey) {
    document.NewFromDefaults();
    document.store().records.clear();
    hp::test::AddRecords(document.store(), survey);
  }
  CPlanDoc doc{app()};
  std::unique_ptr<CLoopEvaluationDialog> dialog;
  CBlunderPage* page = nullptr;
};

TEST_F(BlunderPageTest, SecondPageListsTheSuspectsThatLeadToTheEditor) {
  ASSERT_EQ(dialog->pages()->count(), 2);
  EXPECT_EQ(dialog->pages()->widget(0), dialog->list());
  EXPECT_EQ(dialog->pages()->tabText(1), QStringLiteral("&Fehlersuche"));
  ASSERT_EQ(page->loops()->rowCount(), 1);
  ASSERT_GE(page->suspects()->rowCount(), 1);
  EXPECT_EQ(page->suspects()->horizontalHeaderItem(6)->text(), QStringLiteral("Vermutet"));
  const struct {
    QTableWidget* table;
    int column;
    const char* text;
  } cells[] = {{page->loops(), 8, "ja"},
               {page->suspects(), 1, "3"},
               {page->suspects(), 4, "Azimut"},
               {page->suspects(), 6, "80,00"}};
  for (const auto& c : cells) EXPECT_EQ(c.table->item(0, c.column)->text(), QString::fromUtf8(c.text)) << c.column;

  // Choosing a suspect selects its record; a double click opens the editor.
  page->suspects()->setCurrentCell(0, 0);
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 3u);
  doc.store().settings.currentRecordNumber = 1;
  Q_EMIT page->suspects()->cellDoubleClicked(0, 2);
  EXPECT_EQ(dialog->followUp(), (FollowUp{FollowUp::Next::Editor, 3}));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 3u);
}

TEST_F(BlunderPageTest, AccuraciesAreCheckedKeptInTheSettingsAndUsed) {
  auto& context = Context();
  context.prompter.Clear();
  page->sigmaAngle()->setText(QStringLiteral("0"));
  EXPECT_FALSE(page->Search());
  EXPECT_EQ(context.prompter.Entries().size(), 1u);
  // So coarse an angle accuracy that the misread compass is within it.
  page->sigmaAngle()->setText(QStringLiteral("20"));
  EXPECT_TRUE(page->Search());
  EXPECT_EQ(page->loops()->item(0, 8)->text(), QStringLiteral("nein"));
  EXPECT_EQ(page->suspects()->rowCount(), 0);
  EXPECT_DOUBLE_EQ(calc::LoadBlunderOptions(context.settings).sigmaAngle, 20);
}

// A ladder of two squares with a tape slip on the rail leg A0-A1: the
// parallel rail leg of the same loop explains it as well, and the window
// marks both rows.
TEST_F(BlunderPageTest, EqualExplanationsAreMarked) {
  CPlanDoc ladder{app()};
  Fill(ladder, R"(A0 A0
                  A0 A1 11 0 0
                  A1 B1 10 90 0
                  B1 B0 10 180 0
                  B0 A0 10 270 0
                  A1 A2 10 0 0
                  A2 B2 10 90 0
                  B2 B1 10 180 0)");  // A0-A1 is 10 m
  CBlunderPage ladderPage(nullptr, ladder);
  QTableWidget& suspects = *ladderPage.suspects();
  ASSERT_GE(suspects.rowCount(), 3);
  EXPECT_EQ(suspects.horizontalHeaderItem(8)->text(), QStringLiteral("Hinweis"));
  EXPECT_EQ(suspects.item(0, 8)->text(), QStringLiteral("gleichwertig"));
  EXPECT_EQ(suspects.item(1, 8)->text(), QStringLiteral("gleichwertig"));
  EXPECT_EQ(suspects.item(0, 8)->toolTip(), QStringLiteral("Erklärt die Schleifen ebenso gut wie Rang 2."));
  EXPECT_EQ(suspects.item(2, 8)->text(), QString());
}

}  // namespace
}  // namespace hp::app
