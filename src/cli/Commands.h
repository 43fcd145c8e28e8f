// The commands of hollowplan-cli. Each returns the exit status: 0 success,
// 1 failure, 2 wrong arguments.
#pragma once

#include <iosfwd>

#include "cli/CliArguments.h"

namespace hp::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CommandContext {
  const CliArguments& args;
  std::ostream& out;
  std::ostream& err;
};

int RunNew(const CommandContext& context);
int RunInfo(const CommandContext& context);
int RunConvert(const CommandContext& context);

// Runs the command named in the arguments.
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hp::cli
