// Dispatch of hollowplan-cli's commands and their argument checks.
#include <algorithm>
#include <exception>
#include <new>
#include <ostream>
#include <stdexcept>

#include "cli/AdjustmentOptions.h"
#include "cli/Commands.h"
#include "cli/OutputBuffer.h"
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
      {"compute", 1, Output::Optional, AdjustmentOptionNames(), {}, RunCompute},
      {"stations", 1, Output::None, AdjustmentOptionNames(), {"--no-compute"}, RunStations},
      {"loops", 1, Output::None, AdjustmentOptionNames(), {}, RunLoops},
      {"blunders", 1, Output::None, {"--top", "--sigma-length", "--sigma-angle"}, {}, RunBlunders},
      {"import", 1, Output::Required, {"--into", "--hpn-mode"}, {"--append"}, RunImport},
      {"stats", 1, Output::None, ViewOptionNames(), {}, RunStats},
      {"protocol", 1, Output::None, ViewOptionNames(), {}, RunProtocol},
      {"export", 2, Output::None, WithOptions(ViewOptionNames(), {"--include-mode"}), {}, RunExport},
      {"render", 2, Output::None, WithOptions(ViewOptionNames(), {"--size"}), {"--print"}, RunRender},
      {"geo", 5, Output::None, {}, {}, RunGeo, "utm2geo"},
      {"geo", 3, Output::None, {}, {}, RunGeo, "geo2utm"},
  };
  return commands;
}

const char* kUsage =
    "Aufruf: hollowplan-cli BEFEHL [ARGUMENTE] [--answer yes|no|cancel] [--set NAME=WERT]...\n"
    "       hollowplan-cli --help | -h | --version\n"
    "Befehle:\n"
    "  new -o OUT.hpn\n"
    "  info DOC.hpn\n"
    "  convert DOC.hpn -o OUT.hpn [--compute]\n"
    "  compute DOC.hpn [-o OUT.hpn] [Ausgleichsoptionen]\n"
    "  stations DOC.hpn [--no-compute] [Ausgleichsoptionen]\n"
    "  loops DOC.hpn [Ausgleichsoptionen]\n"
    "  blunders DOC.hpn [--top N] [--sigma-length M] [--sigma-angle DEG]\n"
    "  import IN -o OUT.hpn [--into DOC.hpn] [--append] [--hpn-mode 0|1|2|3]\n"
    "  stats DOC.hpn [Ansichtsoptionen]\n"
    "  protocol DOC.hpn [Ansichtsoptionen]\n"
    "  export DOC.hpn OUT.EXT [Ansichtsoptionen] [--include-mode 0|1]\n"
    "  render DOC.hpn OUT.(png|bmp|svg|pdf) [Ansichtsoptionen] [--size BxH] [--print] [--date TT.MM.JJJJ]\n"
    "  geo utm2geo ZONE LETTER EASTING NORTHING\n"
    "  geo geo2utm LAT LON\n"
    "Ansichtsoptionen: --worksheet N --display-type T --azimuth A --inclination I --filter K:LINIEN[:BESCHRIFTUNG]\n"
    "  --numbering K --colour-mode M --cross-sections 0|1 --aux-lines 0|1 --scale N, dazu die Ausgleichsoptionen\n"
    "Ausgleichsoptionen: --adjustment none|linear|vertical|network --sigma-length M --sigma-angle GRAD\n"
    "Fragen des Programms beantwortet --answer (Vorgabe: no); Meldungen stehen auf stderr.\n"
    "Rückgabewert: 0 erfolgreich, 1 fehlgeschlagen, 2 falsche Argumente.\n";

constexpr const char* kOutOfMemory = "Nicht genügend Arbeitsspeicher.";

int Usage(std::ostream& err, const std::string& problem) {
  err << "hollowplan-cli: " << problem << "\n" << kUsage;
  return kExitUsage;
}

int Dispatch(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.size() == 1 && (argv[0] == "--help" || argv[0] == "-h")) {
    out << kUsage;
    return kExitOk;
  }
  if (argv.size() == 1 && argv[0] == "--version") {
    out << "hollowplan-cli " << HP_VERSION << "\n";
    return kExitOk;
  }
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
      return Usage(err, "unbekannter Befehl " + args->command);
    }
    const std::string sub = args->positional.empty() ? "(keiner)" : args->positional[0];
    return Usage(err, "unbekannter " + args->command + "-Befehl " + sub);
  }
  if (args->positional.size() != command->positional) return Usage(err, "falsche Anzahl von Argumenten");
  if (command->output == Output::Required && !args->output) return Usage(err, args->command + " braucht -o OUT.hpn");
  if (command->output == Output::None && args->output) return Usage(err, args->command + " nimmt kein -o");
  for (const auto& [name, value] : args->options) {
    if (std::find(command->options.begin(), command->options.end(), name) == command->options.end()) {
      return Usage(err, "unbekannte Option " + name);
    }
  }
  for (const auto& flag : args->flags) {
    if (std::find(command->switches.begin(), command->switches.end(), flag) == command->switches.end()) {
      return Usage(err, "unbekannte Option " + flag);
    }
  }
  return command->run(CommandContext{*args, out, err});
}

// No exception ends the program: a failed allocation (or a container asked
// for more than it can hold) is reported as lack of memory, anything else as
// an internal fault; both are failures. Outputs are written whole or not at
// all, so the command has replaced nothing by then.
int RunGuarded(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  try {
    return Dispatch(argv, out, err);
  } catch (const std::bad_alloc&) {
    err << kOutOfMemory << "\n\n";
  } catch (const std::length_error&) {
    err << kOutOfMemory << "\n\n";
  } catch (const std::exception& e) {
    err << "Interner Fehler: " << e.what() << "\n\n";
  } catch (...) {
    err << "Interner Fehler.\n\n";
  }
  return kExitFailed;
}

}  // namespace

// Every command's output is checked here, once it is complete: output cut by
// a full disk or another write error fails the command, however well the
// rest went.
int RunCommand(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  const int status = RunGuarded(argv, out, err);
  if (out.flush()) return status;
  err << OutputFailureText(out) << "\n\n";
  return status == kExitOk ? kExitFailed : status;
}

}  // namespace hp::cli
