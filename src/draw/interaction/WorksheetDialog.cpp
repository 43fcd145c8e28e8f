// Options of the worksheet dialog: loading, limits and storing.
#include "draw/interaction/WorksheetDialog.h"

#include <algorithm>

#include "draw/PageLabel.h"

namespace hp::draw {

namespace {

constexpr int kNorthArrowSizes[] = {0, 1, 2, 5, 10, 20, 50, 100};

int Size(int stored) { return std::max(0, stored); }
int Step(int stored) { return std::clamp(stored, 0, kMaxHeightLabelStep); }

}  // namespace

std::vector<int> NorthArrowSizeChoices(int current) {
  std::vector<int> choices(std::begin(kNorthArrowSizes), std::end(kNorthArrowSizes));
  current = Size(current);
  if (std::find(choices.begin(), choices.end(), current) == choices.end()) choices.push_back(current);
  return choices;
}

std::string SizeChoiceText(int value) { return value == 0 ? std::string(sheet::kAutomatic) : std::to_string(value); }

WorksheetOptions LoadWorksheetOptions(const doc::Worksheet& ws) {
  WorksheetOptions o;
  o.title = std::string(ws.title());
  o.title2 = std::string(ws.title2());
  o.pageLabel = std::string(ws.pageLabel());
  o.titleAndPageLabel = ws.showTitleAndPageLabel() != 0;
  o.frame = ws.showFrame() != 0;
  o.axisLabels = ws.axisLabels() != 0;
  o.gridCrosses = ws.gridCrosses() != 0;
  o.subSheetDivision = ws.subSheetDivision() != 0;
  o.northArrow = ws.northArrow() != 0;
  o.northArrowSize = Size(ws.northArrowSize());
  o.heightLabels = ws.heightLabels() != 0;
  o.heightLabelStep = Step(ws.heightLabelStep());
  return o;
}

void SetDefaultPageLabel(WorksheetOptions& options) { options.pageLabel = std::string(kDefaultPageLabel); }

bool IsNorthArrowSizeEnabled(const WorksheetOptions& options) { return options.northArrow; }
bool IsHeightLabelStepEnabled(const WorksheetOptions& options) { return options.heightLabels; }

WorksheetChange ApplyWorksheetOptions(const WorksheetOptions& o, doc::Worksheet& ws) {
  doc::Worksheet before;  // the image alone: the positions are not touched here
  before.image = ws.image;
  const auto flag16 = [](bool on) { return static_cast<int16_t>(on ? 1 : 0); };

  // The text fields hold 255 characters and their terminator; longer texts are cut.
  ws.setTitle(o.title);
  ws.setTitle2(o.title2);
  ws.setPageLabel(o.pageLabel);
  ws.setShowTitleAndPageLabel(flag16(o.titleAndPageLabel));
  ws.setShowFrame(flag16(o.frame));
  ws.setAxisLabels(flag16(o.axisLabels));
  ws.setGridCrosses(flag16(o.gridCrosses));
  ws.setSubSheetDivision(flag16(o.subSheetDivision));
  ws.setNorthArrow(o.northArrow ? 1 : 0);
  ws.setNorthArrowSize(Size(o.northArrowSize));
  ws.setHeightLabels(o.heightLabels ? 1 : 0);
  ws.setHeightLabelStep(Step(o.heightLabelStep));

  WorksheetChange change;
  change.modified = ws.image != before.image;
  change.projectionDirty = ws.showFrame() != before.showFrame() || ws.northArrow() != before.northArrow() ||
                           ws.northArrowSize() != before.northArrowSize() ||
                           ws.heightLabels() != before.heightLabels() ||
                           ws.heightLabelStep() != before.heightLabelStep();
  return change;
}

}  // namespace hp::draw
