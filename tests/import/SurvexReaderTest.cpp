// The Survex import: small projects of our own, one per group of commands,
// against Survex's cavern (skipped without it), the real multi-file project
// of the test data, names, and what is refused or reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <tuple>

#include "base/FixedText.h"
#include "calc/ComputeCommand.h"
#include "calc/ComputePass.h"
#include "calc/DataEvaluation.h"
#include "doc/DocumentSettings.h"
#include "export/ExportCommand.h"
#include "import/ImportCommand.h"
#include "import/SurvexNames.h"
#include "import/SurvexParser.h"
#include "import/SurvexReader.h"
#include "import/TextImport.h"
#include "platform/SettingsStore.h"

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

// cavern's named stations as dump3d lists them, and its total leg length as
// measured and as adjusted.
struct CavernResult {
  std::map<std::string, Point> stations;
  double totalLength = 0, adjustedLength = 0;
};

CavernResult Cavern(const fs::path& svx, const fs::path& folder) {
  const fs::path threeD = folder / (svx.stem().string() + ".3d");
  const std::string log =
      Run("cd '" + folder.string() + "' && LC_ALL=C cavern -o '" + threeD.string() + "' '" + svx.string() + "' 2>&1");
  CavernResult result;
  std::smatch match;
  if (std::regex_search(log, match, std::regex(R"(Total length of survey legs = *([0-9.]+)m \( *([0-9.]+)m)"))) {
    result.totalLength = std::stod(match[1]);
    result.adjustedLength = std::stod(match[2]);
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
  size_t compared;       // stations cavern names that a record defines
  size_t notes;          // lines reported as not taken over
  bool network = false;  // computed with the network adjustment
  // Metres; cavern's adjustment differs from the exact least-squares one by
  // up to a few parts in 100,000 of the survey's extent.
  double tolerance = 0.01;
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
  doc::ChooseNetworkAdjustment(store.settings, c.network);
  calc::RunChosenComputeCommand(store, prompter, {});
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
    EXPECT_LE(std::hypot(it->second.x - p.x, it->second.y - p.y, it->second.z - p.z), c.tolerance)
        << c.file << " " << name;
  }
  EXPECT_EQ(compared, c.compared);
}

INSTANTIATE_TEST_SUITE_P(Commands, SurvexAgainstCavern,
                         ::testing::Values(CavernCase{"begin_equate.svx", 7, 0}, CavernCase{"units.svx", 7, 0},
                                           CavernCase{"backsights.svx", 6, 0}, CavernCase{"fix_styles.svx", 7, 1},
                                           CavernCase{"set_case.svx", 3, 0}, CavernCase{"include_top.svx", 3, 0},
                                           CavernCase{"network_weights.svx", 7, 0, true, 0.15}));

TEST_F(SurvexImport, RealProjectHasCavernsStationsAndLength) {
  survex::Survey survey;
  std::string failure;
  ASSERT_TRUE(survex::ReadProject(kData / "jaskinie" / "all.svx", survey, failure)) << failure;
  for (const auto& n : survey.notes) ADD_FAILURE() << n;
  EXPECT_EQ(survex::StationCount(survey), 5243u);
  EXPECT_NEAR(survex::TotalLength(survey), 5491.54, 0.005);
  EXPECT_EQ(survey.legs.size(), 5190u);  // cavern's 5259 count the 69 equates as legs
}

// Expects every station of `ours` that `reference` names within `tolerance`
// of it in each coordinate; gives the number compared.
size_t CompareStations(const std::map<std::string, Point>& ours, const std::map<std::string, Point>& reference,
                       double tolerance) {
  size_t compared = 0;
  for (const auto& [name, p] : ours) {
    const auto it = reference.find(name);
    if (it == reference.end()) continue;
    ++compared;
    const Point& q = it->second;
    EXPECT_LE(std::max({std::abs(p.x - q.x), std::abs(p.y - q.y), std::abs(p.z - q.z)}), tolerance) << name;
  }
  return compared;
}

