// The overlay and the VisualTopo text.
#include <gtest/gtest.h>

#include "export/ExportTestSupport.h"
#include "export/Writers.h"

namespace hp::exports {
namespace {

std::string Overlay(const doc::SurveyStore& store) { return test::WrittenBy<OverlayWriter>(store); }
std::string VisualTopo(const doc::SurveyStore& store) { return test::WrittenBy<VisualTopoWriter>(store); }

TEST(Overlay, GoldenSymbolAndEmptyDocument) {
  EXPECT_EQ(Overlay(test::EmptyStore()), test::Crlf("[Overlay]\nSymbols=0\n"));
  doc::SurveyStore store = test::EmptyStore();
  store.settings.utmZone = 33;
  store.settings.utmBand[0] = 'N';
  doc::SurveyRecord& r = test::AddStation(store, 4, 1, "1", 500000, 0, 0);
  r.refX = 500000;
  store.currentWorksheet->setLineWidth(2);
  // Written by hand from the symbol layout.
  EXPECT_EQ(Overlay(store), test::Crlf("[Symbol 1]\nTyp=3\nGroup=11\nCol=1\nZoom=1\nSize=102\nArt=1\nPunkte=2\n"
                                       "XKoord0=15.0000000\nYKoord0=0.0000000\nXKoord1=15.0000000\n"
                                       "YKoord1=0.0000000\n[Overlay]\nSymbols=1\n"));
}

TEST(Overlay, GroupsByCaveAndAtMost255) {
  doc::SurveyStore store = test::EmptyStore();
  for (int n = 0; n < 300; ++n) test::AddStation(store, 1, 1, "P", 0, 0, 0);
  test::AddStation(store, 2, 1, "P", 0, 0, 0);
  test::AddStation(store, 2, 1, "", 0, 0, 0);
  const std::string ovl = Overlay(store);
  const struct { int symbol, group; } cases[] = {{1, 11}, {255, 11}, {256, 12}, {300, 12}, {301, 13}};
  for (const auto& c : cases) {
    const std::string head =
        "[Symbol " + std::to_string(c.symbol) + "]\r\nTyp=3\r\nGroup=" + std::to_string(c.group) + "\r\n";
    EXPECT_NE(ovl.find(head), std::string::npos) << c.symbol;
  }
  EXPECT_NE(ovl.find("Symbols=301\r\n"), std::string::npos);
}

TEST(VisualTopo, HeadAndLegGolden) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.utmZone = 32;
  store.currentWorksheet->setOriginX(487402.1234);
  store.currentWorksheet->setOriginY(5352955.5);
  store.currentWorksheet->setOriginZ(731.6);
  doc::SurveyRecord& r = test::AddStation(store, 1, 12, "A17B", -3, 4, 0, "Windloch");
  r.refPassage = 12;
  // Written by hand: 5 m to the north-west, azimuth atan2(-3, 4).
  EXPECT_EQ(VisualTopo(store),
            test::Crlf("Version 5.02\nTrou Windloch,487.402,5352.956,732,UTM32\nEntree 12_0\n"
                       "Param Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Inc Std\n"
                       "12_0       12_A17B                   5.00  -36.87    0.00   0.00   0.00   0.00   0.00 N I\n"));
}

TEST(VisualTopo, StationFieldsAndAngles) {
  const struct {
    const char* point;
    double x, y, z;
    const char* line;
  } cases[] = {
      {"A", -2, 0, 0, "1_0        1_A                       2.00  -90.00    0.00"},
      {"ABCDEFGHIJKL", 0, -1, 1, "1_0        1_ABCDEFGH                1.41  180.00   45.00"},
      {"B", 0, 0, -1, "1_0        1_B                       1.00    0.00  -90.00"},
      {"C", 0, 12345678901234567.0, 0, "1_0        1_C        2345678901234568.00    0.00    0.00"},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    test::AddStation(store, 1, 1, c.point, c.x, c.y, c.z);
    const std::string tro = VisualTopo(store);
    EXPECT_NE(tro.find(std::string("\r\n") + c.line + "   0.00   0.00"), std::string::npos) << tro;
  }
}

TEST(VisualTopo, CaveInTheNamesOnlyWithSeveralCavesAndTheHeadAtTheFirstReference) {
  const struct {
    int otherCave;  // cave of the last leg
    const char* entrance;
    const char* leg;
  } cases[] = {
      {3, "1_0", "1_0        1_A                       5.00  -36.87    0.00"},
      {2, "3_1_0", "3_1_0      3_1_A                     5.00  -36.87    0.00"},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    store.settings.utmZone = 32;
    store.currentWorksheet->setOriginX(9000);  // not the cave's place
    test::AddStation(store, 3, 1, "0", 487402.1234, 5352955.5, 731.6, "Windloch").ring = 0;
    test::AddStation(store, 3, 1, "A", 487399.1234, 5352959.5, 731.6);
    test::AddStation(store, 3, 1, "0", 0, 0, 0).ring = 0;  // a later reference does not count
    test::AddStation(store, c.otherCave, 1, "B", 1, 1, 1);
    for (auto& r : store.records) r->refX = 487402.1234, r->refY = 5352955.5, r->refZ = 731.6;
    const std::string tro = VisualTopo(store);
    EXPECT_EQ(
        tro.substr(0, tro.find("Param")),
        test::Crlf(std::string("Version 5.02\nTrou Windloch,487.402,5352.956,732,UTM32\nEntree ") + c.entrance + "\n"));
    EXPECT_NE(tro.find(std::string("\r\n") + c.leg + "   0.00   0.00"), std::string::npos) << tro;
  }
}

std::string Viewer(const doc::SurveyStore& store) { return test::WrittenBy<ViewerDataWriter>(store); }

TEST(ViewerData, HeadPaletteAndViewGolden) {
  doc::SurveyStore store = test::EmptyStore();
  for (uint32_t& c : store.settings.lineColours) c = 0x102030;
  store.settings.lineColours[1] = 0;
  store.settings.fonts[3].height = -13;
  store.settings.backgroundColour = 0xFFFFFF;
  store.settings.frameColour = 0x808080;
  store.settings.meridianConvergence = 0.25;
  doc::Worksheet& ws = *store.currentWorksheet;
  ws.positions.clear();
  ws.setLineColourMode(0);
  ws.setZoomPercent(150);
  ws.setPicturesPerPosition(50);
  ws.setEndlessAnimation(1);
  ws.setCurrentPositionNumber(0);
  ws.setLabelAngleIndex(2);
  ws.setBlackBackground(1);
  ws.setOriginX(100);
  ws.setViewAzimuth(10);
  ws.setViewInclination(-25);
  ws.setViewDistance(30.004);
  ws.setViewCentreX(1);
  // Written by hand from the keyword table: black background, so the
  // background is 0 and the black entry white; no positions, one viewpos.
  std::string expected =
      "/\n/         Hollowview\n/  (c) 1998-2026 Tomas Wendrik\n/  http://www.hollowplan.de/\n/\n"
      "version \"22.8.0\"\nzoom 150\nframes 50\ntime 20\nrepeat 1\npos 0\ntext 13\nrotate 30\n"
      "meridian 0.25\nbackground 0\ncolor 0 0\ncolor 1 1056816\ncolor 2 16777215\n";
  for (int n = 3; n <= 16; ++n) expected += "color " + std::to_string(n) + " 1056816\n";
  expected += "color 17 8421504\nviewpos 10.00 -25.00 30.00 101.00 0.00 0.00\n";
  EXPECT_EQ(Viewer(store), test::Crlf(expected));
}

TEST(ViewerData, LegLines) {
  const struct {
    int colour;
    int lineShown;  // 0: the line pattern hides it, the label stays
    const char* point;
    const char* line;
  } cases[] = {
      {3, 1, "A\"1", "line 0.00 0.00 0.00 1.00 2.00 3.00 3 0 \"1/1/A1\""},
      {-5, 1, "B", "line 0.00 0.00 0.00 1.00 2.00 3.00 5 -1 \"1/1/B\""},
      {21, 1, "C", "line 0.00 0.00 0.00 1.00 2.00 3.00 5 1 \"1/1/C\""},
      {3, 0, "D", "line 1.00 2.00 3.00 1.00 2.00 3.00 3 0 \"1/1/D\""},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    test::AddStation(store, 1, 1, c.point, 1, 2, 3).colour = c.colour;
    if (c.lineShown == 0) {
      store.currentWorksheet->setFilterCriterion(1);  // by cave
      store.currentWorksheet->setLineFilterPattern("7");
      store.currentWorksheet->setLabelFilterPattern("1");
    }
    const std::string hvw = Viewer(store);
    EXPECT_NE(hvw.find(std::string("\r\n") + c.line + "\r\n"), std::string::npos) << c.point << "\n" << hvw;
  }
}

TEST(ViewerData, AuxiliaryLinesAndCrossSectionsInTheStandardColourByTheWorksheetFlag) {
  const struct {
    int standardColour;  // the worksheet's "in the standard colour" flag
    int colourMode;
    int ci;  // colour index of the auxiliary line and the cross sections
  } cases[] = {{1, 0, 4}, {1, 1, 14}, {0, 0, 3}};
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    doc::Worksheet& ws = *store.currentWorksheet;
    ws.setLineColourMode(c.colourMode);
    ws.setShowAuxiliaryLines(1);
    ws.setShowCrossSections(1);
    ws.setCrossSectionsInStandardColour(c.standardColour);
    test::AddStation(store, 1, 1, "A", 1, 2, 3).colour = -3;
    test::AddStation(store, 1, 1, "", 1, 2, 3).colour = -3;
    const std::string hvw = Viewer(store);
    const std::string own = c.colourMode == 0 ? "3 -1" : "";
    const std::string section = std::to_string(c.ci) + (c.standardColour != 0 ? " 0" : " -1");
    // Four cross-section spokes from the to-point, then the auxiliary line.
    EXPECT_EQ(test::Count(hvw, "line 1.00 2.00 3.00 0.00 0.00 0.00 " + section + " \"\""), 4u)
        << c.standardColour << " " << c.colourMode << "\n"
        << hvw;
    EXPECT_NE(hvw.find("line 0.00 0.00 0.00 1.00 2.00 3.00 " + section + " \"\"\r\n"), std::string::npos)
        << c.standardColour << " " << c.colourMode << "\n"
        << hvw;
    if (!own.empty()) {
      EXPECT_NE(hvw.find("1.00 2.00 3.00 " + own + " \"1/1/A\""), std::string::npos) << hvw;
    }
  }
}

