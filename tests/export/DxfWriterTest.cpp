// The standard DXF writer: head and end, the records it leaves out, the
// layers, station marks and the text height.
#include <gtest/gtest.h>

#include <vector>

#include "export/ExportTestSupport.h"
#include "export/Writers.h"

namespace hp::exports {
namespace {

std::string Dxf(const doc::SurveyStore& store, std::span<const draw::ProjectionSlots> slots = {}) {
  return test::WrittenBy<DxfStandardWriter>(store, slots);
}
std::string CaveCad(const doc::SurveyStore& store, std::span<const draw::ProjectionSlots> slots = {}) {
  return test::WrittenBy<DxfCaveCadWriter>(store, slots);
}

using test::Count;

TEST(DxfStandard, EmptyDocumentIsHeadAndEnd) {
  const doc::SurveyStore store = test::EmptyStore();
  // Written by hand from the fixed head and end.
  EXPECT_EQ(Dxf(store), test::Crlf("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1002\n  0\nENDSEC\n"
                                   "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
                                   "  0\nENDSEC\n  0\nEOF\n"));
}

TEST(DxfStandard, LegMarkAndTextGolden) {
  doc::SurveyStore store = test::EmptyStore();
  doc::SurveyRecord& r = test::AddStation(store, 1, 2, "7", 0, 0, 0);
  r.level = 3;
  r.colour = 18;
  store.currentWorksheet->setStationMark(0);
  store.currentWorksheet->setAutomaticScale(1);
  std::vector<draw::ProjectionSlots> slots(1);
  slots[0].from = {1.004, 2.006, 3};
  slots[0].to = {11.5, 2.25, -1};
  // Written by hand: a drawing narrower than 4 m, so h = 4 / 250 = 0.016.
  const std::string expected = test::Crlf(
      "  0\nLINE\n  8\nLinien_3\n 62\n2\n 10\n1.00\n 20\n2.01\n 30\n3.00\n 11\n11.50\n 21\n2.25\n 31\n-1.00\n"
      "  0\nPOINT\n  8\nPunkte_3\n 62\n2\n 10\n1.00\n 20\n2.01\n 30\n3.00\n"
      "  0\nTEXT\n  8\nTexte_3\n 62\n2\n 10\n11.51\n 20\n2.26\n 30\n-1.00\n 40\n0.02\n  1\n1/2/7\n");
  EXPECT_NE(Dxf(store, slots).find(expected), std::string::npos) << Dxf(store, slots);
}

TEST(DxfStandard, WhatIsLeftOut) {
  const struct {
    int colour;
    const char* point;
    int auxLines;
    size_t lines, auxiliary, marks;
  } cases[] = {
      {0, "1", 1, 0, 0, 0},
      {1, "", 0, 0, 0, 0},
      {1, "", 1, 0, 1, 0},
      {1, "1", 0, 1, 0, 1},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    test::AddStation(store, 1, 1, c.point, 0, 0, 0).colour = c.colour;
    store.currentWorksheet->setShowAuxiliaryLines(c.auxLines);
    const std::string dxf = Dxf(store);
    EXPECT_EQ(Count(dxf, "Linien_1"), c.lines) << c.colour << c.point << c.auxLines;
    EXPECT_EQ(Count(dxf, "Hilfslinien_1"), c.auxiliary) << c.colour << c.point << c.auxLines;
    EXPECT_EQ(Count(dxf, "Punkte_1"), c.marks) << c.colour << c.point << c.auxLines;
  }
}

TEST(DxfStandard, StationMarks) {
  const struct {
    int mark;
    int markReferences;
    bool sameStation;
    const char* entity;
    size_t count;
    // clang-format off
  } cases[] = {
      {1, 0, false, "LINE\r\n  8\r\nPunkte_1", 1}, {1, 0, true, "LINE\r\n  8\r\nPunkte_1", 2},
      {0, 1, true, "LINE\r\n  8\r\nPunkte_1", 2},  {2, 0, false, "CIRCLE", 1},
      {0, 0, true, "POINT", 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    test::AddStation(store, 1, 1, c.sameStation ? "0" : "1", 0, 0, 0);
    store.currentWorksheet->setStationMark(static_cast<int16_t>(c.mark));
    store.currentWorksheet->setMarkCoordinateReferences(c.markReferences);
    std::vector<draw::ProjectionSlots> slots(1);
    slots[0].to = c.sameStation ? draw::Vec3{0, 0, 0} : draw::Vec3{3, 4, 0};
    EXPECT_EQ(Count(Dxf(store, slots), c.entity), c.count) << c.mark << c.markReferences << c.sameStation;
  }
}

TEST(DxfCaveCad, GeneralNumberForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.2, "0.2"}, {1.0, "1"}, {0.945, "0.945"}, {0.756, "0.756"}, {1234567.0, "1.23457e+06"}};
  for (const auto& c : cases) EXPECT_EQ(General(c.value), c.text);
}

TEST(DxfCaveCad, PlanRecordGolden) {
  doc::SurveyStore store = test::EmptyStore();
  store.settings.cadastreNumber = 12345;
  doc::SurveyRecord& r = test::AddStation(store, 12, 3, "A7", 0, 0, 0);
  r.left = 1.5;
  r.right = 0.25;
  r.up = 1.04;
  r.down = 0.5;
  r.crossSection.end.azimuth = 45.5;
  store.currentWorksheet->setDisplayType(doc::DisplayType::Plan);
  store.currentWorksheet->setScaleDenominator(250);
  std::vector<draw::ProjectionSlots> slots(1);
  slots[0].from = {1, 2, 9};
  slots[0].to = {3.5, 4.25, 9};
  // Written by hand from the entity list: area 1234, cave 0012, passage 0003,
  // sizes of the 1:250 row, height 1.54 written with one decimal.
  const std::string expected = test::Crlf(
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nLINE\n  8\nG1234-0012_0003VL\n 10\n1.00\n 20\n2.00\n 11\n3.50\n 21\n4.25\n"
      "  0\nINSERT\n  8\nG1234-0012_0003VM\n 10\n3.50\n 20\n4.25\n 41\n0.4\n 42\n0.4\n 43\n0.4\n  2\nVM\n"
      "  0\nTEXT\n  8\nG1234-0012_0003BM\n 10\n0.0\n 20\n0.0\n 72\n     2\n 11\n3.50\n 21\n4.25\n 40\n0.48\n"
      " 41\n0.68\n 51\n10.0\n  7\nBM\n  1\n3_\n"
      "  0\nTEXT\n  8\nG1234-0012_0003BP\n 10\n3.50\n 20\n4.25\n 40\n0.6\n 41\n0.8\n  7\nBP\n  1\nA7\n"
      "  0\nINSERT\n  8\nG1234-0012_0003HR\n 10\n3.50\n 20\n4.25\n 41\n1.50\n 42\n0.4\n 50\n-45.50\n  2\nHR\n"
      "  0\nINSERT\n  8\nG1234-0012_0003HR\n 10\n3.50\n 20\n4.25\n 41\n-0.25\n 42\n0.4\n 50\n-45.50\n  2\nHR\n"
      "  0\nINSERT\n  8\nG1234-0012_0003BH\n 66\n     1\n 10\n3.50\n 20\n4.25\n 41\n0.4\n 42\n0.4\n 43\n0.4\n"
      "  2\nBH\n"
      "  0\nATTRIB\n  8\nG1234-0012_0003BH\n 70\n     0\n 10\n0.000\n 20\n0.000\n 72\n     4\n 11\n3.50\n 21\n4.25\n"
      " 40\n0.6\n 41\n0.700\n  2\nBH\n  7\nBH\n  1\n1.5\n  0\nSEQEND\n"
      "  0\nENDSEC\n  0\nEOF\n");
  EXPECT_EQ(CaveCad(store, slots), expected);
}

TEST(DxfCaveCad, AreaViewAndSizes) {
  const struct {
    uint32_t cadastre;
    int type;
    double scale;
    const char* layer;
    const char* marker;
    size_t crossBlocks;  // HR and BH inserts
  } cases[] = {
      {0, 0, 100, "G0000-0001_0002", "0.2", 3},
      {7, 1, 250, "L0007-0001_0002", "0.4", 2},
      {123, 7, 250.5, "A0123-0001_0002", "0.63", 2},
      {12345, 2, 501, "A1234-0001_0002", "1", 0},
  };
  for (const auto& c : cases) {
    doc::SurveyStore store = test::EmptyStore();
    store.settings.cadastreNumber = c.cadastre;
    doc::SurveyRecord& r = test::AddStation(store, 1, 2, "5", 0, 0, 0);
    r.left = r.right = r.up = r.down = 1;
    r.crossSection.developedElevation = 10;
    r.crossSection.end.elevation = 0.005;
    store.currentWorksheet->setDisplayType(doc::DisplayTypeOf(c.type));
    store.currentWorksheet->setScaleDenominator(c.scale);
    const std::string dxf = CaveCad(store);
    EXPECT_NE(dxf.find(std::string(c.layer) + "VL"), std::string::npos) << c.cadastre;
    EXPECT_NE(dxf.find(std::string(" 41\r\n") + c.marker + "\r\n 42"), std::string::npos) << c.cadastre;
    EXPECT_EQ(Count(dxf, "HR\r\n 10") + Count(dxf, "BH\r\n 66"), c.crossBlocks) << c.cadastre;
  }
}

}  // namespace
}  // namespace hp::exports
