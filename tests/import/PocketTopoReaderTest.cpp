// PocketTopo text import: averaging, turning of backsights and of legs
// numbered backwards, splays, units, trip dates and fixed points, damaged
// files, and real exports.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "import/TextImport.h"
#include "platform/Prompter.h"

namespace hp::imports {
namespace {

using base::TextOf;

std::string Right(std::string text, size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// A shot line in the export's columns; `tail` holds trip reference and comment.
std::string Shot(const char* from, const char* to, const char* length, const char* azimuth, const char* inclination,
                 const std::string& tail = "  [1]    ") {
  return Right(from, 8) + "    " + (to[0] ? Right(to, 8) + "    " : std::string(12, ' ')) + Right(length, 8) +
         Right(azimuth, 8) + Right(inclination, 8) + tail;
}

std::vector<std::string> File(std::vector<std::string> shots, std::vector<std::string> fixed = {},
                              const char* header = "Test   (m, 360)") {
  std::vector<std::string> lines{header, "", "[1]: 2015/06/22     0.00  ", "[3]: 2016/07/23     0.00  ", ""};
  lines.insert(lines.end(), fixed.begin(), fixed.end());
  lines.emplace_back("");
  lines.insert(lines.end(), shots.begin(), shots.end());
  return lines;
}

struct Expected {
  const char* ref;  // "passage.point"
  const char* station;
  double length, azimuth, inclination;
  int colour = 2;
  double direction = 1.0;
  int reverse = 0;
};

std::string Name(const doc::SurveyRecord& r, bool ref) {
  return std::to_string(ref ? r.refPassage : r.passage) + "." + std::string(TextOf(ref ? r.refPoint : r.point));
}

void ExpectRecords(const doc::SurveyStore& store, const std::vector<Expected>& expected) {
  ASSERT_EQ(store.records.size(), expected.size());
  EXPECT_EQ(store.settings.recordCount, expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i + 1));
    const auto& r = *store.records[i];
    const auto& e = expected[i];
    EXPECT_EQ(Name(r, true), e.ref);
    EXPECT_EQ(Name(r, false), e.station);
    EXPECT_NEAR(r.length, e.length, 1e-9);
    EXPECT_NEAR(r.azimuth, e.azimuth, 1e-9);
    EXPECT_NEAR(r.inclination, e.inclination, 1e-9);
    EXPECT_EQ(r.colour, e.colour);
    EXPECT_EQ(r.direction, e.direction);
    EXPECT_EQ(r.calculator.reverse, e.reverse);
  }
}

struct ShotCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<Expected> records;
};

// A store as the import leaves it before reading (no records), after
// `setUp`, with `lines` read into it.
void Read(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter* prompter = nullptr,
          const std::function<void(doc::DocumentSettings&)>& setUp = {}) {
  store.SetDefaults();
  store.records.clear();
  store.settings.recordCount = 0;
  if (setUp) setUp(store.settings);
  EXPECT_TRUE(ReadPocketTopoLines(store, lines, prompter));
}

