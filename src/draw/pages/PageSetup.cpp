// Page setup: scale, margins, orientation, centring and the printable page.
#include "draw/pages/PageSetup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/NumberFormat.h"
#include "draw/DisplayType.h"
#include "draw/protocol/Protocol.h"

namespace hp::draw {

namespace {

constexpr int kMarginRoom = 160;  // margins together beyond this are checked against the page
constexpr int kMinPrinted = 20;   // the least printed width or height, millimetres

bool Flag(int v) { return v != 0; }

std::optional<base::FieldFault<PageSetupField>> CheckMargins(const PageSetupOptions& o) {
  const std::pair<int, PageSetupField> margins[] = {{o.marginLeft, PageSetupField::MarginLeft},
                                                    {o.marginRight, PageSetupField::MarginRight},
                                                    {o.marginTop, PageSetupField::MarginTop},
                                                    {o.marginBottom, PageSetupField::MarginBottom}};
  for (const auto& [value, field] : margins)
    if (value < 0 || value > kMaxMarginMm)
      return base::FieldFault<PageSetupField>{field, std::string(page::kBadMargin)};
  return std::nullopt;
}

}  // namespace

PageSizeMm PrintablePageSize(double w, double h, bool landscape) {
  if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h)) {
    w = kDefaultPageWidthMm;
    h = kDefaultPageHeightMm;
  }
  const double small = std::min(w, h), large = std::max(w, h);
  return landscape ? PageSizeMm{large, small} : PageSizeMm{small, large};
}

std::vector<std::string> ScaleChoices() {
  std::vector<std::string> out;
  for (double decade = 10; decade <= 1000000; decade *= 10)
    for (const double step : {1.0, 2.0, 2.5, 5.0}) {
      const double scale = decade * step;
      if (scale > 1000000) break;
      out.push_back(ScaleText(scale));
    }
  return out;
}

std::string ScaleText(double scale) {
  char text[64];
  std::snprintf(text, sizeof text, "1:%1.0f", scale);
  return text;
}

std::optional<double> ParseScale(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (text.substr(0, 2) == "1:") text.remove_prefix(2);
  const std::optional<double> value = base::ParseNumber(text);
  if (!value || !std::isfinite(*value) || *value < kMinScale || *value > kMaxScale) return std::nullopt;
  return value;
}

PageSetupOptions LoadPageSetup(const doc::Worksheet& ws) {
  PageSetupOptions o;
  o.scale = ScaleText(std::clamp(ws.scaleDenominator(), kMinScale, kMaxScale));
  o.fitScale = Flag(ws.automaticScale());
  o.subSheets = Flag(ws.printSubSheets());
  o.marginLeft = ws.marginLeft(), o.marginRight = ws.marginRight();
  o.marginTop = ws.marginTop(), o.marginBottom = ws.marginBottom();
  o.landscape = Flag(ws.landscape());
  o.centreOnPage = Flag(ws.centreOnPage());
  return o;
}

PageSetupOptions DefaultPageSetup() {
  PageSetupOptions o;
  o.scale = ScaleText(1000);
  return o;
}

bool IsFitScaleEnabled(DisplayType displayType) { return doc::HasScale(displayType); }

void LimitMargins(PageSetupOptions& o, const PageSizeMm& page) {
  for (int* m : {&o.marginLeft, &o.marginRight, &o.marginTop, &o.marginBottom}) *m = std::max(*m, 0);
  const int width = static_cast<int>(page.width), height = static_cast<int>(page.height);
  if (o.marginLeft + o.marginRight > kMarginRoom) {
    o.marginLeft = std::max(0, std::min(o.marginLeft, width - kMinPrinted));
    o.marginRight = std::max(0, std::min(o.marginRight, width - kMinPrinted - o.marginLeft));
  }
  if (o.marginTop + o.marginBottom > kMarginRoom) {
    o.marginTop = std::max(0, std::min(o.marginTop, height - kMinPrinted));
    o.marginBottom = std::max(0, std::min(o.marginBottom, height - kMinPrinted - o.marginTop));
  }
}

