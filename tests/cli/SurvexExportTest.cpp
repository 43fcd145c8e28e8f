// Survex files written by hollowplan-cli, processed by Survex's own cavern:
// the sample cave, generated surveys and the imported PocketTopo exports of
// the test data. Without loops Survex must place every station
// within 1 cm of ours; with loops each loop's misclosure as Survex's data
// gives it must agree with our loop evaluation within 1 cm, and no station
// may move by more than the largest misclosure. Skipped without cavern and
// dump3d (Debian package survex).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <regex>

#include "base/Cp1252.h"
#include "calc/LegReduction.h"
#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"
#include "export/Writers.h"

namespace hp::cli {
namespace {

struct Point {
  double x = 0, y = 0, z = 0;
};
double Distance(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
using Stations = std::map<std::string, Point>;  // Survex name

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}
std::vector<std::string> Words(const std::string& line, char separator = ' ') {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; std::getline(in, word, separator);)
    if (!word.empty() || separator == '\t') words.push_back(word);
  return words;
}

// cavern's stations for the lines of a .svx file. The .3d file keeps whole
// centimetres, so the survey goes in a hundred times larger (tapes, and the
// fixed points around the first one) and the coordinates come back divided.
Stations Cavern(const std::vector<std::string>& svx, const fs::path& folder, std::string* log = nullptr) {
  std::string text;
  std::optional<Point> origin;
  for (const std::string& line : svx) {
    if (line.starts_with("*cs ")) continue;  // a magnified survey is no longer on the map
    if (line.starts_with("*fix ")) {
      const auto w = Words(line);
      const Point p{std::stod(w[2]), std::stod(w[3]), std::stod(w[4])};
      if (!origin) origin = p;
      text += "*fix " + w[1] + " " + std::to_string((p.x - origin->x) * 100) + " " +
              std::to_string((p.y - origin->y) * 100) + " " + std::to_string((p.z - origin->z) * 100) + "\n";
      continue;
    }
    text += line + "\n";
    if (line == "*units tape metres") text += "*units tape 100 metres\n";
  }
  const fs::path svxPath = folder / "magnified.svx", threeD = folder / "magnified.3d";
  std::ofstream(svxPath, std::ios::binary) << text;
  const std::string cavern = "cavern -o " + Quoted(threeD) + " " + Quoted(svxPath) + " 2>&1";
  std::string output;
  {
    const std::unique_ptr<FILE, int (*)(FILE*)> run(::popen(cavern.c_str(), "r"), ::pclose);
    char buffer[1024];
    while (run && std::fgets(buffer, sizeof buffer, run.get())) output += buffer;
  }
  if (log) *log = output;
  Stations stations;
  if (!origin) return stations;
  const std::unique_ptr<FILE, int (*)(FILE*)> dump(::popen(("dump3d " + Quoted(threeD)).c_str(), "r"), ::pclose);
  if (!dump) return stations;
  const std::regex node(R"(^NODE (\S+) (\S+) (\S+) \[([^\]]+)\])");
  char line[1024];
  std::smatch m;
  while (std::fgets(line, sizeof line, dump.get())) {
    const std::string row(line);
    if (std::regex_search(row, m, node))
      stations[m[4]] = {std::stod(m[1]) / 100 + origin->x, std::stod(m[2]) / 100 + origin->y,
                        std::stod(m[3]) / 100 + origin->z};
  }
  return stations;
}

// The Survex name of a station as `stations` prints it ("1/2/A", UTF-8).
std::string SurvexName(const std::string& station) {
  const size_t first = station.find('/'), second = station.find('/', first + 1);
  return exports::SurvexStationName(std::stol(station.substr(0, first)),
                                    std::stol(station.substr(first + 1, second - first - 1)),
                                    base::Utf8ToCp1252(station.substr(second + 1)));
}

struct Case {
  std::string name;
  std::string document;  // made by the case's preparation
};

class CliSurvexExport : public CliDocuments {
 protected:
  // Exports `document`, has cavern process it and checks the agreement.
  void CheckAgreement(const std::string& document) {
    const std::string svxPath = Path("out.svx");
    const Result exported = Run({"export", document, svxPath});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::vector<std::string> svx = Lines(Bytes(svxPath));
    std::string log;
    const Stations survex = Cavern(svx, m_folder, &log);
    EXPECT_EQ(log.find("error"), std::string::npos) << log;
    ASSERT_FALSE(survex.empty()) << log;

    // Our stations, and the closing legs of loops and connections.
    Stations ours;
    std::vector<std::pair<std::string, std::string>> closing;
    const auto rows = Lines(Run({"stations", document}).out);
    for (size_t n = 1; n < rows.size(); ++n) {
      const auto cells = Words(rows[n], '\t');
      ASSERT_GE(cells.size(), 10u) << rows[n];
      if (cells[3].ends_with("/")) continue;  // an auxiliary line
      const std::string station = SurvexName(cells[3]);
      if (cells[1] == "Verbindung" || cells[1] == "Ringschluss") closing.emplace_back(SurvexName(cells[2]), station);
      else if (!ours.contains(station)) ours[station] = {std::stod(cells[7]), std::stod(cells[8]), std::stod(cells[9])};
    }

    // Misclosures from Survex's unadjusted network: without the closing legs
    // the survey is a tree; a closing leg's end then misses its station.
    std::vector<std::string> tree;
    std::map<std::pair<std::string, std::string>, Point> legs;
    for (const std::string& line : svx) {
      const auto w = Words(line);
      if (w.size() >= 5 && std::find(closing.begin(), closing.end(), std::make_pair(w[0], w[1])) != closing.end()) {
        const double tape = std::stod(w[2]), a = std::stod(w[3]) * std::numbers::pi / 180,
                     e = std::stod(w[4]) * std::numbers::pi / 180;
        legs[{w[0], w[1]}] = {tape * std::sin(a) * std::cos(e), tape * std::cos(a) * std::cos(e), tape * std::sin(e)};
        continue;
      }
      tree.push_back(line);
    }
    double sum = 0, worstLoop = 0;
    std::map<std::string, Point> misclosures;  // "from - to"
    if (!legs.empty()) {
      const Stations unadjusted = Cavern(tree, m_folder);
      for (const auto& [leg, v] : legs) {
        ASSERT_TRUE(unadjusted.contains(leg.first) && unadjusted.contains(leg.second)) << leg.first;
        const Point& from = unadjusted.at(leg.first);
        const Point& to = unadjusted.at(leg.second);
        const Point miss{to.x - from.x - v.x, to.y - from.y - v.y, to.z - from.z - v.z};
        misclosures[leg.first + " - " + leg.second] = miss;
        sum += std::hypot(miss.x, miss.y, miss.z);
      }
      // Our loop evaluation's rows: "Ringschluss" and Delta X, Y, Z.
      const auto loopRows = Lines(Run({"loops", document}).out);
      for (size_t n = 1; n < loopRows.size(); ++n) {
        const auto cells = Words(loopRows[n], '\t');
        ASSERT_GE(cells.size(), 9u);
        const auto ends = cells[1].find(" - ");
        const std::string key = SurvexName(cells[1].substr(0, ends)) + " - " + SurvexName(cells[1].substr(ends + 3));
        const auto found = misclosures.find(key);
        if (found == misclosures.end()) continue;  // a loop closed at a variable reference
        auto number = [&](int cell) {
          std::string text = cells[cell];
          std::replace(text.begin(), text.end(), ',', '.');
          return std::stod(text);
        };
        const Point ourMiss{number(6), number(7), number(8)};
        EXPECT_LE(Distance(ourMiss, found->second), 0.01) << key;
        worstLoop = std::max(worstLoop, Distance(ourMiss, found->second));
      }
    }

    // Loops in series each move the stations beyond them: the two
    // adjustments may part by the sum of the misclosures.
    const double tolerance = 0.01 + sum;
    size_t compared = 0;
    double worst = 0;
    for (const auto& [station, p] : ours) {
      const auto found = survex.find(station);
      if (found == survex.end()) {
        ADD_FAILURE() << station << " is not in Survex's result";
        continue;
      }
      ++compared;
      EXPECT_LE(Distance(p, found->second), tolerance) << station;
      worst = std::max(worst, Distance(p, found->second));
    }
    EXPECT_GT(compared, 0u);
    std::printf(
        "%zu stations, largest difference %.4f m; %zu closing legs, misclosures %.4f m in all, "
        "largest difference to our loop rows %.4f m\n",
        compared, worst, legs.size(), sum, worstLoop);
  }