const ShotCase kShotCases[] = {
    {"RepeatedShotsAveraged",
     File({Shot("1.0", "1.1", "10.00", "10.00", "5.00"), Shot("1.0", "1.1", "10.02", "12.00", "6.00"),
           Shot("1.0", "1.1", "10.04", "14.00", "7.00")}),
     {{"1.0", "1.0", 10.0, 10.0, 5.0}, {"1.0", "1.1", 10.02, 12.0, 6.0}}},
    {"BacksightWrapsAroundNorth",
     File({Shot("1.0", "1.1", "5.00", "359.00", "10.00"), Shot("1.1", "1.0", "5.00", "181.00", "-10.00")}),
     {{"1.0", "1.0", 5.0, 359.0, 10.0}, {"1.0", "1.1", 5.0, 0.0, 10.0}}},
    {"BackwardsNumberedLegTurnedAndSplayKept",
     File({Shot("1.3", "1.4", "3.00", "90.00", "0.00"), Shot("1.5", "1.4", "4.00", "200.00", "-20.00"),
           Shot("1.4", "", "1.50", "45.00", "2.00")}),
     {{"1.3", "1.3", 3.0, 90.0, 0.0},
      {"1.3", "1.4", 3.0, 90.0, 0.0},
      {"1.4", "1.5", 4.0, 20.0, 20.0, 2, 1.0, 1},
      {"1.4", "1.", 1.5, 45.0, 2.0, 4, 0.0}}},
    {"FeetAndGon",
     File({Shot("1.0", "1.1", "10.00", "10.00", "0.00"), Shot("1.1", "1.0", "10.00", "210.00", "0.00"),
           Shot("1.1", "1.2", "20.00", "399.00", "0.00"), Shot("1.2", "1.1", "20.00", "201.00", "0.00")},
          {}, "Test   (feet, 400)"),
     {{"1.0", "1.0", 3.048, 10.0, 0.0}, {"1.0", "1.1", 3.048, 10.0, 0.0}, {"1.1", "1.2", 6.096, 0.0, 0.0}}},
    // An emptied shot between repeated shots is dropped, not made a splay.
    {"ShotWithoutFromStationSkipped",
     File({Shot("1.0", "1.1", "10.00", "20.00", "0.00"), Shot("", "", "0.00", "0.00", "0.00"),
           Shot("1.0", "1.1", "10.20", "22.00", "0.00")}),
     {{"1.0", "1.0", 10.0, 20.0, 0.0}, {"1.0", "1.1", 10.1, 21.0, 0.0}}},
    // From a new station back to a known one: turned, so 2.0 gets coordinates.
    {"ShotFromNewStationBackToKnownOneTurned",
     File({Shot("1.0", "1.1", "10.00", "20.00", "0.00"), Shot("2.0", "1.1", "5.00", "250.00", "-3.00"),
           Shot("2.0", "1.1", "5.00", "252.00", "-5.00"), Shot("2.0", "2.1", "4.00", "0.00", "0.00")}),
     {{"1.0", "1.0", 10.0, 20.0, 0.0},
      {"1.0", "1.1", 10.0, 20.0, 0.0},
      {"1.1", "2.0", 5.0, 71.0, 4.0, 2, 1.0, 1},
      {"2.0", "2.1", 4.0, 0.0, 0.0}}},
    // 1.2 and 1.3 tie in only through the later shot 1.3 -> 1.1; 2.5 -> 2.4,
    // turned by its numbers, runs as measured again since 2.5 is known; 5.0
    // does not connect and stays last as it was.
    {"ShotsOrderedByAWalkFromTheReference",
     File({Shot("1.0", "1.1", "10.00", "20.00", "0.00"), Shot("5.0", "5.1", "1.00", "0.00", "0.00"),
           Shot("1.2", "", "1.50", "45.00", "2.00"), Shot("1.2", "1.3", "3.00", "90.00", "10.00"),
           Shot("1.3", "1.1", "4.00", "200.00", "-5.00"), Shot("1.1", "2.5", "2.00", "10.00", "0.00"),
           Shot("2.5", "2.4", "6.00", "30.00", "1.00")}),
     {{"1.0", "1.0", 10.0, 20.0, 0.0},
      {"1.0", "1.1", 10.0, 20.0, 0.0},
      {"1.1", "1.3", 4.0, 20.0, 5.0, 2, 1.0, 1},
      {"1.3", "1.2", 3.0, 270.0, -10.0, 2, 1.0, 1},
      {"1.2", "1.", 1.5, 45.0, 2.0, 4, 0.0},
      {"1.1", "2.5", 2.0, 10.0, 0.0},
      {"2.5", "2.4", 6.0, 30.0, 1.0},
      {"5.0", "5.1", 1.0, 0.0, 0.0}}},
    // A field that cannot be read keeps the previous shot's reading.
    {"UnreadableFieldKeepsPreviousReading",
     File({Shot("1.0", "1.1", "10.00", "20.00", "3.00"), Shot("1.1", "1.2", "-", "30.00", "x")}),
     {{"1.0", "1.0", 10.0, 20.0, 3.0}, {"1.0", "1.1", 10.0, 20.0, 3.0}, {"1.1", "1.2", 10.0, 30.0, 3.0}}},
    // Cut off inside a shot line: what its columns hold is read.
    {"FileCutInShotLine",
     File({Shot("1.0", "1.1", "10.00", "20.00", "3.00"), Shot("1.1", "1.2", "7.50", "123.00", "0.00").substr(0, 36)}),
     {{"1.0", "1.0", 10.0, 20.0, 3.0}, {"1.0", "1.1", 10.0, 20.0, 3.0}, {"1.1", "1.2", 7.5, 12.0, 3.0}}},
    {"FileCutInTripSection", {"Test   (m, 360)", "", "[1]: 2015/0"}, {}},
    {"FileCutInFixedPoints",
     {"Test   (m, 360)", "", "[1]: 2015/06/22", "", "     1.0         12"},
     {{"1.0", "1.0", 0.0, 0.0, 0.0}}},
};