TEST(Vrml, FaceCount) {
  const struct {
    int form, faces, n;
  } cases[] = {{0, 4, 4}, {1, 4, 64}, {2, 3, 32}, {2, 2, 16}, {1, 1, 8}, {2, 0, 4}, {2, 7, 4}, {5, 4, 4}};
  for (const auto& c : cases) {
    platform::MemorySettingsStore settings;
    settings.SetInt("Settings", "VRML_Form", c.form);
    settings.SetInt("Settings", "VRML_Flaechen", c.faces);
    EXPECT_EQ(VrmlWriter(settings).faces(), c.n) << c.form << " " << c.faces;
  }
}

TEST(Vrml, BodyWithTheWidenedStartSectionGolden) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.lineColours[0] = 0x0000FF;
  store.settings.frameColour = 0x808080;
  store.currentWorksheet->setLineColourMode(0);
  store.currentWorksheet->positions.clear();
  test::AddStation(store, 1, 1, "1", 0, 10, 0).length = 10;  // no predecessor: no body
  doc::SurveyRecord& r = test::AddStation(store, 1, 1, "2", 0, 20, 0);
  base::SetText(r.refPoint, "1");
  r.refY = 10;
  r.length = 10;
  r.right = 1, r.left = 2, r.up = 3, r.down = 4;
  platform::MemorySettingsStore settings;
  settings.SetInt("Settings", "VRML_Form", 0);
  VrmlWriter writer(settings);
  const std::string wrl = test::Written(writer, store, settings);
  // Written by hand: a leg due north on the level, its start section from a
  // predecessor without dimensions (half a metre to each side), its end
  // section from its own dimensions; the frame around both.
  const std::string start = "0.50 10.00 0.50, -0.50 10.00 0.50, -0.50 10.00 -0.50, 0.50 10.00 -0.50, ";
  const std::string end = "1.00 20.00 3.00, -2.00 20.00 3.00, -2.00 20.00 -4.00, 1.00 20.00 -4.00, ";
  const std::string expected =
      test::Crlf("  Ebene { farbe 1 0 0 ecken [" + start + "] }\n  Gang { farbe 1 0 0 ecken [" + start + end +
                 "] }\n  Ebene { farbe 1 0 0 ecken [" + end +
                 "] }\n\n  Rahmen { farbe 0.502 0.502 0.502 ecken ["
                 "-2.00 10.00 -4.00, -2.00 20.00 -4.00, -2.00 20.00 3.00, -2.00 10.00 3.00, "
                 "1.00 10.00 -4.00, 1.00 20.00 -4.00, 1.00 20.00 3.00, 1.00 10.00 3.00, ] }\n ]\n}\n");
  EXPECT_NE(wrl.find(expected), std::string::npos) << wrl;
  EXPECT_EQ(wrl.find("Gang {"), wrl.rfind("Gang {"));
  EXPECT_NE(wrl.find(test::Crlf("description\t\"Position 0\"\n}\n]\n}\n")), std::string::npos);
}

TEST(Vrml, WithoutBodiesNoFrame) {
  doc::SurveyStore store = test::EmptyStore();
  test::AddStation(store, 1, 1, "1", 0, 0.5, 0).length = 10;
  test::AddStation(store, 1, 1, "2", 0, 0.5, 0).length = 0;
  base::SetText(store.records[1]->refPoint, "1");
  platform::MemorySettingsStore settings;
  VrmlWriter writer(settings);
  const std::string wrl = test::Written(writer, store, settings);
  EXPECT_EQ(wrl.find("  Gang {"), std::string::npos);
  EXPECT_EQ(wrl.find("  Rahmen {"), std::string::npos);
  EXPECT_NE(wrl.find("PROTO Rahmen"), std::string::npos);
  // A scene under 3.5 m across: the speed is held at 1.
  EXPECT_NE(wrl.find(test::Crlf("   speed 1\n")), std::string::npos);
}

}  // namespace
}  // namespace hp::exports
