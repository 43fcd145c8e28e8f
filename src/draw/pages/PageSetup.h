// The page setup "Seite einrichten": scale, fitting, overview or sub-sheets,
// margins, orientation and centring of a printed worksheet, and the printable
// page size the page arithmetic works with. The window dialog only moves
// these options between its widgets and the worksheet.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FieldFault.h"
#include "doc/Worksheet.h"
#include "draw/PlaneLayout.h"
#include "draw/WorksheetChange.h"

namespace hp::draw {

namespace page {
inline constexpr std::string_view kCaption = "Seite einrichten";
inline constexpr std::string_view kScale = "&Maßstab";
inline constexpr std::string_view kFitScale = "Maßstab &anpassen";
inline constexpr std::string_view kOverview = "Ü&bersicht";
inline constexpr std::string_view kSubSheets = "&Teilblätter";
inline constexpr std::string_view kLeft = "&Links";
inline constexpr std::string_view kRight = "&Rechts";
inline constexpr std::string_view kTop = "&Oben";
inline constexpr std::string_view kBottom = "&Unten";
inline constexpr std::string_view kPortrait = "&Hochformat";
inline constexpr std::string_view kLandscape = "&Querformat";
inline constexpr std::string_view kCentreOnPage = "Auf der Seite &zentriert drucken";
inline constexpr std::string_view kCentreGraphic = "Grafik &zentrieren";
inline constexpr std::string_view kReset = "Rück&setzen";
inline constexpr std::string_view kMargins = "Ränder (mm)";
inline constexpr std::string_view kGraphicTooLarge = "Die Grafik ist größer als das Seitenformat.";
inline constexpr std::string_view kBadScale = "Bitte einen Maßstab von 1:10 bis 1:10000000 eingeben.";
inline constexpr std::string_view kBadMargin = "Bitte für die Ränder ganze Millimeter von 0 bis 1000 eingeben.";
}  // namespace page

inline constexpr double kMinScale = 10, kMaxScale = 10000000;
inline constexpr int kMaxMarginMm = 1000;

// The printable page in millimetres for the orientation: the size a printer
// reports (its horizontal and vertical size), 197 x 285 when it reports 0
// and 0; for portrait the smaller side is the width, for landscape the
// larger.
struct PageSizeMm {
  double width = kDefaultPageWidthMm, height = kDefaultPageHeightMm;
  bool operator==(const PageSizeMm&) const = default;
};
PageSizeMm PrintablePageSize(double reportedWidthMm, double reportedHeightMm, bool landscape);

// The choices of the scale list: "1:10" to "1:1000000".
std::vector<std::string> ScaleChoices();
// The scale as the list shows it: "1:%1.0lf".
std::string ScaleText(double scale);
// A typed scale: "1:n" or a plain number (decimal comma accepted). Nothing
// for text that is no number, and for 0, negative or out of 10 to 10000000.
std::optional<double> ParseScale(std::string_view text);

enum class PageSetupField { Scale, MarginLeft, MarginRight, MarginTop, MarginBottom };

struct PageSetupOptions {
  std::string scale;  // as typed, e.g. "1:500"
  bool fitScale = false;
  bool subSheets = false;  // print the sub-sheets instead of the overview
  int marginLeft = 20, marginRight = 20, marginTop = 20, marginBottom = 20;
  bool landscape = false;
  bool centreOnPage = true;
  bool operator==(const PageSetupOptions&) const = default;
};

PageSetupOptions LoadPageSetup(const doc::Worksheet& worksheet);
// "Rück&setzen": the options of a new worksheet.
PageSetupOptions DefaultPageSetup();
// "Maßstab &anpassen" is offered only for the display types with a scale.
bool IsFitScaleEnabled(doc::DisplayType displayType);

// Margins held to the page: when left + right or top + bottom exceed 160 mm,
// left <= width - 20, right <= width - 20 - left, and the same for top and
// bottom (`page` for the chosen orientation). Negative margins become 0.
void LimitMargins(PageSetupOptions& options, const PageSizeMm& page);

// "Grafik &zentrieren": margins that put the printed area in the middle of
// the page. The area is one sub-sheet when sub-sheets are printed, else the
// overview, at the typed scale; the perspective and red-green views are
// centred with the proportions of `drawnExtent`, fitted to the page. The
// message when the area does not fit (margins unchanged) or the scale is
// refused.
std::optional<base::FieldFault<PageSetupField>> CentreGraphic(PageSetupOptions& options,
                                                              const doc::Worksheet& worksheet, const PageSizeMm& page,
                                                              const PlaneRect& drawnExtent = {});

// "Grafik &zentrieren" for the survey protocol, `protocolWidthMm` wide on
// paper: the left and right margins share the room the page leaves (at
// least 0); a protocol wider than the page leaves them and gives the
// protocol's message.
std::optional<base::FieldFault<PageSetupField>> CentreProtocol(PageSetupOptions& options, double protocolWidthMm,
                                                               const PageSizeMm& page);

// "OK" / "Ü&bernehmen": checks the fields, then stores them. Margins are
// limited to the page of the reported size (0 and 0: none reported). On
// storing, the projection is rebuilt and the first sheet is shown.
struct PageSetupApplied {
  std::optional<base::FieldFault<PageSetupField>> fault;
  WorksheetChange change;
};
PageSetupApplied ApplyPageSetup(const PageSetupOptions& options, doc::Worksheet& worksheet, double reportedWidthMm = 0,
                                double reportedHeightMm = 0);

}  // namespace hp::draw