TEST(PocketTopoTest, ShotsGiveRecords) {
  for (const ShotCase& c : kShotCases) {
    SCOPED_TRACE(c.name);
    doc::SurveyStore store;
    Read(store, c.lines);
    ExpectRecords(store, c.records);
    const int instrument = c.lines[0].find(", 400)") != std::string::npos ? 2 : 1;
    for (const auto& r : store.records) EXPECT_EQ(r->instrument, instrument);
  }
}

// The shot back to a known station leaves no station without coordinates.
TEST(PocketTopoTest, ShotBackToKnownStationComputes) {
  doc::SurveyStore store;
  Read(store, kShotCases[5].lines);
  platform::ScriptedPrompter prompter(platform::Answer::No);
  calc::RunComputeCommand(store, prompter);
  EXPECT_TRUE(prompter.Texts().empty());
  const auto distance = [&](size_t a, size_t b) {
    const auto &p = *store.records[a], &q = *store.records[b];
    return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z);
  };
  EXPECT_NEAR(distance(1, 2), 5.0, 1e-9);  // 1.1 -> 2.0
  EXPECT_NEAR(distance(2, 3), 4.0, 1e-9);  // 2.0 -> 2.1
}

// --- Trip declinations ---------------------------------------------------

struct DeclinationCase {
  const char* name;
  const char* header;
  std::vector<std::string> trips;
  std::vector<std::string> shots;
  std::function<void(doc::DocumentSettings&)> setUp;
  int instrument;           // of the last record
  double entryDeclination;  // of that instrument
  double azimuth;           // of the last record
  const char* remark = "";
  const char* entryName = nullptr;  // when the import named the entry
};

void Name(doc::DocumentSettings& s, int number, const char* name) {
  base::SetText(s.instrumentNames[number - 1], name);
}

