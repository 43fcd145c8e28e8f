// Where the program's own files (the template Vorlage.hpn, the user guide,
// the sample cave) are found, given the folder the program runs from.
#pragma once

#include <filesystem>

namespace hp::platform {

// An installed program lives in PREFIX/bin and keeps its files in
// PREFIX/share/hollowplan; a program run from its build folder has them
// beside it. Returns `programFolder/../share/hollowplan` (normalised) when
// that folder exists, else `programFolder` itself. Never throws: a folder
// that cannot be examined counts as absent.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder);

}  // namespace hp::platform
