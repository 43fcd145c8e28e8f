// The Survex writer: station names, what each kind of record becomes, the
// head for UTM and local surveys, and the refusal of a survey without a
// fixed point. That cavern reads the files and agrees with our coordinates
// is checked through the batch tool (tests/cli).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "doc/LegSource.h"
#include "export/ExportFile.h"
#include "export/ExportTestSupport.h"
#include "export/Writers.h"
#include "platform/Prompter.h"

namespace hp::exports {
namespace {

namespace fs = std::filesystem;

TEST(SurvexNames, PointCharactersOutsideNamesAreEscapedSoNamesStayApart) {
  const struct {
    long cave, passage;
    const char* point;
    const char* name;
  } cases[] = {
      {1, 2, "A", "C1.P2.A"},       {1, 2, "a", "C1.P2.a"},       {1, 2, "_41", "C1.P2._5F41"},
      {1, 2, "A.B", "C1.P2.A_2EB"}, {1, 2, "A B", "C1.P2.A_20B"}, {1, 2, "\xC4", "C1.P2._C4"},
      {1, 2, "-1", "C1.P2.-1"},     {-3, 0, "x", "C-3.P0.x"},     {12, 3, "4", "C12.P3.4"},
      {1, 23, "4", "C1.P23.4"},
  };
  for (const auto& c : cases) EXPECT_EQ(SurvexStationName(c.cave, c.passage, c.point), c.name) << c.point;
}

// A reference, legs of an instrument in gon with declination and meridian
// convergence, a leg by coordinates, splays, a connection, dates and
// surveyors, a remark with an umlaut and passage dimensions.
doc::SurveyStore SmallSurvey(double referenceX, double referenceY) {
  doc::SurveyStore store = test::EmptyStore();
  base::SetText(store.settings.title, "H\xF6hle am Berg");
  store.settings.meridianConvergence = 0.5;
  doc::Instrument gon = doc::GetInstrument(store.settings, 2);
  gon.azimuthUnit = gon.inclinationUnit = 1;
  gon.declination = 2;
  doc::SetInstrument(store.settings, 2, gon);
  base::SetText(store.settings.surveyorNames, "0: Unbekannt\r\n1: Anna \"Fuchs\" M\xFCller\r\n2: Bert");
  const std::string reference = std::to_string(referenceX) + " " + std::to_string(referenceY) + " 712.3 ";
  test::AddRecords(store, "0 0 @ " + reference + reference + "instrument=0\n" +
                              "0 1 10 98 10 instrument=2\n"                // + 2 declination = 100 gon
                              "1 2 @ 3 4 5 6 8 5 length=5 instrument=0\n"  // no instrument: the coordinates
                              "2 - instrument=1\n"                         // an auxiliary line, length 0
                              "2 p instrument=1\n"                         // an auxiliary point
                              "0 2 5 90 0\n"                               // a connection
                              "2 2 instrument=0\n");                       // a known station: nothing to fix
  doc::SurveyRecord& ref = *store.records[0];
  base::SetText(ref.remark, "Bohrhaken am Portal");
  base::SetText(ref.date, "12.04.2015");
  ref.surveyor = 1;
  doc::SurveyRecord& leg = *store.records[1];
  leg.left = 1.5, leg.down = 0.25, leg.surveyor = 1;
  base::SetText(leg.date, "12.04.2015");
  base::SetText(leg.remark,
                "Engstelle \xFC"
                "ber Wasser");
  store.records[2]->surveyor = 2;
  base::SetText(store.records[2]->date, "31.02.2015");  // no such day
  return store;
}

std::string Svx(const doc::SurveyStore& store) { return test::WrittenBy<SurvexWriter>(store); }

TEST(SurvexWriter, WritesEachKindOfRecord) {
  // How the numbers come about: 100 gon less 0.5 degrees of meridian
  // convergence is 89.5 degrees; 10 gon is 9 degrees; the coordinate leg is
  // (3, 4, 0); the connection's 90 degrees also lose the convergence.
  EXPECT_EQ(Svx(SmallSurvey(12.5, -3)), test::Crlf("; H\xC3\xB6hle am Berg\n"
                                                   "; Survex-Daten aus Hollowplan\n"
                                                   "*case preserve\n"
                                                   "*units tape metres\n"
                                                   "*units left right up down metres\n"
                                                   "*units compass clino degrees\n"
                                                   "*calibrate tape 0\n"
                                                   "*calibrate compass clino 0\n"
                                                   "*declination 0 degrees\n"
                                                   "*data normal from to tape compass clino\n"
                                                   "*begin\n"
                                                   "*date 2015.04.12\n"
                                                   "*team \"Anna 'Fuchs' M\xC3\xBCller\"\n"
                                                   "*fix C1.P1.0 12.5000 -3.0000 712.3000 ; Bohrhaken am Portal\n"
                                                   "C1.P1.0 C1.P1.1 10.0000 89.50000 9.00000 ; Engstelle \xC3\xBC"
                                                   "ber Wasser\n"
                                                   "*end\n"
                                                   "*begin\n"
                                                   "*team \"Bert\"\n"
                                                   "C1.P1.1 C1.P1.2 5.0000 36.86990 0.00000\n"
                                                   "*end\n"
                                                   "*flags splay\n"
                                                   "C1.P1.2 . 0.0000 0.00000 0.00000\n"
                                                   "*equate C1.P1.2 C1.P1.p\n"
                                                   "*flags not splay\n"
                                                   "C1.P1.0 C1.P1.2 5.0000 89.50000 0.00000\n"
                                                   "; Gang 1/1\n"
                                                   "*data passage station left right up down\n"
                                                   "C1.P1.1 1.500 0.000 0.000 0.250\n"));
}

TEST(SurvexWriter, OnlyRealDatesBecomeSurvexDates) {
  const struct {
    const char* date;
    const char* line;  // empty: no date line
  } cases[] = {
      {"29.02.2016", "*date 2016.02.29"},
      {"29.02.2015", ""},
      {"31.04.2015", ""},
      {"00.01.2015", ""},
      {"01.13.2015", ""},
      {"1.1.2015", ""},
      {"01.01.1899", ""},
      {"31.12.1900", "*date 1900.12.31"},
      {"ab.cd.efgh", ""},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = SmallSurvey(0, 0);
    base::SetText(store.records[0]->date, c.date);
    const std::string file = Svx(store);
    const size_t begin = file.find("*begin\r\n") + 8;
    const std::string first = file.substr(begin, file.find("\r\n", begin) - begin);
    EXPECT_EQ(first, *c.line ? std::string(c.line) : "*team \"Anna 'Fuchs' M\xC3\xBCller\"") << c.date;
  }
}

TEST(SurvexWriter, UtmReferenceSetsTheZoneAndHemisphere) {
  const struct {
    double x, y;
    char band;
    const char* system;  // empty: a local frame
  } cases[] = {
      {487215.4, 5352810.25, 'N', "UTM32N"},
      {487215.4, 5352810.25, 'M', "UTM32S"},
      {12.5, -3, 'U', ""},
      {0, 0, 'U', ""},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = SmallSurvey(c.x, c.y);
    store.settings.utmBand[0] = c.band;
    const std::string file = Svx(store);
    const std::string expected = *c.system ? "*cs " + std::string(c.system) + "\r\n*cs out " + c.system + "\r\n" : "";
    const size_t head = file.find("*declination 0 degrees\r\n") + 24;
    EXPECT_EQ(file.substr(head, file.find("*data normal") - head), expected) << c.band << " " << c.x;
  }
}

TEST(SurvexWriter, NoReferenceGivesTheMessageAndNoFile) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddRecords(store, "0 1 3 0 0 instrument=0");
  const fs::path path = fs::temp_directory_path() / ("hp_svx_" + std::to_string(::getpid()) + ".svx");
  platform::MemorySettingsStore settings;
  platform::ScriptedPrompter prompter;
  EXPECT_FALSE(ExportFile(path, {store, *store.currentWorksheet, settings, {}, TableIncludes::Without}, prompter));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(messages::kSurvexNoReference)});
}

