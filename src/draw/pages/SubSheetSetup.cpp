// Sub-sheet dialog: rectangles, pages, grid steps and the background map.
#include "draw/pages/SubSheetSetup.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <variant>

#include "base/Cp1252.h"
#include "base/FieldMessages.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"

namespace hp::draw {

namespace {

using Fault = base::FieldFault<SubSheetField>;

std::string Shown(double v) { return base::FormatShown(v); }
std::string Whole(long long v) { return std::to_string(v); }

// Reads the typed fields one after the other; the first bad one is kept.
class FieldReader {
 public:
  double Number(const std::string& text, SubSheetField field) {
    const auto v = base::ReadNumberField(text, {.notANumber = std::string(base::messages::kNumberPlease)});
    if (const double* value = std::get_if<double>(&v); value && std::fabs(*value) < 1e12) return *value;
    Fail(field, base::messages::kNumberPlease);
    return 0;
  }
  int Integer(const std::string& text, SubSheetField field, int low, int high, std::string_view message) {
    const auto v = base::ReadNumberField(text, {.notANumber = std::string(message),
                                                .integer = true,
                                                .min = static_cast<double>(low),
                                                .max = static_cast<double>(high)});
    if (const double* value = std::get_if<double>(&v)) return static_cast<int>(*value);
    Fail(field, message);
    return low;
  }
  std::optional<Fault> fault;