// clang-format off
const DeclinationCase kDeclinationCases[] = {
    {"FreeHeaderEntryCarriesIt", "T   (m, 360)", {"[1]: 2009/04/17     2.08  "},
     {Shot("1.0", "1.1", "4.41", "85.63", "56.45")}, [](auto&) {}, 1, -2.08, 85.63, "", "Dekl. -2,08"},
    // Instrument 1 is set up by the user; 7 has the declination, 9 has it on
    // the trip's date (-3 + (2010 - 2008) * 0.5).
    {"EntryWithThatDeclinationReused", "T   (m, 360)",
     {"[1]: 2009/04/17     2.08  ", "[2]: 2010/01/01     2.00  \"Trip\""},
     {Shot("1.0", "1.1", "4.41", "85.63", "56.45"), Shot("1.1", "1.2", "3.00", "10.00", "0.00", "  [2]    ")},
     [](auto& s) {
       Name(s, 1, "DistoX");
       s.instruments[6].declination = -2.08;
       s.instruments[8].declination = -3.0;
       s.instrumentYear[8] = 2008.0;
       s.instrumentChange[8] = 0.5;
     },
     9, -3.0, 10.0},
    {"GonFileGetsAGonEntry", "T   (m, 400)", {"[1]: 2009/04/17     0.00  "},
     {Shot("1.0", "1.1", "4.41", "395.00", "56.45")}, [](auto&) {}, 2, 0.0, 395.0, "", "Dekl. 0,00"},
    {"NoEntryFreeCorrectsTheAzimuths", "T   (m, 360)", {"[1]: 2009/04/17     2.08  "},
     {Shot("1.0", "1.1", "4.41", "1.00", "0.00")},
     [](auto& s) {
       for (int n = 1; n <= doc::kInstrumentCount; ++n) Name(s, n, "belegt");
     },
     1, 0.0, 358.92, "Azimut um Deklination -2,08 korrigiert"},
    {"TripWithoutDeclinationKeepsTheHeaderInstrument", "T   (m, 360)", {"[1]: 2009/04/17"},
     {Shot("1.0", "1.1", "4.41", "85.63", "56.45")}, [](auto& s) { s.instruments[0].declination = 5.0; }, 1, 5.0,
     85.63},
    // The trip-2 shot joins the leg of trip 1 in trip 1's declination.
    {"RepeatedShotOfAnotherTripAveraged", "T   (m, 360)",
     {"[1]: 2009/04/17     2.00  ", "[2]: 2009/04/18     1.00  "},
     {Shot("1.0", "1.1", "5.00", "10.00", "0.00"), Shot("1.0", "1.1", "5.00", "11.00", "0.00", "  [2]    ")},
     [](auto&) {}, 1, -2.0, 11.0},
};
// clang-format on

TEST(PocketTopoTest, DeclinationsAreCarriedByAnInstrumentEntry) {
  for (const DeclinationCase& c : kDeclinationCases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines{c.header, ""};
    lines.insert(lines.end(), c.trips.begin(), c.trips.end());
    lines.insert(lines.end(), {"", ""});
    lines.insert(lines.end(), c.shots.begin(), c.shots.end());
    doc::SurveyStore store;
    Read(store, lines, nullptr, c.setUp);
    ASSERT_FALSE(store.records.empty());
    const doc::SurveyRecord& last = *store.records.back();
    EXPECT_EQ(last.instrument, c.instrument);
    EXPECT_NEAR(last.azimuth, c.azimuth, 1e-9);
    EXPECT_EQ(TextOf(last.remark), c.remark);
    const doc::Instrument entry = doc::GetInstrument(store.settings, c.instrument);
    EXPECT_NEAR(entry.declination, c.entryDeclination, 1e-12);
    const uint32_t unit = std::string_view(c.header).find(", 400)") != std::string_view::npos ? 1 : 0;
    EXPECT_EQ(entry.azimuthUnit, unit);
    EXPECT_EQ(entry.inclinationUnit, unit);
    if (c.entryName) {
      EXPECT_EQ(entry.name, c.entryName);
    }
  }
}

// A declination of 2.08 is taken off the measured azimuth of 90.
TEST(PocketTopoTest, DeclinationTurnsTheComputedLeg) {
  doc::SurveyStore store;
  Read(store, {"T   (m, 360)", "", "[1]: 2009/04/17     2.08  ", "", "", Shot("1.0", "1.1", "10.00", "90.00", "0.00")});
  platform::ScriptedPrompter prompter(platform::Answer::No);
  calc::RunComputeCommand(store, prompter);
  const doc::SurveyRecord& leg = *store.records.back();
  EXPECT_NEAR(std::atan2(leg.x, leg.y) / 0.01745329252, 87.92, 1e-6);
}

