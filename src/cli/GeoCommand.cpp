// geo utm2geo / geo geo2utm: the grid conversions from the shell.
#include <climits>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>

#include "base/Cp1252.h"
#include "base/NumberFormat.h"
#include "cli/Commands.h"
#include "edit/CoordinatesDialog.h"
#include "geo/Utm.h"

namespace hp::cli {
namespace {

constexpr std::string_view kLatitudeRange = "Geben Sie eine Breite zwischen -90 und 90 Grad ein.";

// printf "%.<decimals>f" with a decimal point; a negative zero prints as zero.
std::string Fixed(double value, int decimals) {
  std::string text = base::FormatFixed(value, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

bool Number(const std::string& text, double& value) {
  const auto parsed = base::ParseNumber(text);
  if (parsed) value = *parsed;
  return parsed.has_value() && std::isfinite(*parsed);
}

// A value the conversion cannot take: its message as a message block, exit 1.
int Fail(const CommandContext& c, std::string_view message) {
  c.err << message << "\n\n";
  return kExitFailed;
}

int RunUtmToGeographic(const CommandContext& c) {
  const auto& p = c.args.positional;
  const auto zone = base::ParseInteger(p[1]);
  if (!zone || *zone < INT_MIN || *zone > INT_MAX) return ArgumentProblem(c, "ZONE ist keine ganze Zahl: " + p[1]);
  // The letter is one character of the store's code page, taken as given.
  const std::string letter = base::Utf8ToCp1252(p[2]);
  if (letter.size() != 1) return ArgumentProblem(c, "LETTER muss ein Zeichen sein: " + p[2]);
  if (*zone < edit::kMinZone || *zone > edit::kMaxZone) return Fail(c, edit::kEnterZone);
  double easting = 0, northing = 0;
  if (!Number(p[3], easting)) return ArgumentProblem(c, "EASTING ist keine Zahl: " + p[3]);
  if (!Number(p[4], northing)) return ArgumentProblem(c, "NORTHING ist keine Zahl: " + p[4]);

  const geo::GeographicPosition position =
      geo::UtmToGeographic(static_cast<int>(*zone), letter.front(), easting, northing);
  c.out << Fixed(position.latitude, 7) << ' ' << Fixed(position.longitude, 7) << '\n';
  return kExitOk;
}

int RunGeographicToUtm(const CommandContext& c) {
  const auto& p = c.args.positional;
  double latitude = 0, longitude = 0;
  if (!Number(p[1], latitude)) return ArgumentProblem(c, "LAT ist keine Zahl: " + p[1]);
  if (!Number(p[2], longitude)) return ArgumentProblem(c, "LON ist keine Zahl: " + p[2]);
  if (latitude < -90 || latitude > 90) return Fail(c, kLatitudeRange);

  const geo::UtmPosition grid = geo::GeographicToUtm(latitude, longitude);
  c.out << grid.zone << ' ' << grid.letter << ' ' << Fixed(grid.easting, 2) << ' ' << Fixed(grid.northing, 2) << '\n';
  return kExitOk;
}

}  // namespace

int RunGeo(const CommandContext& c) {
  const std::string& sub = c.args.positional.at(0);
  if (sub == "utm2geo") return RunUtmToGeographic(c);
  if (sub == "geo2utm") return RunGeographicToUtm(c);
  return ArgumentProblem(c, "unbekannter geo-Befehl " + sub);
}

}  // namespace hp::cli
