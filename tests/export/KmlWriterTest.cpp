// The KML writer: the empty document, the choice of station placemarks, the
// folders, XML text, zone letters and line styles.
#include <gtest/gtest.h>

#include "export/ExportTestSupport.h"
#include "export/Writers.h"

namespace hp::exports {
namespace {

std::string Kml(const doc::SurveyStore& store,
                const platform::SettingsStore& settings = platform::MemorySettingsStore()) {
  KmlWriter writer(settings);
  return test::Written(writer, store, settings);
}

using test::Count;

TEST(KmlWriter, EmptyDocumentHasStylesAndTheProgramPlacemarkOnly) {
  const doc::SurveyStore store = test::EmptyStore();
  const std::string kml = Kml(store);
  const std::string head =
      test::Crlf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://earth.google.com/kml/2.1\">\n");
  EXPECT_EQ(kml.substr(0, head.size()), head);
  EXPECT_EQ(Count(kml, "<Style id="), 3u * 2 + 16);
  EXPECT_EQ(Count(kml, "<Folder>"), 0u);
  // Written by hand from the placemark layout.
  const std::string tail = test::Crlf(
      "<Placemark>\n<name>\nHollowplan\n</name>\n<description>\nVersion 22.8.0\n\n(c) 1998-2026 Tomas Wendrik\n\n"
      "http://www.hollowplan.de/\n.\n</description>\n<styleUrl>\n#styleMap_HollowplanIcon\n</styleUrl><Point>\n"
      "<coordinates>\n-180.0000000,90.0000000,0.00\n</coordinates>\n</Point>\n</Placemark>\n</Document>\n</kml>\n");
  ASSERT_GE(kml.size(), tail.size());
  EXPECT_EQ(kml.substr(kml.size() - tail.size()), tail);
}

TEST(KmlWriter, CavePlacemarkGolden) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.cadastreNumber = 1234;
  base::SetText(store.settings.cadastreDesignation, "M\xFChle & Co");
  store.settings.utmZone = 33;
  store.settings.utmBand[0] = 'N';
  doc::SurveyRecord& r = test::AddStation(store, 5, 1, "1", 500000, 0, 512.5,
                                          "Gro\xDF"
                                          "e H\xF6hle & Co");
  r.refX = 500000;
  r.colour = 17;
  const std::string kml = Kml(store);
  // Written by hand from the placemark layouts.
  const std::string expected = test::Crlf(
      "<Folder>\n<name>1234/5, Gro&#223;e H&#246;hle &amp; Co</name>\n"
      "<Placemark>\n<name>\nGro&#223;e H&#246;hle &amp; Co\n</name>\n<description>\nKat.-Nr.: 1234/5\n\n"
      "Kataster: M&#252;hle &amp; Co\n\nH&#246;he: 512,50 m\n.\n</description>\n<styleUrl>\n#styleMap_CaveIcon\n"
      "</styleUrl><Point>\n<coordinates>\n15.0000000,0.0000000,512.50\n</coordinates>\n</Point>\n</Placemark>\n"
      "<Placemark>\n<name>5/1/1, Gro&#223;e H&#246;hle &amp; Co</name>\n<styleUrl>#Color1</styleUrl>\n"
      "<MultiGeometry>\n<LineString>\n<coordinates>\n15.0000000,0.0000000,0.00 15.0000000,0.0000000,512.50\n"
      "</coordinates>\n</LineString>\n</MultiGeometry>\n</Placemark>\n</Folder>\n");
  EXPECT_NE(kml.find(expected), std::string::npos) << kml;
  EXPECT_NE(kml.find(test::Crlf("<coordinates>\n15.0000000,0.0000000,0.00\n")), std::string::npos);
}

TEST(KmlWriter, ZoneLetterDecidesTheHemisphere) {
  const struct {
    char letter;
    double northing;
  } cases[] = {{'N', 0}, {'M', 10000000}, {'m', 10000000}, {'C', 10000000}, {'X', 0}};
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    store.settings.utmZone = 33;
    store.settings.utmBand[0] = c.letter;
    doc::SurveyRecord& r = test::AddStation(store, 1, 1, "1", 500000, c.northing, 0);
    r.refX = 500000;
    r.refY = c.northing;
    EXPECT_NE(Kml(store).find("15.0000000,0.0000000,0.00 15.0000000,0.0000000,0.00"), std::string::npos) << c.letter;
  }
}

