// Dispatch of hollowplan-cli's commands and their argument checks.
#include <algorithm>
#include <ostream>

#include "cli/Commands.h"
#include "cli/ViewOptions.h"

namespace hp::cli {
namespace {

enum class Output { None, Optional, Required };  // the command's -o

struct CommandEntry {
  const char* name;
  size_t positional;  // number of positional arguments
  Output output;
  std::vector<std::string> options;  // accepted --options with a value
  std::vector<std::string> switches;
  int (*run)(const CommandContext&);
  const char* sub = nullptr;  // the sub-command, the first positional argument
};

std::vector<std::string> WithOptions(std::vector<std::string> names, std::initializer_list<const char*> more) {
  names.insert(names.end(), more.begin(), more.end());
  return names;
}

const std::vector<CommandEntry>& Commands() {
  static const std::vector<CommandEntry> commands = {
      {"new", 0, Output::Required, {}, {}, RunNew},
      {"info", 1, Output::None, {}, {}, RunInfo},
      {"convert", 1, Output::Required, {}, {"--compute"}, RunConvert},
      {"compute", 1, Output::Optional, {}, {}, RunCompute},
      {"stations", 1, Output::None, {}, {"--no-compute"}, RunStations},
      {"loops", 1, Output::None, {}, {}, RunLoops},
      {"import", 1, Output::Required, {"--into", "--hpn-mode"}, {"--append"}, RunImport},
      {"stats", 1, Output::None, ViewOptionNames(), {}, RunStats},
      {"export", 2, Output::None, WithOptions(ViewOptionNames(), {"--include-mode"}), {}, RunExport},
      {"render", 2, Output::None, WithOptions(ViewOptionNames(), {"--size"}), {}, RunRender},
      {"geo", 5, Output::None, {}, {}, RunGeo, "utm2geo"},
      {"geo", 3, Output::None, {}, {}, RunGeo, "geo2utm"},
  };
  return commands;
}

const char* kUsage =
    "usage: hollowplan-cli COMMAND [ARGUMENTS] [--answer yes|no|cancel] [--set NAME=VALUE]...\n"
    "commands:\n"
    "  new -o OUT.hpn\n"
    "  info DOC.hpn\n"
    "  convert DOC.hpn -o OUT.hpn [--compute]\n"
    "  compute DOC.hpn [-o OUT.hpn]\n"
    "  stations DOC.hpn [--no-compute]\n"
    "  loops DOC.hpn\n"
    "  import IN -o OUT.hpn [--into DOC.hpn] [--append] [--hpn-mode 0|1|2|3]\n"
    "  stats DOC.hpn [view options]\n"
    "  export DOC.hpn OUT.EXT [view options] [--include-mode 0|1]\n"
    "  render DOC.hpn OUT.(png|bmp|svg|pdf) [view options] [--size WxH] [--date DD.MM.YYYY]\n"
    "  geo utm2geo ZONE LETTER EASTING NORTHING\n"
    "  geo geo2utm LAT LON\n"
    "view options: --worksheet N --display-type T --azimuth A --inclination I --filter C:LINES[:LABELS]\n"
    "  --numbering K --colour-mode M --cross-sections 0|1 --aux-lines 0|1 --scale N\n";

int Usage(std::ostream& err, const std::string& problem) {
  err << "hollowplan-cli: " << problem << "\n" << kUsage;
  return kExitUsage;
}

}  // namespace

int RunCommand(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> allSwitches;
  for (const auto& entry : Commands()) {
    allSwitches.insert(allSwitches.end(), entry.switches.begin(), entry.switches.end());
  }
  std::string problem;
  const auto args = ParseArguments(argv, allSwitches, problem);
  if (!args) return Usage(err, problem);
  const auto named = [&](const CommandEntry& s) { return args->command == s.name; };
  const auto command = std::find_if(Commands().begin(), Commands().end(), [&](const CommandEntry& s) {
    return named(s) && (s.sub == nullptr || (!args->positional.empty() && args->positional[0] == s.sub));
  });
  if (command == Commands().end()) {
    if (std::none_of(Commands().begin(), Commands().end(), named)) {
      return Usage(err, "unknown command " + args->command);
    }
    const std::string sub = args->positional.empty() ? "(none)" : args->positional[0];
    return Usage(err, "unknown " + args->command + " command " + sub);
  }
  if (args->positional.size() != command->positional) return Usage(err, "wrong number of arguments");
  if (command->output == Output::Required && !args->output) return Usage(err, args->command + " needs -o OUT.hpn");
  if (command->output == Output::None && args->output) return Usage(err, args->command + " takes no -o");
  for (const auto& [name, value] : args->options) {
    if (std::find(command->options.begin(), command->options.end(), name) == command->options.end()) {
      return Usage(err, "unknown option " + name);
    }
  }
  for (const auto& flag : args->flags) {
    if (std::find(command->switches.begin(), command->switches.end(), flag) == command->switches.end()) {
      return Usage(err, "unknown option " + flag);
    }
  }
  return command->run(CommandContext{*args, out, err});
}

}  // namespace hp::cli
