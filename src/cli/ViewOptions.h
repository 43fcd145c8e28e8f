// The view options of the drawing commands (stats, and later render, export
// and protocol): changes to the current worksheet for one run.
#pragma once

#include <optional>
#include <string>

#include "cli/CliArguments.h"
#include "doc/SurveyStore.h"
#include "platform/Clock.h"

namespace hp::cli {

// The options a drawing command accepts with a value.
const std::vector<std::string>& ViewOptionNames();

// Applies the view options of `args` to the store's current worksheet (in
// memory). False with `problem` set when an option's value is wrong.
bool ApplyViewOptions(const CliArguments& args, doc::SurveyStore& store, std::string& problem);

// The date of --date DD.MM.YYYY (a real calendar date, years 1 to 9999).
std::optional<platform::Date> ParseDate(const std::string& text);

}  // namespace hp::cli
