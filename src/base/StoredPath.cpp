// Stored file names.
#include "base/StoredPath.h"

#include <string>

#include "base/Cp1252.h"

namespace hp::base {

bool IsAbsoluteStoredName(std::string_view name) {
  return name.find(':') != std::string_view::npos || name.starts_with("\\\\") || name.starts_with("/");
}

std::filesystem::path ResolveStoredName(const std::filesystem::path& documentFolder, std::string_view name) {
  std::string local = Cp1252ToUtf8(name);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  if (IsAbsoluteStoredName(name)) return std::filesystem::path(local);
  return documentFolder / std::filesystem::path(local);
}

}  // namespace hp::base
