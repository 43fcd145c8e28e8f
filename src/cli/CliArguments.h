// Command-line arguments of hollowplan-cli: the command, its positional
// arguments and the options every command shares.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace hp::cli {

struct CliArguments {
  std::string command;
  std::vector<std::string> positional;
  std::optional<std::string> output;  // -o
  platform::Answer answer = platform::Answer::No;
  std::vector<std::pair<std::string, std::string>> settings;  // --set NAME=VALUE
  std::optional<std::string> date;                            // --date DD.MM.YYYY
  std::map<std::string, std::string> options;                 // other --name value pairs
  std::vector<std::string> flags;                             // other --name switches

  bool HasFlag(const std::string& name) const {
    for (const auto& flag : flags) {
      if (flag == name) return true;
    }
    return false;
  }
};

// Parses argv; returns nothing and fills `error` on wrong arguments.
// `switches` lists the options that take no value.
std::optional<CliArguments> ParseArguments(const std::vector<std::string>& args,
                                           const std::vector<std::string>& switches, std::string& error);

}  // namespace hp::cli
