// The Survex import: small projects of our own, one per group of commands,
// against Survex's cavern (skipped without it), the real multi-file project
// of the test data, names, and what is refused or reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <string>

#include "base/FixedText.h"
#include "calc/ComputePass.h"
#include "import/SurvexNames.h"
#include "import/SurvexParser.h"
#include "import/SurvexReader.h"

namespace hp::imports {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(HP_TEST_DATA) / "survex";

struct Point {
  double x, y, z;
};

bool OnPath(const char* program) {
  return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

std::string Run(const std::string& command) {
  std::string out;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

// cavern's named stations as dump3d lists them, and its total leg length.
struct CavernResult {
  std::map<std::string, Point> stations;
  double totalLength = 0;
};

CavernResult Cavern(const fs::path& svx, const fs::path& folder) {
  const fs::path threeD = folder / (svx.stem().string() + ".3d");
  const std::string log =
      Run("cd '" + folder.string() + "' && LC_ALL=C cavern -o '" + threeD.string() + "' '" + svx.string() + "' 2>&1");
  CavernResult result;
  std::smatch match;
  if (std::regex_search(log, match, std::regex(R"(Total length of survey legs = *([0-9.]+)m)"))) {
    result.totalLength = std::stod(match[1]);
  }
  const std::string dump = Run("dump3d '" + threeD.string() + "'");
  const std::regex node(R"(^NODE (\S+) (\S+) (\S+) \[([^\]]+)\])");
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_search(line, match, node)) {
      result.stations[match[4]] = {std::stod(match[1]), std::stod(match[2]), std::stod(match[3])};
    }
  }
  return result;
}

class SurvexImport : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("hp_survex_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    store.SetDefaults();
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path Put(const std::string& name, const std::string& text) {
    const fs::path path = folder / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  fs::path folder;
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
};

// Our computed coordinates of the stations cavern names.
std::map<std::string, Point> Computed(const survex::Survey& survey, const doc::SurveyStore& store) {
  std::map<std::string, Point> byStation;
  for (const auto& r : store.records) {
    const std::string key =
        std::to_string(r->cave) + "/" + std::to_string(r->passage) + "/" + std::string(base::TextOf(r->point));
    if (r->point[0] != 0) byStation.try_emplace(key, Point{r->x, r->y, r->z});
  }
  const std::vector<survex::StationName> names = survex::MapNames(survey);
  std::map<std::string, Point> result;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string key =
        std::to_string(names[i].cave) + "/" + std::to_string(names[i].passage) + "/" + names[i].point;
    if (const auto it = byStation.find(key); it != byStation.end()) result[survey.names[i]] = it->second;
  }
  return result;
}

struct CavernCase {
  const char* file;
  size_t compared;  // stations cavern names that a record defines
  size_t notes;     // lines reported as not taken over
};

class SurvexAgainstCavern : public SurvexImport, public ::testing::WithParamInterface<CavernCase> {};

TEST_P(SurvexAgainstCavern, StationsAndLengthAgree) {
  const CavernCase& c = GetParam();
  const fs::path svx = kData / "small" / c.file;
  survex::Survey survey;
  std::string failure;
  ASSERT_TRUE(survex::ReadProject(svx, survey, failure)) << failure;
  EXPECT_EQ(survey.notes.size(), c.notes) << (survey.notes.empty() ? "" : survey.notes.front());
  ASSERT_TRUE(ImportTable(store, svx, TableImportMode::Replace, prompter));
  calc::RunComputeCommand(store, prompter);
  const std::map<std::string, Point> ours = Computed(survey, store);
  EXPECT_EQ(ours.size(), c.compared);
  if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  const CavernResult reference = Cavern(svx, folder);
  EXPECT_NEAR(survex::TotalLength(survey), reference.totalLength, 0.005);
  size_t compared = 0;
  for (const auto& [name, p] : reference.stations) {
    const auto it = ours.find(name);
    if (it == ours.end()) continue;
    ++compared;
    EXPECT_LE(std::hypot(it->second.x - p.x, it->second.y - p.y, it->second.z - p.z), 0.01) << c.file << " " << name;
  }
  EXPECT_EQ(compared, c.compared);
}

INSTANTIATE_TEST_SUITE_P(Commands, SurvexAgainstCavern,
                         ::testing::Values(CavernCase{"begin_equate.svx", 7, 0}, CavernCase{"units.svx", 7, 0},
                                           CavernCase{"backsights.svx", 6, 0}, CavernCase{"fix_styles.svx", 7, 1},
                                           CavernCase{"set_case.svx", 3, 0}, CavernCase{"include_top.svx", 3, 0}));

TEST_F(SurvexImport, RealProjectHasCavernsStationsAndLength) {
  survex::Survey survey;
  std::string failure;
  ASSERT_TRUE(survex::ReadProject(kData / "jaskinie" / "all.svx", survey, failure)) << failure;
  for (const auto& n : survey.notes) ADD_FAILURE() << n;
  EXPECT_EQ(survex::StationCount(survey), 5243u);
  EXPECT_NEAR(survex::TotalLength(survey), 5491.54, 0.005);
  EXPECT_EQ(survey.legs.size(), 5190u);  // cavern's 5259 count the 69 equates as legs
}

}  // namespace
}  // namespace hp::imports
