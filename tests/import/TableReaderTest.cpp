// The table import: header names, carried values, field reading, dates,
// records and messages, driven with line lists and once through a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "base/FixedText.h"
#include "import/TableColumns.h"
#include "import/TextImport.h"

namespace hp::imports {
namespace {

using Lines = std::vector<std::string>;
using Field = std::function<std::string(const doc::SurveyRecord&)>;

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string Station(const doc::SurveyRecord& r) {
  return std::to_string(r.refCave) + "/" + std::to_string(r.refPassage) + "/" + std::string(base::TextOf(r.refPoint)) +
         ">" + std::to_string(r.cave) + "/" + std::to_string(r.passage) + "/" + std::string(base::TextOf(r.point));
}
std::string Leg(const doc::SurveyRecord& r) {
  return Station(r) + " " + Num(r.length) + " " + Num(r.azimuth) + " " + Num(r.inclination);
}
std::string Length(const doc::SurveyRecord& r) { return Num(r.length); }
std::string Instrument(const doc::SurveyRecord& r) { return std::to_string(r.instrument); }
std::string Date(const doc::SurveyRecord& r) { return std::string(base::TextOf(r.date)); }
std::string Description(const doc::SurveyRecord& r) { return std::string(base::TextOf(r.description)); }
std::string CarriedAndReset(const doc::SurveyRecord& r) {
  return "c" + std::to_string(r.colour) + " e" + std::to_string(r.level) + " v" + std::to_string(r.surveyor) + " r" +
         Num(r.direction) + " ring" + std::to_string(r.ring) + " L" + Num(r.left) + " " +
         std::string(base::TextOf(r.remark));
}

struct Imported {
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
};

std::unique_ptr<Imported> Import(const Lines& lines) {
  auto out = std::make_unique<Imported>();
  out->store.settings.recordCount = 0;
  ReadTableLines(out->store, lines, out->prompter);
  return out;
}

const std::string kLaenge =
    "L\xE4"
    "nge";  // Windows-1252

struct Case {
  const char* name;
  Lines lines;
  Field field;
  std::vector<std::string> expected;
};

// clang-format off
const Case kCases[] = {
    {"legs chain from station to station",
     {"Punkt\t" + kLaenge + "\tAzimut\tNeigung", "1\t5,2\t120\t-10", "2\t3\t90\t0"}, Leg,
     {"0/0/0>0/0/1 5.2 120 -10", "0/0/1>0/0/2 3 90 0"}},
    {"empty lines and lines of empty and unreadable fields keep the station",
     {"Punkt\t" + kLaenge + "\tAzimut", "1\t5", "", "\tx\t,\t", "2\t3"}, Station, {"0/0/0>0/0/1", "0/0/1>0/0/2"}},
    {"a line without a point is an auxiliary line, the next starts from nothing",
     {"Punkt\t" + kLaenge, "A\t1", "\t2", "B\t3"}, Station, {"0/0/0>0/0/A", "0/0/A>0/0/", "0/0/>0/0/B"}},
    {"cave and passage carry on, reference columns override",
     {"H\xF6" "hle\tGang\tPunkt\tRH\xF6" "hle\tRPunkt", "2\t3\t1\t\t", "\t\t2\t\t", "\t4\t3\t7\tX"}, Station,
     {"0/0/0>2/3/1", "2/3/1>2/3/2", "7/3/X>2/4/3"}},
    {"header names in any case", {"laenge\tLAENGE\t" + kLaenge + "\tNeigung", "1\t\t\t9", "\t2\t\t9", "\t\t3\t9"},
     Length, {"1", "2", "3"}},
    {"instrument outside 0 to 16 becomes 0",
     {"Ger\xE4t\t" + kLaenge, "17\t1", "16\t1", "\t1", "-1\t1", "0\t1"}, Instrument, {"0", "16", "16", "0", "0"}},
    {"invalid date carries on as empty, a valid one carries on",
     {"Datum\t" + kLaenge, "3.4.09\t1", "1.13.2001\t1", "\t1", "5.6.2010\t1", "\t1"}, Date,
     {"03.04.2009", "", "", "05.06.2010", "05.06.2010"}},
    {"point names are cut to 12 characters", {"Punkt\t" + kLaenge, "ABCDEFGHIJKLMNO\t1"}, Station,
     {"0/0/0>0/0/ABCDEFGHIJKL"}},
    {"numbers with comma or point, first comma only",
     {kLaenge + "\tNeigung", "12,5\t1", "12.5\t1", "1,234,5\t1", " -0,5\t1", "+3\t1", "12abc\t1", "abc\t1", "1e2\t1"},
     Length, {"12.5", "12.5", "1.234", "-0.5", "3", "12", "0", "100"}},
    {"carried values stay, per-line values reset",
     {"Farbe\tEbene\tVermesser\tRichtung\tRing\tLinks\tBemerkung", "3\t4\t5\t-1\t2\t1,5\tEngstelle",
      "\t\t\t\t\t\tweiter"},
     CarriedAndReset, {"c3 e4 v5 r-1 ring2 L1.5 Engstelle", "c3 e4 v5 r-1 ring0 L0 weiter"}},
    {"a carriage return stays out of the last field", {"Punkt\tBezeichnung\r", "1\tHalle\r", "2\t\r"},
     Description, {"Halle", ""}},
    {"a line longer than 1023 characters is one record",
     {"Bezeichnung\t" + kLaenge, std::string(2000, 'A') + "\t7"}, Leg, {"0/0/0>0/0/ 7 0 0"}},
    {"a header of only the long line's text", {"Bezeichnung", std::string(5000, 'B')}, Description,
     {std::string(40, 'B')}},
};
// clang-format on

TEST(TableReader, RecordsPerCase) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto imported = Import(c.lines);
    std::vector<std::string> actual;
    for (const auto& r : imported->store.records) actual.push_back(c.field(*r));
    EXPECT_EQ(actual, c.expected);
    EXPECT_EQ(imported->store.settings.recordCount, c.expected.size());
    EXPECT_TRUE(imported->prompter.Entries().empty());
  }
}

