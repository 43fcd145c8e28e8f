// The adjustment options of the batch tool, and the network adjustment
// against Survex's cavern on generated loopy networks with the same reading
// accuracies (skipped without cavern and dump3d, package survex).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <regex>

#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"

namespace hp::cli {
namespace {

struct Point {
  double x = 0, y = 0, z = 0;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::istringstream in(line);
  for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
  return cells;
}

// The stations `stations` prints, by point name.
std::map<std::string, Point> Stations(const std::string& output) {
  std::map<std::string, Point> stations;
  const auto lines = Lines(output);
  for (size_t i = 1; i < lines.size(); ++i) {
    const auto c = Cells(lines[i]);
    stations[c.at(3).substr(c.at(3).rfind('/') + 1)] = {std::stod(c.at(7)), std::stod(c.at(8)), std::stod(c.at(9))};
  }
  return stations;
}

class CliAdjustment : public CliDocuments {
 protected:
  // A square loop whose last leg is read 8 cm long.
  std::string Square(int loopAdjustment = 0) {
    const std::string path = Path("square.hpn");
    doc::SurveyStore store = Survey({{"A", "A", 0, 0},
                                     {"A", "B", 10, 0, 1},
                                     {"B", "C", 10, 90, 1},
                                     {"C", "D", 10, 180, 1},
                                     {"D", "A", 10.08, 270, 1}},
                                    loopAdjustment);
    EXPECT_TRUE(doc::SaveDocument(path, store));
    return path;
  }
};

TEST_F(CliAdjustment, WrongValuesAreArgumentProblems) {
  const std::string doc = Square();
  const std::vector<std::vector<std::string>> cases = {
      {"stations", doc, "--adjustment", "netz"},    {"compute", doc, "--sigma-length", "0"},
      {"loops", doc, "--sigma-angle", "x"},         {"stats", doc, "--adjustment", "3"},
      {"blunders", doc, "--adjustment", "network"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0] + " " + args[2]);
    const Result result = Run(args);
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_TRUE(result.out.empty());
  }
  EXPECT_NE(Run(cases[0]).err.find("--adjustment nimmt none, linear, vertical oder network: netz"), std::string::npos);
}

TEST_F(CliAdjustment, ChoiceForTheRunAndStoredByCompute) {
  const std::string doc = Square(0);
  // The ring-marked loop unadjusted, by length shares, and in the network by
  // the legs' covariances: the legs across x take 0.0305 m² each, those
  // along it 0.0025 m², each 0.0008 m² more for setting up at a station, of
  // the 8 cm.
  const struct {
    const char* mode;
    double dx;  // station D
  } cases[] = {{"none", 10}, {"linear", 10.0599}, {"vertical", 10.0599}, {"network", 10.0761}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const Result result = Run({"stations", doc, "--adjustment", c.mode});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NEAR(Stations(result.out).at("D").x, c.dx, 1e-4);
  }
  ASSERT_EQ(Run({"compute", doc, "-o", Path("linear.hpn"), "--adjustment", "linear"}).status, 0);
  EXPECT_TRUE(InfoHas(Path("linear.hpn"), "loop adjustment: 1\n"));
  EXPECT_TRUE(InfoHas(doc, "loop adjustment: 0\n"));
  // The network choice is kept beside loop adjustment 2 and used by the
  // next run that names no adjustment.
  ASSERT_EQ(Run({"compute", doc, "-o", Path("network.hpn"), "--adjustment", "network"}).status, 0);
  EXPECT_TRUE(InfoHas(Path("network.hpn"), "loop adjustment: 2\n"));
  EXPECT_NEAR(Stations(Run({"stations", Path("network.hpn")}).out).at("D").x, 10.0761, 1e-4);
  for (const char* command : {"stats", "protocol"}) {
    EXPECT_EQ(Run({command, doc, "--adjustment", "network", "--sigma-length", "0.02"}).status, 0) << command;
  }
}

TEST_F(CliAdjustment, NetworkLoopsListsEveryLoop) {
  // The ring-marked square and an unmarked second loop on its side.
  doc::SurveyStore store = Survey({{"A", "A", 0, 0},
                                   {"A", "B", 10, 0},
                                   {"B", "C", 10, 90},
                                   {"C", "D", 10, 180},
                                   {"D", "A", 10.08, 270, 1},
                                   {"B", "E", 10, 0},
                                   {"E", "C", 14.2, 135}});
  ASSERT_TRUE(doc::SaveDocument(Path("two.hpn"), store));
  const Result result = Run({"loops", Path("two.hpn"), "--adjustment", "network"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 3u) << result.out;
  EXPECT_EQ(lines[0], "Schleife\tMesszüge\tLänge\tDelta\tDelta X\tDelta Y\tDelta Z\tNormiert");
  EXPECT_EQ(Cells(lines[1]).size(), 8u);
  EXPECT_EQ(Cells(lines[1])[0], "1");
  EXPECT_EQ(Cells(lines[1])[3], "0,08");
}

// Generated networks: a grid of legs of many lengths and slopes, read with
// errors of the size the accuracies say, fixed at one corner or at two.
struct Generated {
  const char* name;
  int rows, columns;
  bool secondFix;
  unsigned seed;
};

void PrintTo(const Generated& generated, std::ostream* out) { *out << generated.name; }

class CliNetworkCavern : public CliAdjustment, public testing::WithParamInterface<Generated> {
 protected:
  void SetUp() override {
    CliDocuments::SetUp();
    if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  }

  // cavern's stations for the legs and fixes. The .3d file keeps whole
  // centimetres, so the survey goes in a hundred times larger, with every
  // standard deviation, that of setting up at a station included.
  std::map<std::string, Point> Cavern(const std::string& legs,
                                      const std::vector<std::pair<std::string, Point>>& fixes) {
    const Point origin = fixes.front().second;
    std::string svx =
        "*units tape 100 metres\n*sd tape 5 metres\n*sd compass 1 degrees\n*sd clino 1 degrees\n*sd position 5 "
        "metres\n";
    for (const auto& [name, p] : fixes) {
      svx += "*fix " + name + " " + std::to_string((p.x - origin.x) * 100) + " " +
             std::to_string((p.y - origin.y) * 100) + " " + std::to_string((p.z - origin.z) * 100) + "\n";
    }
    Put(Path("net.svx"), svx + legs);
    const std::string command = "cavern -q -o " + Quoted(Path("net.3d")) + " " + Quoted(Path("net.svx")) + " 2>&1";
    EXPECT_EQ(std::system((command + " >/dev/null").c_str()), 0);
    std::map<std::string, Point> stations;
    const std::unique_ptr<FILE, int (*)(FILE*)> dump(::popen(("dump3d " + Quoted(Path("net.3d"))).c_str(), "r"),
                                                     ::pclose);
    const std::regex node(R"(^NODE (\S+) (\S+) (\S+) \[([^\]]+)\])");
    char line[1024];
    std::smatch m;
    while (dump && std::fgets(line, sizeof line, dump.get())) {
      const std::string row(line);
      if (std::regex_search(row, m, node))
        stations[m[4]] = {std::stod(m[1]) / 100 + origin.x, std::stod(m[2]) / 100 + origin.y,
                          std::stod(m[3]) / 100 + origin.z};
    }
    return stations;
  }
};

TEST_P(CliNetworkCavern, AgreesWithCavern) {
  const Generated& g = GetParam();
  std::mt19937 random(g.seed);
  std::uniform_real_distribution<double> jitter(-3, 3), lengthError(-0.05, 0.05), angleError(-1, 1);
  const auto name = [](int i, int j) { return "r" + std::to_string(i) + "c" + std::to_string(j); };
  std::map<std::string, Point> truth;
  for (int i = 0; i < g.rows; ++i) {
    for (int j = 0; j < g.columns; ++j)
      truth[name(i, j)] = {j * 12 + jitter(random), i * 9 + jitter(random), jitter(random) * 2};
  }
  truth[name(0, 1) + "x"] = {truth[name(0, 1)].x + 3, truth[name(0, 1)].y - 7, truth[name(0, 1)].z + 1};
  truth[name(0, 1) + "y"] = {truth[name(0, 1)].x - 2, truth[name(0, 1)].y - 15, truth[name(0, 1)].z - 2};
  const std::string first = name(0, 0), last = name(g.rows - 1, g.columns - 1);
  // The first fix on the map; the second, where there is one, a little off
  // its true place.
  const Point shift{487215.4 - truth[first].x, 5352810.25 - truth[first].y, 712.3 - truth[first].z};
  for (auto& [station, p] : truth) p = {p.x + shift.x, p.y + shift.y, p.z + shift.z};
  std::vector<std::pair<std::string, Point>> fixes = {{first, truth[first]}};
  if (g.secondFix) fixes.push_back({last, {truth[last].x + 0.12, truth[last].y - 0.07, truth[last].z + 0.05}});
  doc::SurveyStore store = Survey({});
  for (const auto& [station, p] : fixes) test::AddReference(store, station, p.x, p.y, p.z);
  std::string legs;
  const auto leg = [&](const std::string& from, const std::string& to) {
    const Point a = truth[from], b = truth[to];
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z, h = std::hypot(dx, dy);
    const double length = std::hypot(h, dz) + lengthError(random);
    const double azimuth = std::fmod(std::atan2(dx, dy) * 180 / std::numbers::pi + 360 + angleError(random), 360);
    const double clino = std::atan2(dz, h) * 180 / std::numbers::pi + angleError(random);
    test::AddLeg(store, from, to, length, azimuth, clino);
    legs += from + " " + to + " " + std::to_string(length) + " " + std::to_string(azimuth) + " " +
            std::to_string(clino) + "\n";
  };
  for (int i = 0; i < g.rows; ++i) {
    for (int j = 0; j < g.columns; ++j) {
      if (j + 1 < g.columns) leg(name(i, j), name(i, j + 1));
      if (i + 1 < g.rows && (j % 2 == 0 || i % 2 == 1)) leg(name(i, j), name(i + 1, j));
    }
  }
  leg(name(0, 1), name(0, 1) + "x"), leg(name(0, 1) + "x", name(0, 1) + "y");  // a dead end
  ASSERT_TRUE(doc::SaveDocument(Path("net.hpn"), store));
  const Result ours =
      Run({"stations", Path("net.hpn"), "--adjustment", "network", "--sigma-length", "0.05", "--sigma-angle", "1"});
  ASSERT_EQ(ours.status, 0) << ours.err;
  const auto adjusted = Stations(ours.out);
  const auto survex = Cavern(legs, fixes);
  ASSERT_FALSE(survex.empty());
  std::vector<double> differences;
  for (const auto& [station, p] : survex) {
    ASSERT_EQ(adjusted.count(station), 1u) << station;
    const Point& q = adjusted.at(station);
    differences.push_back(std::hypot(p.x - q.x, p.y - q.y, p.z - q.z));
    EXPECT_LE(differences.back(), 0.01) << station;
  }
  std::sort(differences.begin(), differences.end());
  std::printf("%zu stations, worst difference %.4f m, median %.4f m\n", differences.size(), differences.back(),
              differences[differences.size() / 2]);
}

INSTANTIATE_TEST_SUITE_P(Networks, CliNetworkCavern,
                         testing::Values(Generated{"Ladder", 2, 8, false, 1}, Generated{"Grid", 5, 6, false, 2},
                                         Generated{"TwoFixes", 6, 7, true, 3}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace hp::cli