  void SetUp() override {
    if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  }
};

TEST_F(CliSurvexExport, SampleCaveAgreesWithCavern) {
  if (!fs::exists(HP_SAMPLE_DOCUMENT)) GTEST_SKIP() << "sample cave not built";
  fs::copy_file(HP_SAMPLE_DOCUMENT, Path("sample.hpn"));
  CheckAgreement(Path("sample.hpn"));
}

TEST_F(CliSurvexExport, ImportedPocketTopoExportsAgreeWithCavern) {
  const fs::path folder = fs::path(HP_TEST_DATA) / "pockettopo";
  if (!fs::exists(folder)) GTEST_SKIP() << "no PocketTopo exports in " << folder;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with("_in.txt")) continue;
    SCOPED_TRACE(name);
    ++files;
    const std::string document = Path(name + ".hpn");
    ASSERT_EQ(Run({"import", entry.path().string(), "-o", document}).status, 0);
    CheckAgreement(document);
  }
  EXPECT_GT(files, 0);
}

// Generated surveys: a long traverse with side branches, splays and the
// instrument corrections the reduction applies, open or closed into loops,
// on the UTM map or in a local frame.
struct Generated {
  const char* name;
  bool loops;
  bool utm;
  int azimuthUnit;  // 0 degrees, 1 gon
  int verticalReference;
  double declination, meridianConvergence, sag;
};

