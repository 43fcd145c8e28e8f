// Loop closures recompute only what they change: the pass must leave every
// record, every loop result and every message exactly as the pass that walks
// again from the loop's first record, on generated surveys with nested,
// chained and overlapping loops, shafts, variable references, negative ring
// numbers, connections, records without instrument, auxiliary points and
// lines and faulty records.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "ReferenceComputePass.h"
#include "import/TextImport.h"

namespace hp::calc {
namespace {

using doc::SurveyRecord;
using doc::SurveyStore;

struct OpenLoop {
  int ring = 0;
  std::string start, tip;
  int legsLeft = 0;
};

// A survey of `steps` random records in one passage.
std::unique_ptr<SurveyStore> RandomSurvey(uint64_t seed, int steps, int mode) {
  std::mt19937_64 random(seed);
  const auto below = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; };
  const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
  auto store = test::EmptySurvey(mode);
  store->settings.instrumentDivider[1] = 100;  // instrument 2 reads a distance meter in centimetres
  std::vector<std::string> stations{"0"};
  int nextName = 1, nextRing = 1;
  std::vector<OpenLoop> open;
  // Mostly recent stations, now and then any.
  const auto anyStation = [&] {
    return chance(0.7) ? stations[stations.size() - 1 - below(std::min<size_t>(stations.size(), 4))]
                       : stations[below(stations.size())];
  };
  const auto leg = [&](const std::string& from, const std::string& to, int ring) -> SurveyRecord& {
    const double inclination = chance(0.08) ? (chance(0.5) ? 90 : -90) : uniform(-50, 50);
    SurveyRecord& r = test::AddLeg(*store, from, to, uniform(1, 20), uniform(0, 360), inclination, ring);
    r.left = uniform(0, 3), r.right = uniform(0, 3), r.up = uniform(0, 3), r.down = uniform(0, 2);
    r.direction = chance(0.15) ? -1 : (chance(0.05) ? 0 : 1);
    if (chance(0.05)) {  // without instrument: the entered coordinates stand
      r.instrument = 0;
      r.x = uniform(-50, 50), r.y = uniform(-50, 50), r.z = uniform(-20, 20);
      r.refX = uniform(-50, 50), r.refY = uniform(-50, 50), r.refZ = uniform(-5, 5);
    } else if (chance(0.05)) {
      r.instrument = 2, r.tapeStart = uniform(0, 100), r.tapeEnd = r.tapeStart + uniform(100, 2000);
    }
    if (chance(0.03)) r.length = 0;  // an auxiliary point
    return r;
  };
  test::AddReference(*store, "0", 10, 20, 30);
  for (int step = 0; step < steps; ++step) {
    const double action = uniform(0, 1);
    if (action < 0.08 && open.size() < 6) {  // a loop begins, sometimes at a variable reference
      OpenLoop loop{nextRing++, anyStation(), "", 3 + static_cast<int>(below(8))};
      loop.tip = loop.start;
      if (chance(0.15)) {
        SurveyRecord& v = test::AddReference(*store, loop.start, 0, 0, 0, loop.ring);
        v.length = uniform(0, 5), v.direction = chance(0.5) ? 1 : -1;
        if (chance(0.2)) v.instrument = 0;
      } else if (chance(0.1)) {  // at a variable reference of a station of its own
        loop.start = loop.tip = std::to_string(nextName++);
        test::AddReference(*store, loop.start, uniform(-9, 9), uniform(-9, 9), uniform(-9, 9), loop.ring);
        stations.push_back(loop.start);
      }
      open.push_back(loop);
    } else if (action < 0.45 && !open.empty()) {  // a loop goes on or closes
      const size_t which = below(open.size());
      OpenLoop& loop = open[which];
      const int sign = chance(0.15) ? -1 : 1;
      if (loop.legsLeft-- > 0) {
        const std::string to = std::to_string(nextName++);
        leg(loop.tip, to, sign * loop.ring);
        stations.push_back(to);
        loop.tip = to;
      } else {
        // Onto its start, or onto another known station.
        leg(loop.tip, chance(0.8) ? loop.start : anyStation(), sign * loop.ring);
        if (chance(0.1)) leg(loop.tip, loop.start, loop.ring);  // a second closure of the closed loop
        open[which] = open.back();
        open.pop_back();
      }
    } else if (action < 0.52) {  // a connection between known stations
      const std::string from = anyStation(), to = stations[below(stations.size())];
      if (from != to) leg(from, to, 0);
    } else if (action < 0.54) {  // another definition of a known station
      test::AddReference(*store, stations[below(stations.size())], uniform(-5, 5), uniform(-5, 5), uniform(-5, 5));
    } else if (action < 0.56) {  // an auxiliary line
      leg(anyStation(), "", chance(0.5) || open.empty() ? 0 : open.front().ring);
    } else if (action < 0.57) {  // faulty: a reference station defined further down
      leg(std::to_string(nextName + 1), std::to_string(nextName), 0);
    } else if (action < 0.58 && store->records.size() > 2) {  // faulty: the same leg twice
      const SurveyRecord copy = *store->records[below(store->records.size())];
      store->records.push_back(std::make_unique<SurveyRecord>(copy));
    } else {
      const std::string to = std::to_string(nextName++);
      leg(anyStation(), to, 0);
      stations.push_back(to);
    }
  }
  store->settings.recordCount = static_cast<uint32_t>(store->records.size());
  return store;
}

std::unique_ptr<SurveyStore> Copy(const SurveyStore& store) {
  auto copy = test::EmptySurvey();
  copy->settings = store.settings;
  copy->legacyConversion = store.legacyConversion;
  for (const auto& r : store.records) copy->records.push_back(std::make_unique<SurveyRecord>(*r));
  return copy;
}

void ExpectSameRecords(const SurveyStore& expected, const SurveyStore& actual, const std::string& where) {
  ASSERT_EQ(expected.records.size(), actual.records.size()) << where;
  for (size_t i = 0; i < expected.records.size(); ++i) {
    const SurveyRecord &e = *expected.records[i], &a = *actual.records[i];
    const auto ev = test::ComputedValues(e), av = test::ComputedValues(a);
    for (size_t j = 0; j < ev.size(); ++j)
      EXPECT_NEAR(ev[j], av[j], 1e-9) << where << " record " << i + 1 << " [" << j << "]";
    EXPECT_EQ(test::ComputedFlags(e), test::ComputedFlags(a)) << where << " record " << i + 1;
    if (::testing::Test::HasFailure()) return;  // the first differing record says enough
  }
}

void ExpectSameAsReference(const SurveyStore& survey, const std::string& where, size_t longLoop);

void ExpectSameResults(const std::vector<LoopResult>& expected, const std::vector<LoopResult>& actual,
                       const std::string& where) {
  ASSERT_EQ(expected.size(), actual.size()) << where;
  for (size_t i = 0; i < expected.size(); ++i) {
    const LoopResult &e = expected[i], &a = actual[i];
    EXPECT_EQ(e.kind, a.kind) << where;
    EXPECT_EQ(e.recordNumber, a.recordNumber) << where;
    EXPECT_EQ(e.loopNumber, a.loopNumber) << where;
    EXPECT_EQ(e.legCount, a.legCount) << where;
    const double ev[] = {e.length, e.misclosure, e.percent, e.dX, e.dY, e.dZ};
    const double av[] = {a.length, a.misclosure, a.percent, a.dX, a.dY, a.dZ};
    for (size_t j = 0; j < 6; ++j) EXPECT_NEAR(ev[j], av[j], 1e-9) << where << " loop result " << i << " [" << j << "]";
  }
}

// The compute command with loops from `longLoop` records on counted as long
// (0: every loop), so that small surveys exercise the bookkeeping too.
void RunComputeWith(SurveyStore& store, platform::Prompter& prompter, std::vector<LoopResult>& results,
                    size_t longLoop) {
  if (longLoop == SIZE_MAX) {
    RunComputeCommand(store, prompter, &results);
    return;
  }
  store.settings.computedCurrent = 0;
  Computation computation(store, prompter, &results);
  computation.longLoopRecords = longLoop;
  computation.ComputeAll();
  store.settings.computedCurrent = computation.computed ? 1 : 0;
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.currentRecordNumber = static_cast<uint32_t>(store.records.empty() ? 0 : computation.currentNumber);
}

// Runs both passes twice on copies (the second pass starts from the results
// of the first, as when the user computes again) and compares everything;
// with loops counted as long from 0 records, from 8 and as the command does.
void ExpectSameAsReference(const SurveyStore& survey, const std::string& where) {
  for (const size_t longLoop : {size_t{0}, size_t{8}, SIZE_MAX}) {
    ExpectSameAsReference(survey, where + " long from " + std::to_string(longLoop), longLoop);
    if (::testing::Test::HasFailure()) return;
  }
}

void ExpectSameAsReference(const SurveyStore& survey, const std::string& where, size_t longLoop) {
  auto expected = Copy(survey), actual = Copy(survey);
  for (int pass = 1; pass <= 2; ++pass) {
    const std::string at = where + " pass " + std::to_string(pass);
    platform::ScriptedPrompter expectedPrompter(platform::Answer::No), actualPrompter(platform::Answer::No);
    std::vector<LoopResult> expectedResults, actualResults;
    reference::ReferenceComputeCommand(*expected, expectedPrompter, &expectedResults);
    RunComputeWith(*actual, actualPrompter, actualResults, longLoop);
    ExpectSameRecords(*expected, *actual, at);
    ExpectSameResults(expectedResults, actualResults, at);
    ASSERT_EQ(expectedPrompter.Entries().size(), actualPrompter.Entries().size()) << at;
    for (size_t i = 0; i < expectedPrompter.Entries().size(); ++i) {
      EXPECT_EQ(expectedPrompter.Entries()[i].text, actualPrompter.Entries()[i].text) << at;
    }
    EXPECT_EQ(expected->settings.computedCurrent, actual->settings.computedCurrent) << at;
    EXPECT_EQ(expected->legacyConversion, actual->legacyConversion) << at;
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(LoopRewalkTest, RandomSurveysMatchTheWalkFromTheLoopStart) {
  const struct {
    int steps, seeds;
    bool legacy;  // a file of an older format: closures lose their measurements on the first visit
  } cases[] = {{30, 100, false}, {200, 40, false}, {1500, 5, false}, {120, 30, true}};
  for (const auto& c : cases) {
    for (int seed = 1; seed <= c.seeds; ++seed) {
      for (int mode = 0; mode <= 2; ++mode) {
        auto survey = RandomSurvey(static_cast<uint64_t>(seed) * 7919 + static_cast<uint64_t>(c.steps), c.steps, mode);
        survey->legacyConversion = c.legacy;
        ExpectSameAsReference(*survey, "steps " + std::to_string(c.steps) + " seed " + std::to_string(seed) + " mode " +
                                           std::to_string(mode) + (c.legacy ? " legacy" : ""));
        if (::testing::Test::HasFailure()) return;
      }
    }
  }
}

// The sample cave's loops (five at the least) in every adjustment mode.
TEST(LoopRewalkTest, SampleCaveMatchesTheWalkFromTheLoopStart) {
  for (int mode = 0; mode <= 2; ++mode) {
    platform::ScriptedPrompter prompter(platform::Answer::No);
    SurveyStore survey;
    survey.SetDefaults();
    ASSERT_TRUE(
        imports::ImportTable(survey, HP_EXAMPLES "/Beispielhoehle.txt", imports::TableImportMode::Replace, prompter));
    survey.settings.loopAdjustment = static_cast<uint16_t>(mode);
    std::vector<LoopResult> rows;
    RunComputeCommand(*Copy(survey), prompter, &rows);
    EXPECT_GE(rows.size(), 5u) << "mode " << mode;
    ExpectSameAsReference(survey, "sample cave mode " + std::to_string(mode));
  }
}

// A grid whose every cell is a loop closed at the end of the list: every
// closure walks back over most of the survey.
TEST(LoopRewalkTest, GridOfLoopsClosedAtTheEnd) {
  constexpr int kSize = 12;
  for (int mode = 0; mode <= 2; ++mode) {
    auto store = test::EmptySurvey(mode);
    const auto name = [](int row, int column) { return std::to_string(row * 100 + column); };
    test::AddReference(*store, name(0, 0));
    for (int row = 1; row < kSize; ++row) test::AddLeg(*store, name(row - 1, 0), name(row, 0), 10, 180, 1);
    for (int row = 0; row < kSize; ++row) {
      for (int column = 1; column < kSize; ++column) {
        const int ring = row == 0 ? 0 : (row - 1) * kSize + column;
        test::AddLeg(*store, name(row, column - 1), name(row, column), 10 + 0.01 * column, 90 + 0.1 * row, 0.5,
                     (row + column) % 5 == 0 ? -ring : ring);
      }
    }
    for (int row = 1; row < kSize; ++row) {
      for (int column = 1; column < kSize; ++column) {
        test::AddLeg(*store, name(row - 1, column), name(row, column), 10.02, 179.5, column % 4 == 0 ? 89.5 : -0.5,
                     (row - 1) * kSize + column);
      }
    }
    ExpectSameAsReference(*store, "grid mode " + std::to_string(mode));
  }
}

}  // namespace
}  // namespace hp::calc
