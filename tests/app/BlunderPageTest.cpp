// The page "Fehlersuche" of the loop closure evaluation: its tables, the
// accuracies kept in the settings, and a double click leading to the editor.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/dialogs/BlunderPage.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "base/FixedText.h"

namespace hp::app {
namespace {

void AddLeg(CPlanDoc& doc, const char* from, const char* to, double length, double azimuth) {
  auto r = std::make_unique<doc::SurveyRecord>();
  r->refCave = r->cave = r->refPassage = r->passage = 1;
  base::SetText(r->refPoint, from);
  base::SetText(r->point, to);
  r->length = length;
  r->azimuth = azimuth;
  doc.store().records.push_back(std::move(r));
  doc.store().settings.recordCount = static_cast<uint32_t>(doc.store().records.size());
}

// Record 1 the reference S, then a three-sided loop whose leg 1-2 (record
// 3) was read 95 instead of 80.
void FillLoop(CPlanDoc& doc) {
  doc.NewFromDefaults();
  doc::SurveyRecord& head = *doc.store().records.front();
  head.cave = head.refCave = head.passage = head.refPassage = 1;
  base::SetText(head.point, "S");
  base::SetText(head.refPoint, "S");
  AddLeg(doc, "S", "1", 10, 0);
  AddLeg(doc, "1", "2", 10, 95);
  AddLeg(doc, "2", "3", 12, 200);
  AddLeg(doc, "3", "S", 5.7622, 265.4195);
}

using BlunderPage = test::AppTest;

TEST_F(BlunderPage, SecondPageListsLoopsAndSuspectsOpensTheEditorAndKeepsTheAccuracies) {
  CPlanDoc doc{app()};
  FillLoop(doc);
  CLoopEvaluationDialog dialog(nullptr, doc, {});
  ASSERT_EQ(dialog.pages()->count(), 2);
  EXPECT_EQ(dialog.pages()->widget(0), dialog.list());
  EXPECT_EQ(dialog.pages()->tabText(1), QStringLiteral("&Fehlersuche"));
  CBlunderPage& page = *dialog.blunders();
  ASSERT_EQ(page.loops()->rowCount(), 1);
  EXPECT_EQ(page.loops()->item(0, 8)->text(), QStringLiteral("ja"));
  ASSERT_GE(page.suspects()->rowCount(), 1);
  EXPECT_EQ(page.suspects()->horizontalHeaderItem(6)->text(), QStringLiteral("Vermutet"));
  EXPECT_EQ(page.suspects()->item(0, 1)->text(), QStringLiteral("3"));
  EXPECT_EQ(page.suspects()->item(0, 4)->text(), QStringLiteral("Azimut"));
  EXPECT_EQ(page.suspects()->item(0, 6)->text(), QStringLiteral("80,00"));
  page.suspects()->setCurrentCell(0, 0);
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 3u);
  doc.store().settings.currentRecordNumber = 1;
  Q_EMIT page.suspects()->cellDoubleClicked(0, 2);
  EXPECT_EQ(dialog.followUp(), (FollowUp{FollowUp::Next::Editor, 3}));
  EXPECT_EQ(doc.store().settings.currentRecordNumber, 3u);

  // The accuracies are checked, kept in the settings and used.
  auto& context = Context();
  context.prompter.Clear();
  EXPECT_EQ(page.sigmaLength()->text(), QStringLiteral("0,05"));
  page.sigmaAngle()->setText(QStringLiteral("0"));
  EXPECT_FALSE(page.Search());
  EXPECT_EQ(context.prompter.Entries().size(), 1u);
  // So coarse an angle accuracy that the misread compass is within it.
  page.sigmaAngle()->setText(QStringLiteral("20"));
  EXPECT_TRUE(page.Search());
  EXPECT_EQ(page.loops()->item(0, 8)->text(), QStringLiteral("nein"));
  EXPECT_EQ(page.suspects()->rowCount(), 0);
  EXPECT_DOUBLE_EQ(calc::LoadBlunderOptions(context.settings).sigmaAngle, 20);
}

// A ladder of two squares with a tape slip on the rail leg A0-A1: the
// parallel rail leg of the same loop explains it as well, and the window
// marks both rows.
TEST_F(BlunderPage, EqualExplanationsAreMarked) {
  CPlanDoc doc{app()};
  doc.NewFromDefaults();
  doc::SurveyRecord& head = *doc.store().records.front();
  head.cave = head.refCave = head.passage = head.refPassage = 1;
  base::SetText(head.point, "A0");
  base::SetText(head.refPoint, "A0");
  AddLeg(doc, "A0", "A1", 11, 0);  // 10 m
  AddLeg(doc, "A1", "B1", 10, 90);
  AddLeg(doc, "B1", "B0", 10, 180);
  AddLeg(doc, "B0", "A0", 10, 270);
  AddLeg(doc, "A1", "A2", 10, 0);
  AddLeg(doc, "A2", "B2", 10, 90);
  AddLeg(doc, "B2", "B1", 10, 180);
  CBlunderPage page(nullptr, doc);
  QTableWidget& suspects = *page.suspects();
  ASSERT_GE(suspects.rowCount(), 3);
  EXPECT_EQ(suspects.horizontalHeaderItem(8)->text(), QStringLiteral("Hinweis"));
  EXPECT_EQ(suspects.item(0, 8)->text(), QStringLiteral("gleichwertig"));
  EXPECT_EQ(suspects.item(1, 8)->text(), QStringLiteral("gleichwertig"));
  EXPECT_EQ(suspects.item(0, 8)->toolTip(), QStringLiteral("Erklärt die Schleifen ebenso gut wie Rang 2."));
  EXPECT_EQ(suspects.item(2, 8)->text(), QString());
}

}  // namespace
}  // namespace hp::app