TEST(TableReader, Dates) {
  // clang-format off
  const std::pair<const char*, const char*> dates[] = {
      {"31.4.2010", ""},         {"29.2.1900", "29.02.1900"}, {"29.2.2001", ""},
      {"29.2.00", "29.02.2000"}, {"1.1.49", "01.01.2049"},    {"1.1.50", "01.01.1950"},
      {"1.1.100", "01.01.0100"}, {"1.1.10000", ""},           {"0.1.2000", ""},
      {"3.4", "03.04.2000"},     {"15.08.1987x", "15.08.1987"},
  };
  // clang-format on
  for (const auto& [field, expected] : dates) {
    SCOPED_TRACE(field);
    const auto imported = Import({"Datum", field});
    ASSERT_EQ(imported->store.records.size(), 1u);  // a given date makes a record even when invalid
    EXPECT_EQ(Date(*imported->store.records[0]), expected);
  }
}

TEST(TableReader, EveryHeaderNameSelectsItsColumn) {
  // Alternative names, case and umlaut spellings, and near misses.
  // clang-format off
  const std::pair<const char*, TableColumn> names[] = {
      {"RSerie", TableColumn::RefPassage}, {"Mappe", TableColumn::Passage},
      {"Deklination", TableColumn::Inclination}, {"Rechtswert", TableColumn::RefX},
      {"H\xF6" "he", TableColumn::RefZ},   {"hoehe", TableColumn::RefZ},
      {"L", TableColumn::Left},            {"MA\xDF" "NAHMEN", TableColumn::Measures},
      {"Anschluss", TableColumn::IncludeFile}, {"Punkt;Linie", TableColumn::Point},
      {"", TableColumn::Ignored},          {"Lange", TableColumn::Ignored},
      {"Punk", TableColumn::Ignored},      {"RefX ", TableColumn::Ignored},
  };
  // clang-format on
  for (const auto& [name, kind] : names) EXPECT_EQ(TableColumnOf(name), kind) << name;

  // The header the table export writes: every field is known.
  const auto imported =
      Import({"RH\xF6"
              "hle\tRGang\tRPunkt\tH\xF6"
              "hle\tGang\tPunkt\tStart\tEnde\tL\xE4"
              "nge\t"
              "Azimut\tNeigung\tLinks\tRechts\tOben\tUnten\tGer\xE4"
              "t\tRichtung\tRing\tFarbe\t"
              "Ebene\tDatum\tVermesser\tBezeichnung\tMaterial\tMa\xDF"
              "nahmen\tBemerkung\t"
              "Datei/URL\tInclude-Datei\tRefX\tRefY\tRefZ\tX\tY\tZ"});
  EXPECT_TRUE(imported->prompter.Entries().empty());
}