TEST(KmlWriter, StationPlacemarkChoice) {
  // Two records of one cave; the first opens the folder.
  const struct {
    int cave, cavePoint, point, number;
    const char* firstDescription;
    const char* secondDescription;
    const char* styles;  // placemark icons in file order: C cave, N no icon
  } cases[] = {
      {1, 0, 0, 0, "Eingang", "Halle", "C"}, {1, 0, 1, 0, "Eingang", "Halle", "CN"}, {1, 0, 0, 0, "", "Halle", ""},
      {1, 0, 1, 0, "", "Halle", "N"},        {0, 1, 0, 0, "", "Halle", "C"},         {0, 0, 0, 1, "", "", "NN"},
      {0, 0, 0, 0, "Eingang", "Halle", ""},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    test::AddStation(store, 1, 1, "1", 0, 0, 0, c.firstDescription);
    test::AddStation(store, 1, 1, "2", 0, 0, 0, c.secondDescription);
    platform::MemorySettingsStore settings;
    settings.SetInt("Settings", "GECave", c.cave);
    settings.SetInt("Settings", "GECavePoint", c.cavePoint);
    settings.SetInt("Settings", "GEPoint", c.point);
    settings.SetInt("Settings", "GEPointNumber", c.number);
    const std::string kml = Kml(store, settings);
    std::string styles;
    for (size_t at = kml.find("\r\n#styleMap_"); at != std::string::npos; at = kml.find("\r\n#styleMap_", at + 1))
      if (kml.compare(at + 12, 4, "Cave") == 0) styles += 'C';
      else if (kml.compare(at + 12, 6, "NoIcon") == 0) styles += 'N';
    EXPECT_EQ(styles, c.styles) << c.cave << c.cavePoint << c.point << c.number << " " << c.firstDescription;
    EXPECT_EQ(Count(kml, "<LineString>"), 2u);
  }
}

TEST(KmlWriter, CavesNotInARowOpenASecondFolder) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddStation(store, 1, 1, "1", 0, 0, 0);
  test::AddStation(store, 2, 1, "1", 0, 0, 0);
  test::AddStation(store, 1, 1, "2", 0, 0, 0);
  test::AddStation(store, 1, 1, "3", 0, 0, 0).colour = 0;
  test::AddStation(store, 1, 1, "", 0, 0, 0);
  const std::string kml = Kml(store);
  EXPECT_EQ(Count(kml, "<name>0/1</name>"), 2u);
  EXPECT_EQ(Count(kml, "<Folder>"), 3u);
  EXPECT_EQ(Count(kml, "</Folder>"), 3u);
  EXPECT_EQ(Count(kml, "<LineString>"), 3u);
}

TEST(KmlWriter, LineStyles) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.lineColours[0] = 0x0000FF;
  store.settings.lineColours[1] = 0;
  store.settings.falseColours[0] = 0x00FF00;
  store.currentWorksheet->setLineColourMode(0);
  store.currentWorksheet->setLineWidth(3);
  std::string kml = Kml(store);
  EXPECT_NE(kml.find(test::Crlf("<Style id=\"Color1\">\n<LineStyle>\n<color>ff0000ff</color>\n<width>3</width>\n")),
            std::string::npos);
  EXPECT_NE(kml.find(test::Crlf("<Style id=\"Color2\">\n<LineStyle>\n<color>ff000000</color>")), std::string::npos);
  store.currentWorksheet->setBlackBackground(1);
  store.currentWorksheet->setLineColourMode(2);
  kml = Kml(store);
  EXPECT_NE(kml.find("<color>ff00ff00</color>"), std::string::npos);
  store.currentWorksheet->setLineColourMode(0);
  kml = Kml(store);
  EXPECT_NE(kml.find(test::Crlf("<Style id=\"Color2\">\n<LineStyle>\n<color>ffffffff</color>")), std::string::npos);
}

TEST(XmlText, EscapesMarkupAndReferencesEveryOtherCharacter) {
  const struct {
    const char* in;
    const char* out;
    // clang-format off
  } cases[] = {
      {"Gro\xDF" "e H\xF6hle & Co", "Gro&#223;e H&#246;hle &amp; Co"},
      {"<a> \"b\"", "&lt;a&gt; &quot;b&quot;"},
      {"\x80 \x9A \xE9", "&#8364; &#353; &#233;"},
      {"a\x01" "b\tc\r\n\x81", "a b c   "},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(XmlText(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace hp::exports
