// The commands of hollowplan-cli. Each returns the exit status: 0 success,
// 1 failure, 2 wrong arguments.
#pragma once

#include <iosfwd>

#include "cli/CliArguments.h"
#include "doc/SurveyStore.h"
#include "platform/SettingsStore.h"

namespace hp::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CommandContext {
  const CliArguments& args;
  std::ostream& out;
  std::ostream& err;
};

// Opens a document as the program's opening does (the conversion question
// of an older file included); false after its message. A cut document is
// used only when the question whether to go on with it is answered yes.
bool OpenInput(const CommandContext& context, const std::string& path, doc::SurveyStore& store);
// Prints an argument problem and gives the exit status for wrong arguments.
int ArgumentProblem(const CommandContext& context, const std::string& problem);
// Writes a document atomically; false after its message.
bool WriteOutput(const CommandContext& context, const std::string& path, doc::SurveyStore& store);

int RunNew(const CommandContext& context);
int RunInfo(const CommandContext& context);
int RunConvert(const CommandContext& context);
int RunCompute(const CommandContext& context);
int RunStations(const CommandContext& context);
int RunLoops(const CommandContext& context);
int RunBlunders(const CommandContext& context);
int RunImport(const CommandContext& context);
int RunStats(const CommandContext& context);
int RunProtocol(const CommandContext& context);
int RunRender(const CommandContext& context);
int RunExport(const CommandContext& context);
// geo utm2geo / geo geo2utm; the sub-command is the first positional argument.
int RunGeo(const CommandContext& context);

// The settings of one run: defaults, then every --set NAME=VALUE in section
// "Settings".
platform::MemorySettingsStore SettingsOf(const CliArguments& args);

// Runs the command named in the arguments. Output that `out` could not take
// whole (a full disk, a write error) fails the command with its message.
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hp::cli