void PrintTo(const Generated& generated, std::ostream* out) { *out << generated.name; }

class CliSurvexGenerated : public CliSurvexExport, public testing::WithParamInterface<Generated> {};

TEST_P(CliSurvexGenerated, AgreesWithCavern) {
  const Generated& g = GetParam();
  doc::SurveyStore store = Survey({});
  doc::DocumentSettings& s = store.settings;
  s.meridianConvergence = g.meridianConvergence;
  doc::Instrument instrument = doc::GetInstrument(s, 1);
  instrument.azimuthUnit = instrument.inclinationUnit = static_cast<uint32_t>(g.azimuthUnit);
  instrument.verticalReference = static_cast<uint32_t>(g.verticalReference);
  instrument.declination = g.declination, instrument.sag = g.sag;
  doc::SetInstrument(s, 1, instrument);
  calc::UpdateSagCoefficients(s);
  const double circle = g.azimuthUnit == 0 ? 360 : 400;
  const double level = g.verticalReference == 0 ? 0 : circle / 4;  // horizontal reading

  auto add = [&](const std::string& from, const std::string& to, double length, double azimuth, double tilt,
                 int ring = 0) {
    doc::SurveyRecord& r = test::AddLeg(store, from, to, length, std::fmod(azimuth + circle, circle),
                                        level + (g.verticalReference == 2 ? -tilt : tilt), ring);
    r.left = r.right = length > 0 ? 1.5 : 0;
  };
  add("0", "0", 0, 0, 0);
  doc::SurveyRecord& reference = *store.records.back();
  reference.x = reference.refX = g.utm ? 487215.4 : 12.5;
  reference.y = reference.refY = g.utm ? 5352810.25 : -3;
  reference.z = reference.refZ = 712.3;
  reference.instrument = 0, reference.inclination = 0;
  // A winding traverse of 120 legs (about 1.2 km), a branch every tenth
  // station, a splay every seventh.
  auto length = [](int n) { return 8.0 + (n % 5); };
  auto azimuth = [&](int n) { return std::fmod(n * 37.0, circle); };
  auto tilt = [](int n) { return (n % 9) - 4.0; };
  // Stations named as surveyors do: "7" and "7a", "Ä 1.b" and "ä_1.b".
  auto name = [](int n) {
    if (n == 60) return std::string("\xC4 1.b");
    if (n == 61) return std::string("\xE4_1.b");
    return n > 0 && n % 11 == 0 ? std::to_string(n / 11) + "a" : std::to_string(n);
  };
  for (int n = 1; n <= 120; ++n) {
    add(name(n - 1), name(n), length(n), azimuth(n), tilt(n));
    if (n % 10 == 0) add(name(n), "b" + std::to_string(n), 6, n * 11.0, 12);
    if (n % 7 == 0) add(name(n), "", 2.5, n * 13.0, 30);
  }
  if (g.loops) {
    // Every 30th station a second traverse along the next three legs, each
    // reading a little off, closes on the third station.
    for (int n = 10; n < 120; n += 30) {
      const std::string a = "x" + std::to_string(n) + "a", b = "x" + std::to_string(n) + "b";
      add(name(n), a, length(n + 1) + 0.04, azimuth(n + 1) + 0.3, tilt(n + 1) - 0.2);
      add(a, b, length(n + 2) - 0.03, azimuth(n + 2) - 0.2, tilt(n + 2) + 0.3);
      add(b, name(n + 3), length(n + 3) + 0.05, azimuth(n + 3) + 0.4, tilt(n + 3), n / 10);
    }
  }
  store.settings.computedCurrent = 0;
  ASSERT_TRUE(doc::SaveDocument(Path("generated.hpn"), store));
  CheckAgreement(Path("generated.hpn"));
}

INSTANTIATE_TEST_SUITE_P(Surveys, CliSurvexGenerated,
                         testing::Values(Generated{"OpenUtm", false, true, 0, 0, 2.5, 1.25, 0},
                                         Generated{"OpenLocalGonNadiral", false, false, 1, 1, 3.0, 0, 2},
                                         Generated{"OpenZenithSag", false, true, 0, 2, -1.5, -0.8, 5},
                                         Generated{"LoopsUtm", true, true, 0, 0, 2.5, 1.25, 0},
                                         Generated{"LoopsLocalGon", true, false, 1, 1, 0, 0, 1}),
                         [](const testing::TestParamInfo<Generated>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace hp::cli
