// The sub-sheet dialog "Teilblätter": the overview and sub-sheet rectangles,
// rows and columns, grid steps and the background map of a plane drawing,
// each automatic or set by hand. The window dialog only moves these options
// between its widgets and the worksheet.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/FieldFault.h"
#include "doc/Worksheet.h"
#include "draw/PlaneLayout.h"
#include "draw/WorksheetChange.h"

namespace hp::draw {

namespace subsheet {
inline constexpr std::string_view kCaption = "Teilblätter";
inline constexpr std::string_view kManualOverview = "&Übersicht manuell";
inline constexpr std::string_view kManualSubSheets = "&Teilblätter manuell";
inline constexpr std::string_view kManualPages = "&Seiten manuell";
inline constexpr std::string_view kRows = "Zeilen";
inline constexpr std::string_view kColumns = "Spalten";
inline constexpr std::string_view kManualGrid = "&Raster manuell";
inline constexpr std::string_view kGrid = "Raster";
inline constexpr std::string_view kOverviewGrid = "Übersicht";
inline constexpr std::string_view kSheetGrid = "Teilblätter";
inline constexpr std::string_view kMap = "&Karte";
inline constexpr std::string_view kChooseMap = "...";
inline constexpr std::string_view kMapTop = "Oben";
inline constexpr std::string_view kMapBottom = "Unten";
inline constexpr std::string_view kMapLeft = "Links";
inline constexpr std::string_view kMapRight = "Rechts";
inline constexpr std::string_view kKeepSize = "&Größe erhalten";
inline constexpr std::string_view kKeepProportions = "&Proportionen erhalten";
inline constexpr std::string_view kChooseMapTitle = "Hintergrundkarte auswählen";
inline constexpr std::string_view kMapFilter = "Bitmap (*.bmp)";
inline constexpr std::string_view kBadCount = "Bitte eine ganze Zahl von 1 bis 100 eingeben.";
inline constexpr std::string_view kBadGrid = "Bitte ganze Meter von 1 bis 1000000 eingeben.";
inline constexpr std::string_view kMapNameTooLong =
    "Der Dateiname der Hintergrundkarte ist zu lang (höchstens 128 Zeichen).";
}  // namespace subsheet

inline constexpr int kMaxGridStep = 1000000;
inline constexpr size_t kMaxMapNameLength = 128;

enum class SubSheetField {
  OverviewLeft,
  OverviewBottom,
  OverviewRight,
  OverviewTop,
  SheetLeft,
  SheetBottom,
  SheetRight,
  SheetTop,
  Rows,
  Columns,
  OverviewGrid,
  SheetGrid,
  MapLeft,
  MapBottom,
  MapRight,
  MapTop,
};

// Numbers are texts as typed (decimal comma accepted); the map's file name
// is Windows-1252 as stored.
struct SubSheetOptions {
  bool manualOverview = false;
  std::string overviewLeft, overviewBottom, overviewRight, overviewTop;
  bool manualSubSheets = false;
  std::string sheetLeft, sheetBottom, sheetRight, sheetTop;
  bool manualPages = false;
  std::string rows, columns;
  bool manualGrid = false;
  std::string overviewGrid, sheetGrid;
  bool map = false;
  std::string mapFile;
  std::string mapLeft, mapBottom, mapRight, mapTop;
  bool keepSize = true, keepProportions = true;
};

SubSheetOptions LoadSubSheetOptions(const doc::Worksheet& worksheet);

// The name the worksheet keeps for a map chosen in the file dialog: relative
// to the document's folder when the file lies inside it, else the full path;
// nothing when that name is longer than 128 characters.
std::optional<std::string> MapFileName(const std::filesystem::path& chosen,
                                       const std::filesystem::path& documentFolder);

// After a map was chosen: its edges follow the bitmap's pixel size. Without
// "Größe erhalten" the map gets one metre per pixel from its lower left
// corner; with it and "Proportionen erhalten" the width stays and the top
// edge follows the bitmap's proportions; with "Größe erhalten" alone the
// edges stay. Edges that are no numbers are left alone.
void AdaptMapEdges(SubSheetOptions& options, int pixelWidth, int pixelHeight);

// "OK": checks every field, then stores. The rectangles and the map edges
// are ordered (left <= right, bottom <= top); the sub-sheet is snapped to the
// sheet grid step outward; a sheet step larger than the overview step becomes
// the overview step. The projection is rebuilt, the map read again and the
// first sheet shown.
struct SubSheetApplied {
  std::optional<base::FieldFault<SubSheetField>> fault;
  WorksheetChange change;
  bool mapChanged = false;  // the map must be read again
};
SubSheetApplied ApplySubSheetOptions(const SubSheetOptions& options, doc::Worksheet& worksheet);

}  // namespace hp::draw
