// File names stored in documents (include files, linked files, the background
// map) follow the conventions of the documents' home platform: "\" and "/"
// are both folder separators; a name with a colon (a drive letter or an
// address such as "http:"), or one starting with "\\" or "/", is used as it
// stands; any other name is relative to the document's folder.
#pragma once

#include <filesystem>
#include <string_view>

namespace hp::base {

// Whether `name` is used as it stands rather than relative to a folder.
bool IsAbsoluteStoredName(std::string_view name);

// The path a stored name (Windows-1252 bytes) designates for a document in
// `documentFolder`; backslashes become folder separators.
std::filesystem::path ResolveStoredName(const std::filesystem::path& documentFolder, std::string_view name);

}  // namespace hp::base
