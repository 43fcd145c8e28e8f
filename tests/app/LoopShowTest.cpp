// From the picture to the data and back: in the loop-quality colour mode the
// station info names a leg's worst loop, and "&Zeigen" in the loop
// evaluation draws the chosen loop or suspect leg highlighted.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/dialogs/BlunderPage.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "calc/LoopEvaluation.h"
#include "calc/NetworkAdjustment.h"
#include "support/Survey.h"
#include "support/TwoLoops.h"

namespace hp::app {
namespace {

class LoopShow : public test::AppTest {
 protected:
  void SetUp() override {
    m_doc.NewFromDefaults();
    m_doc.store().records.clear();
    hp::test::AddRecords(m_doc.store(), hp::test::kTwoLoops);
    m_doc.Compute();
    doc::SetLineColourModeOf(m_doc.worksheet(), doc::kLoopQualityColourMode);
    m_view = std::make_unique<CPlanView>(m_doc);
    m_view->resize(700, 500);
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->Redraw();
    m_view->viewport()->repaint();
  }
  static QPushButton* ShowButton(QWidget& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("&Zeigen")) return button;
    return nullptr;
  }
  // Pixels of the highlight (magenta) in the window.
  int Highlighted() {
    m_view->viewport()->repaint();
    const QImage image = m_view->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(255, 0, 255)) ++count;
    return count;
  }

  CPlanDoc m_doc{app()};
  std::unique_ptr<CPlanView> m_view;
};

TEST_F(LoopShow, ZeigenHighlightsTheSuspectLegAndTheNetworkLoop) {
  EXPECT_EQ(Highlighted(), 0);
  CLoopEvaluationDialog suspects(nullptr, m_doc, {});
  suspects.pages()->setCurrentWidget(suspects.blunders());
  ASSERT_GE(suspects.blunders()->suspects()->rowCount(), 1);
  suspects.blunders()->suspects()->setCurrentCell(0, 0);
  QPushButton* show = ShowButton(suspects);
  ASSERT_NE(show, nullptr);
  QTest::mouseClick(show, Qt::LeftButton);
  // The suspect's record as the table numbers it (from 1); a leg in a single
  // loop shares the suspicion with the loop's other legs.
  const auto record = static_cast<size_t>(suspects.blunders()->suspects()->item(0, 1)->text().toInt());
  EXPECT_EQ(m_doc.shownLegs(), (std::vector<size_t>{record - 1}));
  const int leg = Highlighted();
  EXPECT_GT(leg, 50) << "the suspect leg is drawn highlighted";

  std::vector<calc::LoopRow> rows;
  const auto loops = calc::NetworkLoops(m_doc.store(), {});
  for (size_t i = 0; i < loops.size(); ++i) rows.push_back(calc::MakeNetworkLoopRow(loops[i], i + 1));
  const int blundered = loops.at(0).normalised > loops.at(1).normalised ? 0 : 1;
  CLoopEvaluationDialog network(nullptr, m_doc, rows, true);
  network.list()->setCurrentIndex(network.list()->model()->index(blundered, 0));
  QTest::mouseClick(ShowButton(network), Qt::LeftButton);
  EXPECT_EQ(m_doc.shownLegs(),
            (std::vector<size_t>(std::begin(hp::test::kBlunderedLoop), std::end(hp::test::kBlunderedLoop))));
  EXPECT_GT(Highlighted(), 3 * leg) << "the whole loop";
}

TEST_F(LoopShow, StationInfoAddsTheWorstLoopsFigures) {
  m_view->SetMouseMode(draw::MouseMode::StationInfo);
  m_view->SetCurrentRecord(static_cast<int>(hp::test::kBlunderedLeg));
  const std::string status = m_view->statusText().toStdString();
  EXPECT_NE(status.find("Ring: normiert "), std::string::npos) << status;
  EXPECT_NE(status.find("Fehler 1,74 m  Länge 40,00 m"), std::string::npos) << status;
  m_view->SetCurrentRecord(5);
  EXPECT_NE(m_view->statusText().toStdString().find("Ring: keiner"), std::string::npos);
  doc::SetLineColourModeOf(m_doc.worksheet(), 0);
  m_view->SetCurrentRecord(4);
  EXPECT_EQ(m_view->statusText().toStdString().find("Ring:"), std::string::npos) << "only in the loop-quality mode";
}

}  // namespace
}  // namespace hp::app
