// The GPX writer: waypoint names, the current-station and the
// labelled-stations modes, and the characters ISO-8859-1 lacks.
#include <gtest/gtest.h>

#include "export/ExportTestSupport.h"
#include "export/Writers.h"

namespace hp::exports {
namespace {

std::string Gpx(const doc::SurveyStore& store, const platform::SettingsStore& settings) {
  GpxWriter writer(settings);
  return test::Written(writer, store, settings);
}

std::vector<std::string> Names(const std::string& gpx) {
  std::vector<std::string> names;
  for (size_t at = gpx.find("<name>"); at != std::string::npos; at = gpx.find("<name>", at + 1))
    names.push_back(gpx.substr(at + 6, gpx.find("</name>", at) - at - 6));
  return names;
}

TEST(GpxName, Conversion) {
  const struct {
    const char* in;
    bool umlauts;
    const char* out;
    // clang-format off
  } cases[] = {
      {"Eingang S\xFC" "d", true, "Eingang Sued"},
      {"Eingang S\xFC" "d", false, "Eingang S\xFC" "d"},
      {"\xC4\xD6\xDC\xE4\xF6\xFC\xDF", true, "AeOeUeaeoeuess"},
      {"Stra\xDF" "e 12345678901234567890123456", true, "Strasse 123456789012345678901234"},
      {"A & B <C> \"D\"", true, "A &amp; B &lt;C&gt; &quot;D&quot;"},
      {"\x80 \x84" "x\x93", false, "&#8364; &#8222;x&#8220;"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(GpxName(c.in, c.umlauts), c.out) << c.in;
}

TEST(GpxWriter, CurrentStationGolden) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.utmZone = 33;
  store.settings.utmBand[0] = 'M';
  test::AddStation(store, 1, 1, "1", 0, 0, 0);
  test::AddStation(store, 3, 12, "A5", 500000, 10000000, 412.345);
  store.settings.currentRecordNumber = 7;  // beyond the list: the last record
  store.currentWorksheet->setStationNumbering(0);
  platform::MemorySettingsStore settings;
  settings.SetString("Settings", "GPXSymbol", "Cave & Co");
  // Written by hand from the file layout.
  const std::string expected = test::Crlf(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\n<gpx\n  version=\"1.1\"\n"
      "  creator=\"Hollowplan 22.8.0, (c) 1998-2026 Tomas Wendrik, http://www.hollowplan.de/\"\n"
      "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
      "  xmlns:topografix=\"http://www.topografix.com/GPX/Private/TopoGrafix/0/1\"\n"
      "  xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
      "  xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
      "<metadata>\n</metadata>\n"
      "<wpt lat=\"0.0000000\" lon=\"15.0000000\">\n    <ele>412.35</ele>\n    <name>3/12/A5</name>\n"
      "    <sym>Cave &amp; Co</sym>\n</wpt>\n<extensions>\n</extensions>\n</gpx>\n");
  EXPECT_EQ(Gpx(store, settings), expected);
}

TEST(GpxWriter, CurrentStationUsesItsLabelWithoutFilter) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddStation(store, 1, 1, "1", 0, 0, 0);
  test::AddStation(store, 1, 2, "2", 0, 0, 0).colour = 0;
  test::AddStation(store, 1, 3, "3", 0, 0, 0);
  store.settings.currentRecordNumber = 2;
  platform::MemorySettingsStore settings;
  EXPECT_EQ(Names(Gpx(store, settings)), std::vector<std::string>{"1/2/2"});
  store.records.clear();
  EXPECT_TRUE(Names(Gpx(store, settings)).empty());
}

TEST(GpxWriter, AllLabelledStations) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddStation(store, 1, 1, "1", 0, 0, 0,
                   "S\xFC"
                   "d");
  test::AddStation(store, 1, 1, "2", 0, 0, 0).colour = 0;
  test::AddStation(store, 1, 1, "", 0, 0, 0);
  test::AddStation(store, 1, 1, "4", 0, 0, 0);
  platform::MemorySettingsStore settings;
  settings.SetInt("Settings", "GPXSelect", 1);
  // The description stands in for the number when the worksheet says so.
  EXPECT_EQ(Names(Gpx(store, settings)), (std::vector<std::string>{"Sued", "1/1/4"}));
  settings.SetInt("Settings", "GPXUmlaute", 0);
  store.currentWorksheet->setDescriptionOverridesNumbering(0);
  store.currentWorksheet->setStationNumbering(4);
  EXPECT_EQ(Names(Gpx(store, settings)), (std::vector<std::string>{"1", "4"}));
  store.currentWorksheet->setStationNumbering(0);
  const std::string gpx = Gpx(store, settings);
  EXPECT_TRUE(Names(gpx).empty());
  EXPECT_NE(gpx.find(test::Crlf("</metadata>\n<extensions>\n")), std::string::npos);
}

}  // namespace
}  // namespace hp::exports
