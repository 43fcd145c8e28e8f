// hollowplan-cli: the program's own code paths without windows.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/OutputBuffer.h"

int main(int argc, char** argv) {
  // A reader that quits early shows up as a failed write, which the output
  // buffer takes as the end of the output, instead of ending the program.
  std::signal(SIGPIPE, SIG_IGN);
  std::ios::sync_with_stdio(false);
  hp::cli::OutputBuffer standardOutput(STDOUT_FILENO);
  std::ostream out(&standardOutput);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return hp::cli::RunCommand(args, out, std::cerr);
}