// The real project adjusted in the network agrees with cavern within its
// centimetre at every named station, with the same accuracies for the legs
// the project gives none: the tape, compass and clino settings given to
// cavern as *sd and to us as the program's settings.
TEST_F(SurvexImport, RealProjectAdjustedAsCavernAdjustsIt) {
  if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  const fs::path project = folder / "jaskinie";
  fs::copy(kData / "jaskinie", project, fs::copy_options::recursive);
  std::ifstream in(kData / "jaskinie" / "all.svx", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Put("jaskinie/all.svx", "*sd tape 0.05 metres\n*sd compass 1 degrees\n*sd clino 1 degrees\n" + all);
  const CavernResult reference = Cavern(project / "all.svx", folder);

  survex::Survey survey;
  std::string failure;
  ASSERT_TRUE(survex::ReadProject(kData / "jaskinie" / "all.svx", survey, failure)) << failure;
  ASSERT_TRUE(ImportTable(store, kData / "jaskinie" / "all.svx", TableImportMode::Replace, prompter));
  ASSERT_TRUE(doc::NetworkAdjustmentChosen(store.settings));  // Survex data has no ring numbers
  calc::RunChosenComputeCommand(store, prompter, {0.05, 1.0});
  // Every named station but the named splay ends.
  EXPECT_EQ(CompareStations(Computed(survey, store), reference.stations, 0.01), 1206u);
  // Legs measured twice count twice, duplicate and surface legs not at all.
  const calc::SurveyEvaluation evaluation = calc::EvaluateSurvey(store, *store.currentWorksheet, 0, 0);
  EXPECT_NEAR(evaluation.all.totalLength, reference.adjustedLength, 0.01);
}

// The real project through our Survex export: the stations keep their
// Survex names and the fixes their coordinates, and cavern places each
// station where it places it from the project itself, within its
// centimetre.
TEST_F(SurvexImport, RealProjectRoundTripGivesCavernTheSameStations) {
  if (!OnPath("cavern") || !OnPath("dump3d")) GTEST_SKIP() << "cavern and dump3d (package survex) not installed";
  const fs::path all = kData / "jaskinie" / "all.svx";
  ASSERT_TRUE(ImportTable(store, all, TableImportMode::Replace, prompter));
  calc::RunComputeCommand(store, prompter);
  const platform::MemorySettingsStore settings;
  ASSERT_TRUE(exports::ExportCommand(settings, prompter).Run(store, folder / "tatra.svx", {}));
  std::ifstream written(folder / "tatra.svx", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  // The entrances are fixed as the project fixes them.
  EXPECT_NE(text.find("*cs LONG-LAT\r\n*fix otwor_czarna_zachodni 19.870371 49.244396 1326 ;"), std::string::npos);
  const CavernResult original = Cavern(all, folder), again = Cavern(folder / "tatra.svx", folder);
  // A centimetre, and what the file's rounding to whole ones adds.
  EXPECT_EQ(CompareStations(again.stations, original.stations, 0.0101), 1206u);
}

struct NoteCase {
  const char* text;
  const char* note;  // the start of the one note, after "t.svx:"
};

// Every line not taken over is told with its file and line.
TEST_F(SurvexImport, LinesNotTakenOverAreNoted) {
  const NoteCase cases[] = {
      {"*begin a\n*frobnicate 1\n*end a\n", "2: Unbekannter Befehl *frobnicate"},
      {"*declination auto 10 20 30\n1 2 3 0 0\n", "1: *declination auto braucht ein Modell"},
      {"*data nosurvey from to\n1 2\n", "2: Daten ohne Messwerte"},
      {"*data normal from to tape compass clino counter\n", "1: *data: Spalte counter"},
      {"*data normal from to tape compass clino backcompass\n1 2 5 10 0 200\n",
       "2: Azimut und Rückazimut weichen um 10.0°"},
      {"*data normal from to tape compass clino backclino\n1 2 5 10 4 4\n",
       "2: Neigung und Rückneigung weichen um 8.0°"},
      {"1 2 5 10 0 9\n", "1: Zu viele Werte"},
      {"1 2 x 10 0\n", "1: Ein Messwert ist keine Zahl"},
      {"1 2 5 - 0\n", "1: Das Azimut fehlt"},
      {"*units tape grads\n", "1: *units: Einheit grads"},
      {"*flags upside\n", "1: *flags: upside unbekannt"},
      {"*begin a\n", "1: *begin ohne *end"},
      {"*end\n", "1: *end ohne *begin"},
      {"*cs OSGB:SD\n*cs out UTM33\n*fix a 1 2 3\n", "3: *cs: Umrechnung"},
  };
  for (const NoteCase& c : cases) {
    survex::Survey survey;
    std::string failure;
    ASSERT_TRUE(survex::ReadProject(Put("t.svx", c.text), survey, failure)) << failure;
    ASSERT_EQ(survey.notes.size(), 1u) << c.text;
    EXPECT_EQ(survey.notes[0].rfind((folder / "t.svx").string() + ":" + c.note, 0), 0u) << survey.notes[0];
  }
}

TEST_F(SurvexImport, NotesAreShownOnceAndTheRestIsImported) {
  const fs::path svx = Put("t.svx", "*begin a\n1 2 5 10 0\n*frobnicate\n2 3 4 20 0\n*end a\n");
  ASSERT_TRUE(ImportTable(store, svx, TableImportMode::Replace, prompter));
  EXPECT_EQ(store.records.size(), 3u);  // the first station at the origin and two legs
  ASSERT_EQ(prompter.Texts().size(), 1u);
  EXPECT_NE(prompter.Texts()[0].find("t.svx:3: Unbekannter Befehl *frobnicate"), std::string::npos);
}

TEST_F(SurvexImport, RefusalsLeaveTheDocumentAlone) {
  const struct {
    const char* name;
    const char* text;
    const char* message;
  } cases[] = {
      {"missing.svx", "*include nowhere\n1 2 5 10 0\n", "nowhere.svx\nDiese Datei kann nicht geöffnet werden."},
      {"empty.svx", "; nothing but a comment\n", "Diese Survex-Datei enthält keine Messzüge."}};
  for (const auto& c : cases) {
    prompter.Clear();
    EXPECT_FALSE(ImportTable(store, Put(c.name, c.text), TableImportMode::Replace, prompter));
    EXPECT_EQ(store.records.size(), 1u);
    ASSERT_EQ(prompter.Texts().size(), 1u);
    EXPECT_NE(prompter.Texts()[0].find(c.message), std::string::npos) << prompter.Texts()[0];
  }
}

TEST_F(SurvexImport, TextFileWithSurvexContentIsReadAsSurvex) {
  ASSERT_TRUE(
      ImportTable(store, Put("daten.txt", "*begin a\n1 2 5 10 0\n*end a\n"), TableImportMode::Append, prompter));
  ASSERT_EQ(store.records.size(), 3u);  // the document's record, the origin, the leg
  EXPECT_EQ(base::TextOf(store.records[2]->point), "2");
}

TEST(SurvexNames, StationsStayDistinctAndEquatedNamesKeepTheirOwn) {
  survex::Survey survey;
  for (const char* name : {"cave.deep.averyveryverylongname1", "cave.deep.averyveryverylongname2", "cave.deep.short",
                           "cave.other.short", "top", "cave.deep.b"}) {
    survey.parent.push_back(static_cast<int>(survey.names.size()));
    survey.names.push_back(name);
  }
  survey.parent[5] = 2;  // cave.deep.b equated to cave.deep.short
  const std::vector<survex::StationName> names = survex::MapNames(survey);
  const struct {
    int cave, passage;
    const char* point;
  } expected[] = {{1, 1, "averyveryv~1"}, {1, 1, "averyveryv~2"}, {1, 1, "short"},
                  {1, 2, "short"},        {0, 0, "top"},          {1, 1, "b"}};
  ASSERT_EQ(names.size(), std::size(expected));
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i].cave, expected[i].cave) << i;
    EXPECT_EQ(names[i].passage, expected[i].passage) << i;
    EXPECT_EQ(names[i].point, expected[i].point) << i;
  }
}