TEST(TableReader, UnknownColumnsAreReportedInOneMessageUnlessMarked) {
  const auto imported =
      Import({"_Notiz\tNotiz\tPunkt\tGr\xF6\xDF"
              "e\t%s%n\tNotiz",
              "1\t2\t3\t4\t5\t6"});
  EXPECT_EQ(imported->prompter.Texts(),
            std::vector<std::string>{"Die Spalten Notiz, Größe, %s%n und Notiz können nicht importiert werden."});
  EXPECT_EQ(imported->prompter.Entries().front().icon, platform::Icon::Exclamation);
  ASSERT_EQ(imported->store.records.size(), 1u);
  EXPECT_EQ(Station(*imported->store.records[0]), "0/0/0>0/0/3");
  // One unknown column keeps the program's own sentence.
  EXPECT_EQ(Import({"Punkt\tNotiz", "1\t2"})->prompter.Texts(),
            std::vector<std::string>{"Die Spalte Notiz kann nicht importiert werden."});
}

TEST(TableReader, CoordinatesFillStationReferenceAndSection) {
  const auto imported =
      Import({"Punkt\tX\tY\tZ\tRefX\tRefY\tRefZ", "1\t10,5\t20\t-30\t99\t98\t97", "\t\t\t\t1\t\t", "2\t\t\t\t\t\t"});
  ASSERT_EQ(imported->store.records.size(), 3u);
  const doc::SurveyRecord& r = *imported->store.records[0];
  EXPECT_EQ(std::vector({r.x, r.refX, r.developed.from.distance, r.developed.to.distance}), std::vector(4, 10.5));
  EXPECT_EQ(std::vector({r.y, r.refY, r.developed.from.height, r.developed.to.height}), std::vector(4, 20.0));
  EXPECT_EQ(std::vector({r.z, r.refZ, r.developed.from.across, r.developed.to.across}), std::vector(4, -30.0));
  EXPECT_EQ(r.crossSection.developedElevation, 1.0);  // fields the import does not set keep the record defaults
  EXPECT_EQ(r.drawFlags[0], 1);
  // A reference-coordinate value alone still makes a record, but reaches no field.
  EXPECT_EQ(imported->store.records[1]->refX, 0);
  EXPECT_EQ(Station(*imported->store.records[1]), "0/0/1>0/0/");
  EXPECT_EQ(Station(*imported->store.records[2]), "0/0/>0/0/2");
}

TEST(TableReader, AppendsAfterExistingRecords) {
  doc::SurveyStore store;
  for (int i = 0; i < 5; ++i) store.records.push_back(std::make_unique<doc::SurveyRecord>());
  store.settings.recordCount = 5;
  store.settings.computedCurrent = 1;
  platform::ScriptedPrompter prompter;
  ReadTableLines(store, {"Punkt\t" + kLaenge, "1\t5", "2\t6"}, prompter);
  ASSERT_EQ(store.records.size(), 7u);
  EXPECT_EQ(store.settings.recordCount, 7u);
  EXPECT_EQ(store.settings.computedCurrent, 0);
  EXPECT_EQ(Station(*store.records[5]), "0/0/0>0/0/1");  // record 6 is the first imported
  EXPECT_EQ(Station(*store.records[6]), "0/0/1>0/0/2");
}

TEST(TableReader, OnlyTheFirstHundredFieldsAreUsed) {
  // 99 silent columns, the length as the 100th, then 99,900 unknown names.
  std::string header, line;
  for (int i = 0; i < 99; ++i) header += "_frei\t", line += "\t";
  header += kLaenge, line += "5";
  for (int i = 0; i < 99900; ++i) header += "\tNotiz", line += "\t8";
  header += "\tPunkt", line += "\tP";
  const auto imported = Import({header, line});
  EXPECT_TRUE(imported->prompter.Entries().empty());
  ASSERT_EQ(imported->store.records.size(), 1u);
  EXPECT_EQ(Leg(*imported->store.records[0]), "0/0/0>0/0/ 5 0 0");
}

}  // namespace
}  // namespace hp::imports