TEST(SurvexWriter, LegsStartingOutsideTheFilterStartFromTheirComputedStart) {
  doc::SurveyStore store = SmallSurvey(12.5, -3);
  for (size_t n = 2; n < store.records.size(); ++n) store.records[n]->passage = 2;  // from 1/1/1 on
  store.currentWorksheet->setFilterCriterion(2);
  store.currentWorksheet->setLineFilterPattern("2");
  const std::string file = Svx(store);
  EXPECT_EQ(file.find("Bohrhaken"), std::string::npos);  // the reference is hidden
  EXPECT_NE(file.find("\r\n*fix C1.P1.1 3.0000 4.0000 5.0000 ; Anschlusspunkt au\xC3\x9F"
                      "erhalb der exportierten Datens\xC3\xA4tze\r\nC1.P1.1 C1.P2.2 5.0000 36.86990 0.00000\r\n"),
            std::string::npos)
      << file;
}

// Stations imported from Survex data go out under their Survex names; a
// name a second station carries (its record was changed after the import)
// stays with the first, and the second keeps its own.
TEST(SurvexWriter, ImportedStationsKeepTheirSurvexNamesOnce) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddRecords(store, "0 0 @ 0 0 0 0 0 0 instrument=0\n0 1 10 90 0\n1 2 10 0 0\n");
  doc::LegSource source;
  source.survexName = "cave.entrance.1";
  doc::SetSource(*store.records[1], source);
  doc::SetSource(*store.records[2], source);
  const std::string file = Svx(store);
  EXPECT_NE(file.find("\r\nC1.P1.0 cave.entrance.1 10.0000 90.00000 0.00000\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\r\ncave.entrance.1 C1.P1.2 10.0000 0.00000 0.00000\r\n"), std::string::npos) << file;
}

}  // namespace
}  // namespace hp::exports