// What the legs carry into the records: dates, teams as surveyor entries,
// splays as auxiliary lines, flags in the remark, passage dimensions at the
// station a record ends at, and legs measured twice as one.
TEST_F(SurvexImport, ReadingsGoIntoTheRecords) {
  const fs::path svx =
      Put("t.svx",
          "*begin a\n*date 2021.07.14\n*team \"Anna\" notes\n*team \"Ben\" compass\n"
          "1 2 5 10 0\n2 3 4 20 0\n3 2 4.2 200 0\n*flags splay\n3 - 1 90 0\n*flags not splay duplicate\n"
          "3 4 2 30 0\n*flags not duplicate surface\n4 5 2 40 0\n*end a\n"
          "*begin b\n*team \"Carla\"\n*data passage station left right up down\n"
          "\\a.3 1 2 3 4\n*end b\n");
  ASSERT_TRUE(ImportTable(store, svx, TableImportMode::Replace, prompter));
  ASSERT_EQ(store.records.size(), 6u);  // origin, 1-2, 2-3 (twice), splay, 3-4, 4-5
  const doc::SurveyRecord& second = *store.records[2];
  EXPECT_EQ(base::TextOf(second.point), "3");
  EXPECT_EQ(base::TextOf(second.date), "14.07.2021");
  EXPECT_NEAR(second.length, 4.1, 1e-9);
  EXPECT_EQ(base::TextOf(second.remark), "Mittel aus 2 Messungen");
  EXPECT_EQ(second.surveyor, 1);
  EXPECT_EQ(std::make_tuple(second.left, second.right, second.up, second.down), std::make_tuple(1.0, 2.0, 3.0, 4.0));
  const doc::SurveyRecord& splay = *store.records[3];
  EXPECT_EQ(base::TextOf(splay.point), "");
  EXPECT_EQ(splay.direction, 0.0);
  EXPECT_EQ(base::TextOf(store.records[4]->remark), "Doppelt gemessen (duplicate)");
  EXPECT_EQ(base::TextOf(store.records[5]->remark), "Oberfläche (surface)");
  EXPECT_EQ(base::TextOf(store.settings.surveyorNames).substr(0, 30), "0: Unbekannt\r\n1: Anna, Ben\r\n2:");
}

