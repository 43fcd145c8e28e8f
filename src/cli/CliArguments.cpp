// Argument parsing of hollowplan-cli.
#include "cli/CliArguments.h"

#include <algorithm>

namespace hp::cli {

std::optional<CliArguments> ParseArguments(const std::vector<std::string>& args,
                                           const std::vector<std::string>& switches, std::string& error) {
  CliArguments result;
  if (args.empty()) {
    error = "kein Befehl angegeben";
    return std::nullopt;
  }
  result.command = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOption = arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
    if (!isOption) {
      result.positional.push_back(arg);
      continue;
    }
    if (std::find(switches.begin(), switches.end(), arg) != switches.end()) {
      result.flags.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "die Option " + arg + " braucht einen Wert";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (arg == "-o") {
      result.output = value;
    } else if (arg == "--answer") {
      if (value == "yes") {
        result.answer = platform::Answer::Yes;
      } else if (value == "no") {
        result.answer = platform::Answer::No;
      } else if (value == "cancel") {
        result.answer = platform::Answer::Cancel;
      } else {
        error = "--answer nimmt yes, no oder cancel";
        return std::nullopt;
      }
    } else if (arg == "--set") {
      const auto eq = value.find('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--set nimmt NAME=WERT";
        return std::nullopt;
      }
      result.settings.emplace_back(value.substr(0, eq), value.substr(eq + 1));
    } else if (arg == "--date") {
      result.date = value;
    } else if (arg.rfind("--", 0) == 0) {
      result.options[arg] = value;
    } else {
      error = "unbekannte Option " + arg;
      return std::nullopt;
    }
  }
  return result;
}

}  // namespace hp::cli