TEST(PocketTopoTest, FixedPointsDatesAndDescriptions) {
  const std::string comment(50, 'c');
  doc::SurveyStore store;
  Read(store, File({Shot("1.0", "1.1", "10.00", "20.00", "0.00", "  [3]    \"" + comment + "\""),
                    Shot("1.1", "", "2.00", "20.00", "0.00", "         \"wall\"")},
                   {"     1.0         594999,50    5189999.00   3999.00    \"tree\""}));
  ASSERT_EQ(store.records.size(), 3u);
  const auto& fixed = *store.records[0];
  EXPECT_EQ(Name(fixed, true) + " " + Name(fixed, false), "1.0 1.0");
  EXPECT_EQ(std::vector({fixed.refX, fixed.x, fixed.developed.to.distance}), std::vector(3, 594999.5));
  EXPECT_EQ(fixed.refY, 5189999.0);
  EXPECT_EQ(fixed.z, 3999.0);
  EXPECT_EQ(fixed.instrument, 1);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"22.06.2015", "tree"}, {"23.07.2016", comment.substr(0, 40)}, {"22.06.2015", "wall"}};
  for (size_t i = 0; i < 3; ++i) {
    const auto& r = *store.records[i];
    EXPECT_EQ(std::pair(std::string(TextOf(r.date)), std::string(TextOf(r.description))), expected[i]) << i;
  }
}

// A number out of bounds refuses its line, which then carries nothing on;
// one message names the lines. The reading stops at the record limit.
TEST(PocketTopoTest, OutOfBoundsNumbersAndRecordLimit) {
  const auto lines = File({Shot("1.0", "1.1", "10.00", "20.00", "3.00"), Shot("1.1", "1.2", "1e308", "30.00", "0.00"),
                           Shot("1.1", "1.3", "5.00", "inf", "0.00"), Shot("1.1", "1.4", "5.00", "40.00", "-nan"),
                           Shot("1.1", "1.5", "4.00", "", "")},
                          {"     1.0               1e9    5189999.00   3999.00"});
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
  Read(store, lines, &prompter);
  ExpectRecords(store,
                {{"1.0", "1.0", 10.0, 20.0, 3.0}, {"1.0", "1.1", 10.0, 20.0, 3.0}, {"1.1", "1.5", 4.0, 20.0, 3.0}});
  EXPECT_EQ(prompter.Texts(),
            std::vector<std::string>{"Zeile 6: Der Wert \"1e9\" ist keine endliche Zahl oder liegt außerhalb von "
                                     "±10.000.000.\nDie Zeile wurde nicht importiert.\nWeitere 3 Zeilen mit solchen "
                                     "Werten wurden ebenfalls nicht importiert."});

  store.records.clear();
  EXPECT_FALSE(ReadPocketTopoLines(store, lines, nullptr, 2));
  EXPECT_EQ(store.records.size(), 2u);
}

TEST(PocketTopoTest, ControlCharactersInTextsBecomeBlanks) {
  const auto lines = File({Shot("1.0", "1.1", "10.00", "20.00", "3.00", "  [1]  \"Halle\x01Nord\"")});
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
  ReadPocketTopoLines(store, lines, &prompter);
  ASSERT_EQ(store.records.size(), 2u);
  EXPECT_EQ(TextOf(store.records[1]->description), "Halle Nord");
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Steuerzeichen (etwa Zeilenumbrüche) in 2 Textfeldern wurden "
                                                       "durch Leerzeichen ersetzt."});
}

// --- Real exports -------------------------------------------------------

const std::filesystem::path kTestData = HP_TEST_DATA;
const std::filesystem::path kPocketTopo = kTestData / "pockettopo";

// Imports and computes as the import command does; the compute messages.
std::vector<std::string> ImportAndCompute(const std::filesystem::path& file, doc::SurveyStore& store) {
  store.SetDefaults();
  platform::ScriptedPrompter prompter(platform::Answer::No);
  EXPECT_TRUE(ImportTable(store, file, imports::TableImportMode::Replace, prompter));
  calc::RunComputeCommand(store, prompter);
  return prompter.Texts();
}

