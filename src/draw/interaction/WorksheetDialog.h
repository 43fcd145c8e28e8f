// The worksheet dialog "Arbeitsblatt": what a plane or spatial drawing shows
// around the survey (title lines, page label, frame, axis labels, grid
// crosses, sub-sheet division, north arrow, height labels). The window
// dialog only moves these options between its widgets and the worksheet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "doc/Worksheet.h"
#include "draw/interaction/LegDisplayDialog.h"

namespace hp::draw {

namespace sheet {
inline constexpr std::string_view kCaption = "Arbeitsblatt";
inline constexpr std::string_view kTitle = "&Titel";
inline constexpr std::string_view kPageLabel = "&Seitenbezeichnung";
inline constexpr std::string_view kDefaultButton = "&Vorbelegen";
inline constexpr std::string_view kTitleAndPageLabel = "T&itel und Seitenbezeichnung";
inline constexpr std::string_view kFrame = "&Rahmen";
inline constexpr std::string_view kAxisLabels = "&Achsenbeschriftung";
inline constexpr std::string_view kGridCrosses = "Raster&unterteilungen";
inline constexpr std::string_view kSubSheetDivision = "Teilblatt&einteilung";
inline constexpr std::string_view kNorthArrow = "&Nordpfeil";
inline constexpr std::string_view kHeightLabels = "&Höhenbeschriftung";
inline constexpr std::string_view kAutomatic = "automatisch";
}  // namespace sheet

// Title lines and page label hold at most this many characters.
inline constexpr int kWorksheetTextMaxLength = 255;
// Height-label step: 0 ("automatisch") or 1 to 200 metres.
inline constexpr int kMaxHeightLabelStep = 200;

// North-arrow sizes offered (metres, 0 "automatisch"). A size a document
// brought along that is not among them is offered too, after the others, so
// confirming the dialog keeps it.
std::vector<int> NorthArrowSizeChoices(int current);
// The list text of a size or step: "automatisch" for 0, else the number.
std::string SizeChoiceText(int value);

// Texts are Windows-1252, as the worksheet stores them.
struct WorksheetOptions {
  std::string title, title2;
  std::string pageLabel;
  bool titleAndPageLabel = false;
  bool frame = false;
  bool axisLabels = false;
  bool gridCrosses = false;
  bool subSheetDivision = false;
  bool northArrow = false;
  int northArrowSize = 0;  // 0 automatic
  bool heightLabels = false;
  int heightLabelStep = 0;  // 0 automatic, else 1 to 200
};

// The worksheet's settings as the dialog shows them; a negative size or
// step shows as "automatisch", a step above 200 as 200.
WorksheetOptions LoadWorksheetOptions(const doc::Worksheet& worksheet);

// "&Vorbelegen": the default page label template.
void SetDefaultPageLabel(WorksheetOptions& options);

// Each list only with its check box.
bool IsNorthArrowSizeEnabled(const WorksheetOptions& options);
bool IsHeightLabelStepEnabled(const WorksheetOptions& options);

// Stores the options in the worksheet ("OK" and "Ü&bernehmen"): texts cut to
// 255 characters, sizes and steps limited as on loading. The frame box,
// north arrow and height scale are part of the projected frame, so changing
// them asks for a new projection.
WorksheetChange ApplyWorksheetOptions(const WorksheetOptions& options, doc::Worksheet& worksheet);

}  // namespace hp::draw
