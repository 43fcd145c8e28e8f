// The table text: one golden line, the include modes, and a round trip
// through the table import.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "base/FixedText.h"
#include "export/ExportTestSupport.h"
#include "export/Writers.h"
#include "import/TextImport.h"
#include "platform/Prompter.h"

namespace hp::exports {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

doc::SurveyStore Sample() {
  doc::SurveyStore store = test::EmptyStore();
  doc::SurveyRecord& a = test::AddStation(store, 3, 12, "A5", 1234.567, -20.004, 512.5,
                                          "Gro\xDF"
                                          "e H\xF6hle");
  a.length = 12.5;
  a.azimuth = 271.25;
  a.inclination = -3.125;
  a.left = 1;
  a.right = 0.5;
  a.up = 2;
  a.down = 0.25;
  a.tapeStart = 0.1;
  a.tapeEnd = 12.6;
  a.direction = -1;
  a.ring = 4;
  a.colour = 7;
  a.level = 2;
  a.surveyor = 3;
  base::SetText(a.date, "03.05.2024");
  base::SetText(a.material, "Knochen");
  base::SetText(a.measures, "Gitter");
  base::SetText(a.remark, "nass");
  base::SetText(a.fileUrl, "foto.jpg");
  doc::SurveyRecord& b = test::AddStation(store, 3, 12, "A6", 1, 2, 3);
  base::SetText(b.includeFile, "teil.hpn");
  // The import carries a date down to lines that leave it empty.
  base::SetText(b.date, "04.05.2024");
  doc::SurveyRecord& c = test::AddStation(store, 3, 12, "A7", 4, 5, 6);
  c.fromInclude = 1;
  base::SetText(c.date, "05.05.2024");
  return store;
}

// Made by hand from the column list: the first record of Sample(); -3.125
// is printed as printf prints it, -3,12.
const char* const kFirstLine =
    "3\t12\t0\t3\t12\tA5\t0,10\t12,60\t12,50\t271,25\t-3,12\t1,00\t0,50\t2,00\t0,25\t1\t-1,00\t4\t7\t2\t"
    "03.05.2024\t3\tGro\xDF"
    "e H\xF6hle\tKnochen\tGitter\tnass\tfoto.jpg\t\t0,00\t0,00\t0,00\t1234,57\t-20,00\t512,50";

TEST(TableWriter, HeaderAndGoldenLine) {
  const doc::SurveyStore store = Sample();
  platform::MemorySettingsStore settings;
  TableWriter writer;
  const auto lines = Lines(test::Written(writer, store, settings));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "RH\xF6hle\tRGang\tRPunkt\tH\xF6hle\tGang\tPunkt\tStart\tEnde\tL\xE4nge\tAzimut\tNeigung\tLinks\tRechts\t"
            "Oben\tUnten\tGer\xE4t\tRichtung\tRing\tFarbe\tEbene\tDatum\tVermesser\tBezeichnung\tMaterial\t"
            "Ma\xDFnahmen\tBemerkung\tDatei/URL\tInclude-Datei\tRefX\tRefY\tRefZ\tX\tY\tZ");
  EXPECT_EQ(lines[1], kFirstLine);
}

TEST(TableWriter, IncludeModes) {
  const doc::SurveyStore store = Sample();
  platform::MemorySettingsStore settings;
  const struct {
    TableIncludes mode;
    size_t records;
    const char* includeColumn;  // of the second record
  } cases[] = {{TableIncludes::Without, 2, "teil.hpn"}, {TableIncludes::All, 3, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.records);
    TableWriter writer;
    const auto lines = Lines(test::Written(writer, store, settings, c.mode));
    ASSERT_EQ(lines.size(), c.records + 1);
    std::vector<std::string> fields;
    std::stringstream line(lines[2]);
    for (std::string field; std::getline(line, field, '\t');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 34u);
    EXPECT_EQ(fields[27], c.includeColumn);
  }
}

TEST(TableWriter, ReadBackByTheTableImportGivesTheSameRecords) {
  const doc::SurveyStore store = Sample();
  platform::MemorySettingsStore settings;
  TableWriter writer;
  const auto lines = Lines(test::Written(writer, store, settings, TableIncludes::All));
  doc::SurveyStore back = test::EmptyStore();
  platform::ScriptedPrompter prompter;
  ASSERT_TRUE(imports::ReadTableLines(back, lines, prompter));
  EXPECT_TRUE(prompter.Texts().empty());
  ASSERT_EQ(back.records.size(), store.records.size());
  for (size_t n = 0; n < store.records.size(); ++n) {
    const doc::SurveyRecord& a = *store.records[n];
    const doc::SurveyRecord& b = *back.records[n];
    const auto whole = [](const doc::SurveyRecord& r) {  // the fields that come back exactly
      return std::tuple(r.refCave, r.refPassage, base::TextOf(r.refPoint), r.cave, r.passage, base::TextOf(r.point),
                        r.instrument, r.ring, r.colour, r.level, r.surveyor, base::TextOf(r.date),
                        base::TextOf(r.description), base::TextOf(r.material), base::TextOf(r.measures),
                        base::TextOf(r.remark), base::TextOf(r.fileUrl));
    };
    EXPECT_EQ(whole(b), whole(a)) << "record " << n + 1;
    for (const auto& [x, y] : {std::pair{a.length, b.length},
                               {a.azimuth, b.azimuth},
                               {a.left, b.left},
                               {a.right, b.right},
                               {a.up, b.up},
                               {a.down, b.down},
                               {a.direction, b.direction},
                               {a.tapeStart, b.tapeStart},
                               {a.tapeEnd, b.tapeEnd}})
      EXPECT_DOUBLE_EQ(y, x);
    EXPECT_NEAR(b.inclination, a.inclination, 0.005);
  }
}

}  // namespace
}  // namespace hp::exports
