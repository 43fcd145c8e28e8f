// hollowplan-cli: the program's own code paths without windows.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return hp::cli::RunCommand(args, std::cout, std::cerr);
}
