// The network adjustment on hand-made networks whose least-squares result is
// known, and its conditions on a generated grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <string>

#include "calc/CalcTestSupport.h"
#include "calc/NetworkAdjustment.h"
#include "doc/Station.h"

namespace hp::calc {
namespace {

using test::AddLeg;
using test::AddReference;
using test::EmptySurvey;

// Horizontal legs of 10 m whose tape accuracy equals the angles' across the
// leg: every leg's covariance is the same multiple of the unit matrix.
const BlunderOptions kRound{10 * std::numbers::pi / 180, 1.0};

std::map<std::string, V3> ByStation(const doc::SurveyStore& store, const NetworkAdjustment& result) {
  std::map<std::string, V3> stations;
  for (size_t i = 0; i < store.records.size(); ++i) {
    if (!std::isnan(result.stations[i][0]))
      stations[doc::StationText(doc::StationOf(*store.records[i]))] = result.stations[i];
  }
  return stations;
}

void ExpectNear(const V3& a, const V3& b, double tolerance) {
  for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << i;
}

struct HandCase {
  const char* name;
  void (*make)(doc::SurveyStore&);
  std::map<std::string, V3> expected;  // stations by name
  std::vector<V3> corrections;         // per record
};

// A square loop whose last leg is read 8 cm long: each leg takes a quarter.
void Square(doc::SurveyStore& s) {
  AddReference(s, "A");
  AddLeg(s, "A", "B", 10, 0), AddLeg(s, "B", "C", 10, 90), AddLeg(s, "C", "D", 10, 180),
      AddLeg(s, "D", "A", 10.08, 270);
}
// A traverse between two fixed stations 6 cm further apart than read.
void Traverse(doc::SurveyStore& s) {
  AddReference(s, "A", 100, 200, 50), AddReference(s, "Z", 130.06, 200, 50);
  AddLeg(s, "A", "1", 10, 90), AddLeg(s, "1", "2", 10, 90), AddLeg(s, "2", "Z", 10, 90);
}
// Two square loops joined by a bridge, with a dead end: only the loops move.
void Bridge(doc::SurveyStore& s) {
  Square(s);
  AddLeg(s, "C", "E", 10, 90);  // bridge
  AddLeg(s, "E", "F", 10, 0), AddLeg(s, "F", "G", 10, 90), AddLeg(s, "G", "H", 10, 180),
      AddLeg(s, "H", "E", 10.04, 270);
  AddLeg(s, "G", "X", 10, 0);  // dead end
}
// Two parts, each with its fixed station and its loop.
void TwoParts(doc::SurveyStore& s) {
  Square(s);
  AddReference(s, "P", 500, 0, 0);
  AddLeg(s, "P", "Q", 10, 0), AddLeg(s, "Q", "P", 9.96, 180);
}

const HandCase kHandCases[] = {
    {"Square",
     Square,
     {{"1/1/B", {0.02, 10, 0}}, {"1/1/C", {10.04, 10, 0}}, {"1/1/D", {10.06, 0, 0}}},
     {{}, {0.02, 0, 0}, {0.02, 0, 0}, {0.02, 0, 0}, {0.02, 0, 0}}},
    {"Traverse",
     Traverse,
     {{"1/1/1", {110.02, 200, 50}}, {"1/1/2", {120.04, 200, 50}}, {"1/1/Z", {130.06, 200, 50}}},
     {{}, {}, {0.02, 0, 0}, {0.02, 0, 0}, {0.02, 0, 0}}},
    {"Bridge",
     Bridge,
     {{"1/1/E", {20.04, 10, 0}}, {"1/1/F", {20.05, 20, 0}}, {"1/1/G", {30.06, 20, 0}}, {"1/1/X", {30.06, 30, 0}}},
     {{},
      {0.02, 0, 0},
      {0.02, 0, 0},
      {0.02, 0, 0},
      {0.02, 0, 0},
      {0, 0, 0},
      {0.01, 0, 0},
      {0.01, 0, 0},
      {0.01, 0, 0},
      {0.01, 0, 0},
      {0, 0, 0}}},
    {"TwoParts",
     TwoParts,
     {{"1/1/D", {10.06, 0, 0}}, {"1/1/Q", {500, 9.98, 0}}},
     {{}, {0.02, 0, 0}, {0.02, 0, 0}, {0.02, 0, 0}, {0.02, 0, 0}, {}, {0, -0.02, 0}, {0, -0.02, 0}}},
};

class NetworkHand : public testing::TestWithParam<HandCase> {};

TEST_P(NetworkHand, SpreadsTheMisclosureAsTheCovariancesSay) {
  const HandCase& c = GetParam();
  auto store = EmptySurvey(0);
  c.make(*store);
  const NetworkAdjustment result = AdjustNetwork(*store, kRound);
  ASSERT_TRUE(result.solved) << result.message;
  const auto stations = ByStation(*store, result);
  for (const auto& [name, at] : c.expected) {
    SCOPED_TRACE(name);
    ASSERT_EQ(stations.count(name), 1u);
    ExpectNear(stations.at(name), at, 1e-9);
  }
  ASSERT_EQ(result.corrections.size(), c.corrections.size());
  for (size_t i = 0; i < c.corrections.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectNear(result.corrections[i], c.corrections[i], 1e-9);
  }

  // The compute pass puts the stations there, ring numbers change nothing,
  // and the wall points move with the stations (turning a little with the
  // legs' adjusted directions).
  auto plain = EmptySurvey(0);
  c.make(*plain);
  platform::ScriptedPrompter prompter;
  RunComputeCommand(*plain, prompter);
  for (auto& r : store->records) r->ring = 1, r->left = r->right = 1.5, r->up = 1;
  for (auto& r : plain->records) r->left = r->right = 1.5, r->up = 1;
  RunComputeCommand(*plain, prompter);
  store->settings.loopAdjustment = 1;
  EXPECT_TRUE(RunNetworkComputeCommand(*store, prompter, kRound).adjusted);
  EXPECT_EQ(store->settings.computedCurrent, 1u);
  for (size_t i = 0; i < store->records.size(); ++i) {
    const doc::SurveyRecord &r = *store->records[i], &p = *plain->records[i];
    const auto found = c.expected.find(doc::StationText(doc::StationOf(r)));
    if (found != c.expected.end()) ExpectNear({r.x, r.y, r.z}, found->second, 1e-9);
    for (size_t k = 0; k < 12; ++k) {
      const double station[3] = {r.x - p.x, r.y - p.y, r.z - p.z};
      EXPECT_NEAR(r.altCoords[k] - p.altCoords[k], station[k % 3], 5e-3) << i << " " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Networks, NetworkHand, testing::ValuesIn(kHandCases),
                         [](const auto& param) { return std::string(param.param.name); });

// A grid of 10 m legs with crooked compass readings, fixed at one corner.
std::unique_ptr<doc::SurveyStore> Grid(int size, unsigned seed) {
  auto store = EmptySurvey(0);
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, 0.5);
  const auto name = [](int i, int j) { return std::to_string(i) + "_" + std::to_string(j); };
  AddReference(*store, name(0, 0), 1000, 2000, 300);
  for (int i = 0; i < size; ++i) {
    for (int j = 0; j < size; ++j) {
      if (i + 1 < size) AddLeg(*store, name(i, j), name(i + 1, j), 10, 90 + noise(random));
      if (j + 1 < size) AddLeg(*store, name(i, j), name(i, j + 1), 10, 360 + noise(random));
    }
  }
  return store;
}

// With equal weights the least-squares corrections meeting at every station
// but the fixed one add up to nothing, and the adjusted stations close every
// leg with its correction.
TEST(NetworkAdjustment, GridMeetsTheNormalEquations) {
  auto store = Grid(6, 7);
  const NetworkAdjustment result = AdjustNetwork(*store, kRound);
  ASSERT_TRUE(result.solved) << result.message;
  EXPECT_GT(result.junctions, 10u);
  std::map<std::string, V3> sum;
  const auto stations = ByStation(*store, result);
  for (size_t i = 1; i < store->records.size(); ++i) {
    const doc::SurveyRecord& r = *store->records[i];
    const std::string from = doc::StationText(doc::RefStationOf(r)), to = doc::StationText(doc::StationOf(r));
    const double az = r.azimuth * std::numbers::pi / 180;
    const V3 read{10 * std::sin(az), 10 * std::cos(az), 0};
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(stations.at(to)[k] - stations.at(from)[k], read[k] + result.corrections[i][k], 1e-9);
      sum[to][k] += result.corrections[i][k];
      sum[from][k] -= result.corrections[i][k];
    }
  }
  ExpectNear(stations.at("1/1/0_0"), {1000, 2000, 300}, 0);
  for (const auto& [station, total] : sum) {
    SCOPED_TRACE(station);
    if (station != "1/1/0_0") ExpectNear(total, {0, 0, 0}, 1e-9);
  }
}

TEST(NetworkAdjustment, SameStationsWhateverTheRecordOrder) {
  auto store = Grid(5, 3);
  const auto before = ByStation(*store, AdjustNetwork(*store, {}));
  std::mt19937 random(11);
  std::shuffle(store->records.begin() + 1, store->records.end(), random);
  const auto after = ByStation(*store, AdjustNetwork(*store, {}));
  ASSERT_EQ(before.size(), after.size());
  for (const auto& [name, at] : before) {
    SCOPED_TRACE(name);
    ExpectNear(after.at(name), at, 1e-9);
  }
}

// A loop that reaches no fixed station cannot be placed: the pass then runs
// with no correction, says why and leaves the document not computed.
TEST(NetworkAdjustment, LoopWithoutFixedStationSaysSoAndAdjustsNothing) {
  auto store = EmptySurvey(0);
  Square(*store);
  AddLeg(*store, "M", "N", 10, 0), AddLeg(*store, "N", "M", 10.1, 180);
  const NetworkAdjustment result = AdjustNetwork(*store, {});
  EXPECT_FALSE(result.solved);
  EXPECT_EQ(result.message,
            "Netzausgleich nicht möglich: Die Station 1/1/N liegt in einer Schleife, die mit "
            "keinem Festpunkt verbunden ist.");
  platform::ScriptedPrompter prompter(platform::Answer::No);
  EXPECT_FALSE(RunNetworkComputeCommand(*store, prompter, {}).adjusted);
  EXPECT_EQ(store->settings.computedCurrent, 0u);
  const std::vector<std::string> texts = prompter.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), result.message), texts.end());
  for (const auto& r : store->records) {
    for (const double v : r->work.loopCorrection) EXPECT_EQ(v, 0);
  }
}

}  // namespace
}  // namespace hp::calc
