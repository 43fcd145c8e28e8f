// PocketTopo exports from other cavers, imported and computed by
// hollowplan-cli, against the station coordinates that Survex's cavern
// computes from independent conversions of the same surveys (the exports and
// conversions are in the test data with their licence). Skipped without them
// or without cavern and dump3d (Debian package survex).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>

#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

const fs::path kExports = fs::path(HP_TEST_DATA) / "pockettopo";

struct Point {
  double x, y, z;
};
using Stations = std::map<std::string, Point>;  // "passage.point"

// cavern's result as dump3d lists it: "NODE x y z [survey.passage.point] ...".
Stations SurvexStations(const fs::path& svx, const fs::path& folder) {
  const fs::path threeD = folder / (svx.stem().string() + ".3d");
  const std::string cavern = "cavern -q -o " + Quoted(threeD) + " " + Quoted(svx) + " > /dev/null 2>&1";
  EXPECT_EQ(std::system(cavern.c_str()), 0) << cavern;
  Stations stations;
  const std::unique_ptr<FILE, int (*)(FILE*)> dump(::popen(("dump3d " + Quoted(threeD)).c_str(), "r"), ::pclose);
  if (!dump) return stations;
  const std::regex node(R"(^NODE (\S+) (\S+) (\S+) \[[^.\]]*\.([^\]]*)\])");
  char line[1024];
  std::smatch m;
  while (std::fgets(line, sizeof line, dump.get())) {
    const std::string text(line);
    if (std::regex_search(text, m, node)) {
      stations[m[4]] = {std::stod(m[1]), std::stod(m[2]), std::stod(m[3])};
    }
  }
  return stations;
}

using CliSurvexReference = CliDocuments;

TEST_F(CliSurvexReference, PocketTopoExportsAgreeWithCavern) {
  if (!fs::exists(kExports / "survex-reference")) GTEST_SKIP() << "no reference conversions in " << kExports;
  if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kExports)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with("_in.txt")) continue;
    ++files;
    SCOPED_TRACE(name);
    const std::string survey = name.substr(0, name.size() - 7);
    const Result imported = Run({"import", entry.path().string(), "-o", Path(survey + ".hpn")});
    ASSERT_EQ(imported.status, 0);
    EXPECT_EQ(imported.err, "");
    const Stations reference = SurvexStations(kExports / "survex-reference" / (survey + "_ps_ref.svx"), m_folder);
    ASSERT_FALSE(reference.empty());

    // Our stations in list order, the loops adjusted in the network with
    // the reading accuracies cavern takes when a survey gives none.
    std::istringstream rows(Run({"stations", Path(survey + ".hpn"), "--adjustment", "network", "--sigma-length", "0.05",
                                 "--sigma-angle", "0.5"})
                                .out);
    std::vector<std::pair<std::string, Point>> ours;
    std::string row;
    std::getline(rows, row);
    while (std::getline(rows, row)) {
      std::vector<std::string> cells;
      std::istringstream fields(row);
      for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
      ASSERT_GE(cells.size(), 10u) << row;
      const std::string station = cells[3].substr(cells[3].find('/') + 1);
      const size_t slash = station.find('/');
      if (slash + 1 == station.size()) continue;  // a splay
      ours.emplace_back(station.substr(0, slash) + "." + station.substr(slash + 1),
                        Point{std::stod(cells[7]), std::stod(cells[8]), std::stod(cells[9])});
    }
    ASSERT_FALSE(ours.empty());
    ASSERT_TRUE(reference.contains(ours.front().first)) << ours.front().first;
    const Point& start = reference.at(ours.front().first);
    const Point shift{start.x - ours.front().second.x, start.y - ours.front().second.y,
                      start.z - ours.front().second.z};
    for (const auto& [station, p] : ours) {
      const auto found = reference.find(station);
      if (found == reference.end()) {
        ADD_FAILURE() << station << " is not in the reference";
        continue;
      }
      const Point& q = found->second;
      // Each coordinate, since cavern's file keeps whole centimetres.
      const double off =
          std::max({std::abs(p.x + shift.x - q.x), std::abs(p.y + shift.y - q.y), std::abs(p.z + shift.z - q.z)});
      EXPECT_LE(off, 0.02) << station;
    }
  }
  EXPECT_EQ(files, 8);
}

}  // namespace
}  // namespace hp::cli