// Stations 2.13 to 2.16 tie in only through the later shot 2.16 -> 2.12.
TEST(PocketTopoRealFileTest, TahomaComputesWithoutMessages) {
  doc::SurveyStore store;
  const auto messages = ImportAndCompute(kPocketTopo / "tahoma.txt", store);
  for (const auto& m : messages) ADD_FAILURE() << m;
  int legs = 0, splays = 0;
  double total = 0;
  for (const auto& r : store.records) {
    if (r->point[0] == 0) {
      ++splays;
    } else if (r->length > 0) {
      ++legs;
      total += std::hypot(r->x - r->refX, r->y - r->refY, r->z - r->refZ);
    }
  }
  EXPECT_EQ(legs, 49);
  EXPECT_GT(splays, 900);
  EXPECT_NEAR(total, 401.6, 1.0);  // as the reference conversion has it
  EXPECT_EQ(store.records[0]->x, 594999.0);
}

// A leg of a reference conversion: names as "passage.point".
struct RefLeg {
  std::string from, to;
  double length, azimuth, inclination;
  bool splay;
};

std::vector<RefLeg> ReadSurvexLegs(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> blocks;
  std::vector<RefLeg> legs;
  bool splay = false, passageData = false;
  for (std::string line; std::getline(in, line);) {
    line = line.substr(0, line.find(';'));
    std::istringstream words(line);
    std::string w[5];
    int n = 0;
    while (n < 5 && words >> w[n]) ++n;
    if (n > 0 && w[0][0] == '*') {
      for (auto& c : w[0]) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (w[0] == "*BEGIN") blocks.push_back(w[1]);
      if (w[0] == "*END" && !blocks.empty()) blocks.pop_back();
      passageData = w[0] == "*DATA" ? w[1] == "passage" : w[0] == "*END" ? false : passageData;
      splay = w[0] == "*FLAGS" ? w[1] == "SPLAY" : splay;
    } else if (n == 5 && !passageData) {
      const std::string prefix = blocks.size() > 1 ? blocks.back() + "." : "";
      legs.push_back({prefix + w[0], prefix + w[1], std::stod(w[2]), std::stod(w[3]), std::stod(w[4]), splay});
    }
  }
  return legs;
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }
bool SameAzimuth(double a, double b) { return Near(std::remainder(a - b, 360.0), 0, 0.05); }

bool Matches(const doc::SurveyRecord& r, const RefLeg& leg) {
  if (!Near(r.length, leg.length, 0.01)) return false;
  const std::string ref = Name(r, true), station = Name(r, false);
  const bool forward = SameAzimuth(r.azimuth, leg.azimuth) && Near(r.inclination, leg.inclination, 0.05);
  if (leg.splay) return r.point[0] == 0 && ref == leg.from && forward;
  if (ref == leg.from && station == leg.to) return forward;
  return ref == leg.to && station == leg.from && SameAzimuth(r.azimuth, leg.azimuth + 180) &&
         Near(r.inclination, -leg.inclination, 0.05);
}

// Exports of another project, each against that project's own conversion.
TEST(PocketTopoRealFileTest, ExportsMatchReferenceConversions) {
  if (!std::filesystem::exists(kPocketTopo / "survex-reference")) GTEST_SKIP() << "no reference conversions";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kPocketTopo)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with("_in.txt")) continue;
    ++files;
    SCOPED_TRACE(name);
    doc::SurveyStore store;
    const auto messages = ImportAndCompute(entry.path(), store);
    for (const auto& m : messages) ADD_FAILURE() << m;
    const auto legs =
        ReadSurvexLegs(kPocketTopo / "survex-reference" / (name.substr(0, name.size() - 7) + "_ps_ref.svx"));
    EXPECT_FALSE(legs.empty());
    for (const auto& leg : legs) {
      bool found = false;
      for (const auto& r : store.records) found = found || Matches(*r, leg);
      EXPECT_TRUE(found) << leg.from << " -> " << leg.to << " " << leg.length << " " << leg.azimuth << " "
                         << leg.inclination;
    }
  }
  EXPECT_EQ(files, 8);
}

}  // namespace
}  // namespace hp::imports
