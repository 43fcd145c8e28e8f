// View options of the drawing commands.
#include "cli/ViewOptions.h"

#include <optional>

#include "base/Cp1252.h"
#include "base/NumberFormat.h"
#include "calc/ComputePass.h"
#include "cli/AdjustmentOptions.h"

namespace hp::cli {
namespace {

std::optional<long long> Integer(const std::string& text, long long min, long long max) {
  const auto value = base::ParseInteger(text);
  if (!value || *value < min || *value > max) return std::nullopt;
  return value;
}

}  // namespace

int OpenForView(const CommandContext& c, doc::SurveyStore& store, CliPrompter& prompter) {
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  std::string problem;
  if (!ApplyViewOptions(c.args, store, problem)) return ArgumentProblem(c, problem);
  AdjustmentChoice adjustment;
  if (!ParseAdjustment(c.args, adjustment, problem)) return ArgumentProblem(c, problem);
  if (adjustment.given) return ComputeWith(adjustment, store, prompter) ? kExitOk : kExitFailed;
  // A network that cannot be adjusted is told; the view shows the survey as it stands.
  if (store.settings.computedCurrent == 0) ComputeWith(adjustment, store, prompter);
  return kExitOk;
}

const std::vector<std::string>& ViewOptionNames() {
  static const std::vector<std::string> names = {"--worksheet",  "--display-type", "--azimuth",     "--inclination",
                                                 "--filter",     "--numbering",    "--colour-mode", "--cross-sections",
                                                 "--aux-lines",  "--scale",        "--adjustment",  "--sigma-length",
                                                 "--sigma-angle"};
  return names;
}

bool ApplyViewOptions(const CliArguments& args, doc::SurveyStore& store, std::string& problem) {
  const auto option = [&](const char* name) -> const std::string* {
    const auto it = args.options.find(name);
    return it == args.options.end() ? nullptr : &it->second;
  };
  const auto fail = [&](const char* name, const char* what) {
    problem = std::string(name) + " nimmt " + what;
    return false;
  };
  if (const std::string* value = option("--worksheet")) {
    const auto n = Integer(*value, 1, static_cast<long long>(store.worksheets.size()));
    if (!n) return fail("--worksheet", "die Nummer eines Arbeitsblatts des Dokuments");
    store.SelectWorksheet(static_cast<int>(*n - 1));
  }
  doc::Worksheet& ws = *store.currentWorksheet;
  if (const std::string* value = option("--display-type")) {
    const auto t = Integer(*value, 0, 7);
    if (!t) return fail("--display-type", "0 bis 7");
    ws.setDisplayType(doc::DisplayTypeOf(static_cast<int>(*t)));
  }
  if (const std::string* value = option("--azimuth")) {
    const auto a = base::ParseNumber(*value);
    if (!a) return fail("--azimuth", "eine Zahl in Grad");
    ws.setViewAzimuth(*a);
  }
  if (const std::string* value = option("--inclination")) {
    const auto i = base::ParseNumber(*value);
    if (!i) return fail("--inclination", "eine Zahl in Grad");
    ws.setViewInclination(*i);
  }
  if (const std::string* value = option("--filter")) {
    const size_t first = value->find(':');
    const auto criterion = Integer(value->substr(0, first), 0, 5);
    if (first == std::string::npos || !criterion) return fail("--filter", "K:LINIEN[:BESCHRIFTUNG] mit K von 0 bis 5");
    const std::string rest = value->substr(first + 1);
    const size_t second = rest.find(':');
    ws.setFilterCriterion(static_cast<int32_t>(*criterion));
    ws.setLineFilterPattern(base::Utf8ToCp1252(rest.substr(0, second)));
    ws.setLabelFilterPattern(second == std::string::npos ? "" : base::Utf8ToCp1252(rest.substr(second + 1)));
  }
  if (const std::string* value = option("--numbering")) {
    const auto k = Integer(*value, 0, 10);
    if (!k) return fail("--numbering", "0 bis 10");
    ws.setStationNumbering(static_cast<int16_t>(*k));
  }
  if (const std::string* value = option("--colour-mode")) {
    const auto m = Integer(*value, 0, 13);
    if (!m) return fail("--colour-mode", "0 bis 13");
    doc::SetLineColourModeOf(ws, static_cast<int>(*m));
  }
  if (const std::string* value = option("--cross-sections")) {
    const auto on = Integer(*value, 0, 1);
    if (!on) return fail("--cross-sections", "0 oder 1");
    ws.setShowCrossSections(static_cast<int32_t>(*on));
  }
  if (const std::string* value = option("--aux-lines")) {
    const auto on = Integer(*value, 0, 1);
    if (!on) return fail("--aux-lines", "0 oder 1");
    ws.setShowAuxiliaryLines(static_cast<int32_t>(*on));
  }
  if (const std::string* value = option("--scale")) {
    const auto s = base::ParseNumber(*value);
    if (!s || *s <= 0) return fail("--scale", "eine positive Maßstabszahl");
    ws.setScaleDenominator(*s);
  }
  return true;
}

std::optional<platform::Date> ParseDate(const std::string& text) {
  if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
  const auto day = Integer(text.substr(0, 2), 1, 31);
  const auto month = Integer(text.substr(3, 2), 1, 12);
  const auto year = Integer(text.substr(6, 4), 1, 9999);
  if (!day || !month || !year) return std::nullopt;
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (*day > kDays[*month - 1] + (*month == 2 && leap ? 1 : 0)) return std::nullopt;
  return platform::Date{static_cast<int>(*day), static_cast<int>(*month), static_cast<int>(*year)};
}

}  // namespace hp::cli