// A leg's declination goes into an instrument entry, named as *instrument
// names it, and its azimuth stays as read; an entry the user set up with
// another declination is left alone. The project's title is the document's.
TEST_F(SurvexImport, DeclinationsAndInstrumentsAreCarriedByInstrumentEntries) {
  store.settings.instruments[0].declination = 3.0;
  const fs::path svx = Put("t.svx",
                           "*title Kacza\n*calibrate declination -6.1\n1 2 5 10 0\n*calibrate declination 0\n"
                           "*instrument compass \"CL 123\"\n2 3 5 20 0\n");
  ASSERT_TRUE(ImportTable(store, svx, TableImportMode::Replace, prompter));
  ASSERT_EQ(store.records.size(), 3u);
  const struct {
    int instrument;
    double azimuth, declination;
    const char* name;
  } expected[] = {{2, 10.0, 6.1, "Dekl. 6,10"}, {3, 20.0, 0.0, "CL 123"}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    const doc::SurveyRecord& r = *store.records[i + 1];
    EXPECT_EQ(r.instrument, expected[i].instrument) << i;
    EXPECT_NEAR(r.azimuth, expected[i].azimuth, 1e-9) << i;
    EXPECT_NEAR(store.settings.instruments[r.instrument - 1].declination, expected[i].declination, 1e-9) << i;
    EXPECT_EQ(base::TextOf(store.settings.instrumentNames[r.instrument - 1]), expected[i].name) << i;
  }
  EXPECT_EQ(store.settings.instruments[0].declination, 3.0);
  EXPECT_EQ(base::TextOf(store.settings.title), "Kacza");
}

TEST(SurvexImportDialog, SurvexIsTheLastFileTypeAndIsRemembered) {
  EXPECT_TRUE(std::string_view(texts::kFilter).ends_with("|Survex (*.svx)|*.svx|"));
  platform::MemorySettingsStore settings;
  ImportCommand command(settings);
  command.RememberFile("/daten/hoehle.svx", 5);
  EXPECT_EQ(command.FileTypePreset(), 5);
}

}  // namespace
}  // namespace hp::imports
