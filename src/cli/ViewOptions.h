// The view options of the drawing commands (stats, and later render, export
// and protocol): changes to the current worksheet for one run.
#pragma once

#include <optional>
#include <string>

#include "cli/CliArguments.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "doc/SurveyStore.h"
#include "platform/Clock.h"

namespace hp::cli {

// The options a drawing command accepts with a value.
const std::vector<std::string>& ViewOptionNames();

// Applies the view options of `args` to the store's current worksheet (in
// memory). False with `problem` set when an option's value is wrong.
bool ApplyViewOptions(const CliArguments& args, doc::SurveyStore& store, std::string& problem);

// Opens the drawing command's document, applies its view options and
// computes it when its stored results are not current, as the program's own
// opening does, or always with the adjustment options. kExitOk, or the exit status after the message.
int OpenForView(const CommandContext& context, doc::SurveyStore& store, CliPrompter& prompter);

// The date of --date DD.MM.YYYY (a real calendar date, years 1 to 9999).
std::optional<platform::Date> ParseDate(const std::string& text);

}  // namespace hp::cli
