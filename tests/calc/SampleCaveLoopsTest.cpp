// The sample cave's loop closure evaluation: its five loops in every
// adjustment mode, the same from the pass as from the walk that starts again
// at each loop's first record.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "ReferenceComputePass.h"
#include "import/TextImport.h"

namespace hp::calc {
namespace {

TEST(SampleCaveLoopsTest, EvaluationIsThatOfTheWalkFromTheLoopStart) {
  for (int mode = 0; mode <= 2; ++mode) {
    platform::ScriptedPrompter prompter(platform::Answer::No);
    doc::SurveyStore expected, actual;
    expected.SetDefaults();
    actual.SetDefaults();
    ASSERT_TRUE(imports::ImportTable(expected, HP_EXAMPLES "/Beispielhoehle.txt", imports::TableImportMode::Replace, prompter));
    ASSERT_TRUE(imports::ImportTable(actual, HP_EXAMPLES "/Beispielhoehle.txt", imports::TableImportMode::Replace, prompter));
    expected.settings.loopAdjustment = actual.settings.loopAdjustment = static_cast<uint16_t>(mode);
    std::vector<LoopResult> expectedRows, actualRows;
    reference::ReferenceComputeCommand(expected, prompter, &expectedRows);
    RunComputeCommand(actual, prompter, &actualRows);
    ASSERT_EQ(actualRows.size(), expectedRows.size()) << "mode " << mode;
    EXPECT_GE(actualRows.size(), 5u);
    for (size_t i = 0; i < actualRows.size(); ++i) {
      EXPECT_EQ(actualRows[i].recordNumber, expectedRows[i].recordNumber);
      EXPECT_EQ(actualRows[i].loopNumber, expectedRows[i].loopNumber);
      EXPECT_EQ(actualRows[i].legCount, expectedRows[i].legCount);
      EXPECT_NEAR(actualRows[i].misclosure, expectedRows[i].misclosure, 1e-9);
      EXPECT_NEAR(actualRows[i].length, expectedRows[i].length, 1e-9);
    }
    ASSERT_EQ(actual.records.size(), expected.records.size());
    double worst = 0;
    for (size_t i = 0; i < actual.records.size(); ++i) {
      const auto &a = *actual.records[i], &e = *expected.records[i];
      worst = std::max({worst, std::fabs(a.x - e.x), std::fabs(a.y - e.y), std::fabs(a.z - e.z),
                        std::fabs(a.crossSection.start.azimuth - e.crossSection.start.azimuth),
                        std::fabs(a.altCoords[0] - e.altCoords[0])});
    }
    EXPECT_LE(worst, 1e-9) << "mode " << mode;
  }
}

}  // namespace
}  // namespace hp::calc
