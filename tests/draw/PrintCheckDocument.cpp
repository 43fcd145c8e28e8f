// Writes the survey the printed-page check measures: a 100 m leg east from
// station 0, then a 150 m leg south, drawn as bare legs (no title, page
// label, frame, grid, marks or labels) at 1:500 with 20 mm margins, the
// picture at the margins rather than centred.
// Run as: print_check_document OUT.hpn LANDSCAPE(0|1) SUBSHEETS(0|1)
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"

int main(int argc, char** argv) {
  using namespace hp;
  if (argc != 4) {
    std::fprintf(stderr, "usage: print_check_document OUT.hpn LANDSCAPE SUBSHEETS\n");
    return 2;
  }
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  const struct {
    const char* from;
    const char* to;
    double length, azimuth;
  } legs[] = {{"0", "1", 100, 90}, {"1", "2", 150, 180}};
  for (const auto& leg : legs) {
    auto r = std::make_unique<doc::SurveyRecord>();
    r->refCave = r->cave = r->refPassage = r->passage = 1;
    base::SetText(r->refPoint, leg.from);
    base::SetText(r->point, leg.to);
    r->length = leg.length;
    r->azimuth = leg.azimuth;
    store.records.push_back(std::move(r));
  }
  store.settings.computedCurrent = 0;
  doc::Worksheet& ws = *store.currentWorksheet;
  ws.setScaleDenominator(500);
  ws.setAutomaticScale(0);
  ws.setPrintSubSheets(std::strcmp(argv[3], "1") == 0 ? 1 : 0);
  ws.setLandscape(std::strcmp(argv[2], "1") == 0 ? 1 : 0);
  ws.setCentreOnPage(0);
  ws.setMarginLeft(20), ws.setMarginRight(20), ws.setMarginTop(20), ws.setMarginBottom(20);
  ws.setShowTitleAndPageLabel(0);
  ws.setShowFrame(0);
  ws.setAxisLabels(0);
  ws.setGridCrosses(0);
  ws.setStationNumbering(0);
  ws.setStationMark(0);
  ws.setNorthArrow(0);
  ws.setShowCrossSections(0);
  ws.setSubSheetDivision(0);
  ws.setLineColourMode(0);
  return doc::SaveDocument(argv[1], store) ? 0 : 1;
}
