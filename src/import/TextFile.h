// Reading the lines of an import text file. Files are Windows-1252 text as
// the program has always read them; a file that is valid UTF-8 (with or
// without a byte-order mark) and holds non-ASCII characters is read as UTF-8
// and converted, characters outside Windows-1252 becoming "?". Lines end at a
// line feed; carriage returns before it are removed; lines of any length are
// read whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hp::imports {

// The lines of a text given as bytes, in Windows-1252.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// The lines of a file; nothing when it cannot be opened.
std::optional<std::vector<std::string>> ReadTextFileLines(const std::filesystem::path& path);

}  // namespace hp::imports
