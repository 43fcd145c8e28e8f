// The adjustment options of the computing commands.
#include "cli/AdjustmentOptions.h"

#include <cmath>

#include "base/NumberFormat.h"
#include "calc/ComputePass.h"
#include "calc/NetworkAdjustment.h"
#include "cli/Commands.h"
#include "doc/DocumentSettings.h"

namespace hp::cli {

const std::vector<std::string>& AdjustmentOptionNames() {
  static const std::vector<std::string> names = {"--adjustment", "--sigma-length", "--sigma-angle"};
  return names;
}

bool ParseAdjustment(const CliArguments& args, AdjustmentChoice& choice, std::string& problem) {
  choice.accuracy = calc::LoadBlunderOptions(SettingsOf(args));
  const auto& given = args.options;
  if (const auto it = given.find("--adjustment"); it != given.end()) {
    static const char* const kModes[] = {"none", "linear", "vertical"};
    choice.given = true;
    choice.network = it->second == "network";
    bool known = choice.network;
    for (int i = 0; i < 3; ++i) {
      if (it->second == kModes[i]) choice.mode = i, known = true;
    }
    if (!known) {
      problem = "--adjustment nimmt none, linear, vertical oder network: " + it->second;
      return false;
    }
  }
  const auto positive = [&](const char* name, double& into) {
    const auto it = given.find(name);
    if (it == given.end()) return true;
    const auto value = base::ParseNumber(it->second);
    if (!value || !std::isfinite(*value) || *value <= 0) {
      problem = std::string(name) + " braucht eine Zahl über 0: " + it->second;
      return false;
    }
    into = *value;
    return true;
  };
  return positive("--sigma-length", choice.accuracy.sigmaLength) &&
         positive("--sigma-angle", choice.accuracy.sigmaAngle);
}

bool ComputeWith(const AdjustmentChoice& choice, doc::SurveyStore& store, platform::Prompter& prompter) {
  if (choice.given) {
    doc::ChooseNetworkAdjustment(store.settings, choice.network);
    if (!choice.network) store.settings.loopAdjustment = static_cast<uint16_t>(choice.mode);
  }
  if (doc::NetworkAdjustmentChosen(store.settings)) {
    return calc::RunNetworkComputeCommand(store, prompter, choice.accuracy).adjusted;
  }
  calc::RunComputeCommand(store, prompter);
  return true;
}

}  // namespace hp::cli
