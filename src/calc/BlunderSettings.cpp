// The blunder finder's two accuracies in the program's settings.
#include "calc/BlunderSettings.h"

#include <cmath>
#include <string_view>

#include "base/NumberFormat.h"

namespace hp::calc {
namespace {

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kSigmaLengthName = "BlunderSigmaLength";
constexpr std::string_view kSigmaAngleName = "BlunderSigmaAngle";

}  // namespace

BlunderOptions LoadBlunderOptions(const platform::SettingsStore& settings) {
  BlunderOptions options;
  const auto read = [&](std::string_view name, double fallback) {
    const auto value = base::ParseNumber(settings.GetString(kSection, name, ""));
    return value && std::isfinite(*value) && *value > 0 ? *value : fallback;
  };
  options.sigmaLength = read(kSigmaLengthName, options.sigmaLength);
  options.sigmaAngle = read(kSigmaAngleName, options.sigmaAngle);
  return options;
}

void SaveBlunderOptions(platform::SettingsStore& settings, const BlunderOptions& options) {
  settings.SetString(kSection, kSigmaLengthName, base::FormatFixed(options.sigmaLength, 4));
  settings.SetString(kSection, kSigmaAngleName, base::FormatFixed(options.sigmaAngle, 4));
}

}  // namespace hp::calc