std::optional<base::FieldFault<PageSetupField>> CentreGraphic(PageSetupOptions& o, const doc::Worksheet& ws,
                                                              const PageSizeMm& page, const PlaneRect& drawn) {
  const DisplayType type = ws.displayType();
  double paperWidth = 0, paperHeight = 0;
  if (type == DisplayType::Perspective || type == DisplayType::RedGreen) {
    // A fitted picture fills the page in one direction.
    const double w = std::max(drawn.Width(), 1e-9), h = std::max(drawn.Height(), 1e-9);
    const double f = std::min((page.width - kMinPrinted) / w, (page.height - kMinPrinted) / h);
    paperWidth = w * f, paperHeight = h * f;
  } else {
    const std::optional<double> scale = ParseScale(o.scale);
    if (!scale) return base::FieldFault<PageSetupField>{PageSetupField::Scale, std::string(page::kBadScale)};
    const bool sheets = o.subSheets;
    const double w = sheets ? ws.subSheetRight() - ws.subSheetLeft() : ws.overviewRight() - ws.overviewLeft();
    const double h = sheets ? ws.subSheetTop() - ws.subSheetBottom() : ws.overviewTop() - ws.overviewBottom();
    paperWidth = std::fabs(w) * 1000 / *scale;
    paperHeight = std::fabs(h) * 1000 / *scale;
  }
  if (paperWidth > page.width || paperHeight > page.height)
    return base::FieldFault<PageSetupField>{PageSetupField::Scale, std::string(page::kGraphicTooLarge)};
  const int x = static_cast<int>(std::min(page.width / 2 - 10, (page.width - paperWidth) / 2));
  const int y = static_cast<int>(std::min(page.height / 2 - 10, (page.height - paperHeight) / 2));
  o.marginLeft = o.marginRight = std::max(0, x);
  o.marginTop = o.marginBottom = std::max(0, y);
  return std::nullopt;
}

std::optional<base::FieldFault<PageSetupField>> CentreProtocol(PageSetupOptions& o, double protocolWidthMm,
                                                               const PageSizeMm& page) {
  if (!(protocolWidthMm <= page.width))
    return base::FieldFault<PageSetupField>{PageSetupField::MarginLeft, std::string(protocol_texts::kTooWide)};
  const int margin = static_cast<int>(std::clamp((page.width - protocolWidthMm) / 2, 0.0, 1.0 * kMaxMarginMm));
  o.marginLeft = o.marginRight = margin;
  return std::nullopt;
}

PageSetupApplied ApplyPageSetup(const PageSetupOptions& options, doc::Worksheet& ws, double reportedWidthMm,
                                double reportedHeightMm) {
  PageSetupApplied applied;
  const std::optional<double> scale = ParseScale(options.scale);
  if (!scale) {
    applied.fault = base::FieldFault<PageSetupField>{PageSetupField::Scale, std::string(page::kBadScale)};
    return applied;
  }
  if ((applied.fault = CheckMargins(options))) return applied;
  PageSetupOptions o = options;
  LimitMargins(o, PrintablePageSize(reportedWidthMm, reportedHeightMm, o.landscape));

  const doc::Worksheet::Image before = ws.image;
  ws.setScaleDenominator(*scale);
  if (IsFitScaleEnabled(ws.displayType())) ws.setAutomaticScale(o.fitScale ? 1 : 0);
  ws.setPrintSubSheets(o.subSheets ? 1 : 0);
  ws.setMarginLeft(static_cast<int16_t>(o.marginLeft));
  ws.setMarginRight(static_cast<int16_t>(o.marginRight));
  ws.setMarginTop(static_cast<int16_t>(o.marginTop));
  ws.setMarginBottom(static_cast<int16_t>(o.marginBottom));
  ws.setLandscape(o.landscape ? 1 : 0);
  ws.setCentreOnPage(o.centreOnPage ? 1 : 0);
  ws.setCurrentSheetNumber(1);
  applied.change.modified = ws.image != before;
  applied.change.projectionDirty = true;
  return applied;
}

}  // namespace hp::draw
