// The loop quality of every leg: the worst loop it belongs to, its class,
// and that it is worked out again only after a compute pass.
#include "calc/LoopQuality.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "calc/ComputePass.h"
#include "calc/LegReduction.h"
#include "platform/Prompter.h"
#include "support/Survey.h"
#include "support/TwoLoops.h"

namespace hp::calc {
namespace {

TEST(LoopQuality, ClassBoundaries) {
  const struct {
    double normalised;
    LoopClass expected;
  } cases[] = {{0, LoopClass::Within1}, {1, LoopClass::Within1},        {1.001, LoopClass::Within2},
               {2, LoopClass::Within2}, {3.37, LoopClass::WithinLimit}, {3.3701, LoopClass::Beyond},
               {1e9, LoopClass::Beyond}};
  for (const auto& c : cases) EXPECT_EQ(ClassOfMisclosure(c.normalised), c.expected) << c.normalised;
}

TEST(LoopQuality, CleanLoopWithinBlunderedLoopBeyondTheRestInNoLoop) {
  const auto store = test::Survey(test::kTwoLoops);
  const LoopQuality q = ComputeLoopQuality(*store, BlunderOptions{});
  ASSERT_EQ(q.loops.size(), 2u);
  for (const size_t n : test::kCleanLoop) EXPECT_EQ(q.ClassOf(n), LoopClass::Within1) << n;
  for (const size_t n : test::kBlunderedLoop) EXPECT_EQ(q.ClassOf(n), LoopClass::Beyond) << n;
  for (const size_t n : test::kInNoLoop) {
    EXPECT_EQ(q.ClassOf(n), LoopClass::NoLoop) << n;
    EXPECT_EQ(q.WorstLoop(n), nullptr) << n;
  }
  // The figures are those of the blunder finder's loop: 10 m sin 10 deg off.
  const BlunderLoop* worst = q.WorstLoop(test::kBlunderedLeg);
  ASSERT_NE(worst, nullptr);
  EXPECT_NEAR(std::hypot(worst->misclosure[0], worst->misclosure[1]), 2 * 10 * std::sin(5 * kDegreeFactor), 1e-6);
  EXPECT_DOUBLE_EQ(worst->length, 40);
  EXPECT_EQ(LoopRecords(*store, BlunderOptions{}, static_cast<size_t>(worst - q.loops.data())),
            (std::vector<size_t>{6, 7, 8, 9}));
}

// A ladder of random loops sharing legs: every leg's loop is the worst of
// the loops that contain it, as a plain search over each loop's records finds.
TEST(LoopQuality, WorstLoopOfEveryLegAsAPlainSearchFindsIt) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> slip(-4, 4);
  auto store = test::EmptySurvey(0);
  test::AddReference(*store, "L0");
  for (int i = 1; i <= 30; ++i) {
    const std::string l = "L" + std::to_string(i), r = "R" + std::to_string(i);
    test::AddLeg(*store, "L" + std::to_string(i - 1), l, 5, slip(rng));
    test::AddLeg(*store, i == 1 ? "L0" : "R" + std::to_string(i - 1), r, 5, 90 + slip(rng));
    if (i % 3 == 0) test::AddLeg(*store, l, r, 10 + slip(rng) / 10, 90);
  }
  const BlunderOptions options;
  const LoopQuality q = ComputeLoopQuality(*store, options);
  ASSERT_GT(q.loops.size(), 5u);
  std::vector<double> worst(store->records.size(), -1);
  for (size_t loop = 0; loop < q.loops.size(); ++loop)
    for (const size_t n : LoopRecords(*store, options, loop)) worst[n] = std::max(worst[n], q.loops[loop].normalised);
  for (size_t n = 0; n < store->records.size(); ++n) {
    const BlunderLoop* got = q.WorstLoop(n);
    if (worst[n] < 0) {
      EXPECT_EQ(got, nullptr) << n;
      continue;
    }
    ASSERT_NE(got, nullptr) << n;
    EXPECT_EQ(got->normalised, worst[n]) << n;
  }
}

TEST(LoopQuality, CacheKeepsTheFiguresOfTheLastComputePass) {
  auto store = test::Survey(test::kTwoLoops);
  platform::ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);
  LoopQualityCache cache;
  EXPECT_EQ(cache.Get(*store, {}).ClassOf(test::kBlunderedLeg), LoopClass::Beyond);
  store->records[test::kBlunderedLeg]->azimuth = 180;  // mended in the editor, not computed yet
  EXPECT_EQ(cache.Get(*store, {}).ClassOf(test::kBlunderedLeg), LoopClass::Beyond);
  RunComputeCommand(*store, prompter);
  EXPECT_EQ(cache.Get(*store, {}).ClassOf(test::kBlunderedLeg), LoopClass::Within1);
  store->records[test::kBlunderedLeg]->azimuth = 190;
  EXPECT_EQ(cache.Get(*store, {}).ClassOf(test::kBlunderedLeg), LoopClass::Within1);
  EXPECT_EQ(cache.Get(*store, {0.05, 0.5}).ClassOf(test::kBlunderedLeg), LoopClass::Beyond)
      << "other accuracies work the figures out again";
}

}  // namespace
}  // namespace hp::calc
