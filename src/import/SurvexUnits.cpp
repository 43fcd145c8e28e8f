// The Survex reader's reading settings: units (*units), calibrations
// (*calibrate) and standard deviations (*sd) of each quantity.
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "import/SurvexParser.h"

namespace hp::imports::survex {
namespace {

// Length units of *units and *calibrate; 0 when `word` is none.
double LengthUnit(std::string_view word) {
  const std::string w = Lower(word);
  if (w == "metres" || w == "meters" || w == "metric" || w == "metre" || w == "meter") return 1.0;
  if (w == "feet") return 0.3048;
  if (w == "yards") return 0.9144;
  return 0;
}

// The quantities a word of *units, *calibrate or *sd names.
std::vector<Quantity> QuantitiesOf(std::string_view word) {
  const std::string w = Lower(word);
  if (w == "tape" || w == "length") return {kLength};
  if (w == "backtape" || w == "backlength") return {kBackLength};
  if (w == "compass" || w == "bearing") return {kCompass};
  if (w == "backcompass" || w == "backbearing") return {kBackCompass};
  if (w == "clino" || w == "gradient") return {kClino};
  if (w == "backclino" || w == "backgradient") return {kBackClino};
  if (w == "depth") return {kDepth};
  if (w == "dx" || w == "easting") return {kDx};
  if (w == "dy" || w == "northing") return {kDy};
  if (w == "dz" || w == "altitude") return {kDz};
  if (w == "left") return {kLeft};
  if (w == "right") return {kRight};
  if (w == "up" || w == "ceiling") return {kUp};
  if (w == "down" || w == "floor") return {kDown};
  if (w == "declination") return {kDeclination};
  if (w == "position") return {kDx, kDy, kDz};
  return {};
}

// The quantities the leading words of `args` name; `next` is left at the
// first word that names none.
std::vector<Quantity> LeadingQuantities(const std::vector<std::string>& args, size_t& next) {
  std::vector<Quantity> quantities;
  for (; next < args.size(); ++next) {
    const std::vector<Quantity> q = QuantitiesOf(args[next]);
    if (q.empty()) break;
    quantities.insert(quantities.end(), q.begin(), q.end());
  }
  return quantities;
}

bool IsAngle(Quantity q) {
  return q == kCompass || q == kBackCompass || q == kClino || q == kBackClino || q == kDeclination;
}

}  // namespace

void Parser::Units(const std::vector<std::string>& args) {
  Settings& s = m_stack.back();
  if (args.size() == 1 && Lower(args.front()) == "default") {
    const Settings defaults;
    s.unit = defaults.unit;
    s.percent = defaults.percent;
    return;
  }
  size_t i = 0;
  const std::vector<Quantity> quantities = LeadingQuantities(args, i);
  double factor = 1.0;
  if (i + 2 == args.size()) factor = Number(args[i++]);
  if (quantities.empty() || i + 1 != args.size() || !Given(factor)) return Note("*units nicht lesbar");
  bool percent = false;
  const double length = LengthUnit(args[i]);
  const double angle = AngleUnit(args[i], percent);
  for (const Quantity q : quantities) {
    const double unit = IsAngle(q) ? angle : length;
    if (unit == 0 || (percent && q != kClino && q != kBackClino)) {
      return Note("*units: Einheit " + base::Cp1252ToUtf8(args[i]) + " passt nicht zur Messgröße");
    }
  }
  for (const Quantity q : quantities) {
    s.unit[q] = factor * (IsAngle(q) ? angle : length);
    s.percent[q] = percent;
  }
}

void Parser::Calibrate(const std::vector<std::string>& args) {
  Settings& s = m_stack.back();
  if (args.size() == 1 && Lower(args.front()) == "default") {
    const Settings defaults;
    s.zero = defaults.zero;
    s.scale = defaults.scale;
    return;
  }
  size_t i = 0;
  const std::vector<Quantity> quantities = LeadingQuantities(args, i);
  const double zero = i < args.size() ? Number(args[i++]) : kOmitted;
  if (quantities.empty() || !Given(zero)) return Note("*calibrate nicht lesbar");
  bool percent = false;
  double unit = 0;
  if (i < args.size()) {
    unit = IsAngle(quantities.front()) ? AngleUnit(args[i], percent) : LengthUnit(args[i]);
    if (unit != 0) ++i;
  }
  const double scale = i < args.size() ? Number(args[i++]) : 1.0;
  if (!Given(scale) || i != args.size()) return Note("*calibrate nicht lesbar");
  for (const Quantity q : quantities) {
    s.zero[q] = zero * (unit != 0 ? unit : s.unit[q]);
    s.scale[q] = scale;
  }
}

void Parser::StandardDeviation(const std::vector<std::string>& args) {
  Settings& s = m_stack.back();
  if (args.size() == 1 && Lower(args.front()) == "default") {
    s.sd = Settings().sd;
    return;
  }
  size_t i = 0;
  // "position" is the set-up at a station here, not the three coordinates.
  const bool position = !args.empty() && Lower(args.front()) == "position";
  const std::vector<Quantity> quantities = position ? std::vector<Quantity>{kDx} : LeadingQuantities(args, i);
  if (position) ++i;
  const double value = i < args.size() ? Number(args[i++]) : kOmitted;
  if (quantities.empty() || !Given(value) || value <= 0 || i + 1 != args.size()) return Note("*sd nicht lesbar");
  if (position) {
    const double unit = LengthUnit(args[i]);
    if (unit == 0) return Note("*sd: Einheit " + base::Cp1252ToUtf8(args[i]) + " passt nicht zur Messgröße");
    s.sdPosition = value * unit;
    return;
  }
  bool percent = false;
  for (const Quantity q : quantities) {
    const double unit = IsAngle(q) ? AngleUnit(args[i], percent) : LengthUnit(args[i]);
    if (unit == 0 || percent) return Note("*sd: Einheit " + base::Cp1252ToUtf8(args[i]) + " passt nicht zur Messgröße");
    s.sd[q] = value * unit;
  }
}

}  // namespace hp::imports::survex