 private:
  void Fail(SubSheetField field, std::string_view message) {
    if (!fault) fault = Fault{field, std::string(message)};
  }
};

void Ordered(double& low, double& high) {
  if (low > high) std::swap(low, high);
}

}  // namespace

SubSheetOptions LoadSubSheetOptions(const doc::Worksheet& ws) {
  SubSheetOptions o;
  o.manualOverview = ws.manualOverview() != 0;
  o.overviewLeft = Shown(ws.overviewLeft()), o.overviewBottom = Shown(ws.overviewBottom());
  o.overviewRight = Shown(ws.overviewRight()), o.overviewTop = Shown(ws.overviewTop());
  o.manualSubSheets = ws.manualSubSheets() != 0;
  o.sheetLeft = Shown(ws.subSheetLeft()), o.sheetBottom = Shown(ws.subSheetBottom());
  o.sheetRight = Shown(ws.subSheetRight()), o.sheetTop = Shown(ws.subSheetTop());
  o.manualPages = ws.manualPages() != 0;
  o.rows = Whole(std::clamp<int>(ws.sheetRows(), 1, 100));
  o.columns = Whole(std::clamp<int>(ws.sheetColumns(), 1, 100));
  o.manualGrid = ws.manualGrid() != 0;
  o.overviewGrid = Whole(std::clamp(ws.overviewGridStep(), 1, kMaxGridStep));
  o.sheetGrid = Whole(std::clamp(ws.sheetGridStep(), 1, kMaxGridStep));
  o.map = ws.backgroundMap() != 0;
  o.mapFile = std::string(ws.backgroundMapFile());
  o.mapLeft = Shown(ws.mapLeft()), o.mapBottom = Shown(ws.mapBottom());
  o.mapRight = Shown(ws.mapRight()), o.mapTop = Shown(ws.mapTop());
  o.keepSize = ws.mapKeepSize() != 0;
  o.keepProportions = ws.mapKeepProportions() != 0;
  return o;
}

std::optional<std::string> MapFileName(const std::filesystem::path& chosen, const std::filesystem::path& folder) {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::weakly_canonical(chosen, error);
  const std::filesystem::path base = std::filesystem::weakly_canonical(folder, error);
  std::string name = file.string();
  if (!base.empty()) {
    const std::filesystem::path relative = file.lexically_relative(base);
    if (!relative.empty() && *relative.begin() != ".." && !relative.is_absolute()) name = relative.string();
  }
  name = base::Utf8ToCp1252(name);
  if (name.empty() || name.size() > kMaxMapNameLength) return std::nullopt;
  return name;
}

void AdaptMapEdges(SubSheetOptions& o, int pixelWidth, int pixelHeight) {
  if (pixelWidth <= 0 || pixelHeight <= 0) return;
  const auto left = base::ParseNumber(o.mapLeft), bottom = base::ParseNumber(o.mapBottom);
  const auto right = base::ParseNumber(o.mapRight);
  if (!left || !bottom || !right) return;
  if (!o.keepSize) {
    o.mapRight = Shown(*left + pixelWidth);
    o.mapTop = Shown(*bottom + pixelHeight);
  } else if (o.keepProportions) {
    o.mapTop = Shown(*bottom + std::fabs(*right - *left) * pixelHeight / pixelWidth);
  }
}

SubSheetApplied ApplySubSheetOptions(const SubSheetOptions& o, doc::Worksheet& ws) {
  SubSheetApplied applied;
  FieldReader read;
  using F = SubSheetField;
  PlaneRect overview{read.Number(o.overviewLeft, F::OverviewLeft), read.Number(o.overviewBottom, F::OverviewBottom),
                     read.Number(o.overviewRight, F::OverviewRight), read.Number(o.overviewTop, F::OverviewTop)};
  PlaneRect sheet{read.Number(o.sheetLeft, F::SheetLeft), read.Number(o.sheetBottom, F::SheetBottom),
                  read.Number(o.sheetRight, F::SheetRight), read.Number(o.sheetTop, F::SheetTop)};
  const int rows = read.Integer(o.rows, F::Rows, 1, 100, subsheet::kBadCount);
  const int columns = read.Integer(o.columns, F::Columns, 1, 100, subsheet::kBadCount);
  const int overviewGrid = read.Integer(o.overviewGrid, F::OverviewGrid, 1, kMaxGridStep, subsheet::kBadGrid);
  int sheetGrid = read.Integer(o.sheetGrid, F::SheetGrid, 1, kMaxGridStep, subsheet::kBadGrid);
  PlaneRect map{read.Number(o.mapLeft, F::MapLeft), read.Number(o.mapBottom, F::MapBottom),
                read.Number(o.mapRight, F::MapRight), read.Number(o.mapTop, F::MapTop)};
  std::string mapFile = o.mapFile;
  if (mapFile.size() > kMaxMapNameLength && !read.fault)
    read.fault = Fault{F::MapLeft, std::string(subsheet::kMapNameTooLong)};
  if (read.fault) {
    applied.fault = read.fault;
    return applied;
  }

  for (PlaneRect* r : {&overview, &sheet, &map}) {
    Ordered(r->left, r->right);
    Ordered(r->bottom, r->top);
  }
  if (overviewGrid < sheetGrid) sheetGrid = overviewGrid;
  const double g = sheetGrid;
  sheet = {std::floor(sheet.left / g) * g, std::floor(sheet.bottom / g) * g, std::ceil(sheet.right / g) * g,
           std::ceil(sheet.top / g) * g};

  const doc::Worksheet::Image before = ws.image;
  applied.mapChanged = (o.map ? 1 : 0) != ws.backgroundMap() || mapFile != ws.backgroundMapFile();
  ws.setManualOverview(o.manualOverview ? 1 : 0);
  ws.setOverviewLeft(overview.left), ws.setOverviewBottom(overview.bottom);
  ws.setOverviewRight(overview.right), ws.setOverviewTop(overview.top);
  ws.setManualSubSheets(o.manualSubSheets ? 1 : 0);
  ws.setSubSheetLeft(sheet.left), ws.setSubSheetBottom(sheet.bottom);
  ws.setSubSheetRight(sheet.right), ws.setSubSheetTop(sheet.top);
  ws.setManualPages(o.manualPages ? 1 : 0);
  ws.setSheetRows(static_cast<int16_t>(rows));
  ws.setSheetColumns(static_cast<int16_t>(columns));
  ws.setManualGrid(o.manualGrid ? 1 : 0);
  ws.setOverviewGridStep(overviewGrid);
  ws.setSheetGridStep(sheetGrid);
  ws.setBackgroundMap(o.map ? 1 : 0);
  ws.setBackgroundMapFile(mapFile);
  ws.setMapLeft(map.left), ws.setMapBottom(map.bottom), ws.setMapRight(map.right), ws.setMapTop(map.top);
  ws.setMapKeepSize(o.keepSize ? 1 : 0);
  ws.setMapKeepProportions(o.keepProportions ? 1 : 0);
  ws.setCurrentSheetNumber(1);
  applied.change.modified = ws.image != before;
  applied.change.projectionDirty = true;
  applied.mapChanged = applied.mapChanged || applied.change.modified;
  return applied;
}

}  // namespace hp::draw
