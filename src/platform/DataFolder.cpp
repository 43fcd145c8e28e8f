// The program's data folder for installed and build-folder runs.
#include "platform/DataFolder.h"

#include <system_error>

namespace hp::platform {

std::filesystem::path DataFolder(const std::filesystem::path& programFolder) {
  const std::filesystem::path installed = (programFolder / ".." / "share" / "hollowplan").lexically_normal();
  std::error_code error;
  if (std::filesystem::is_directory(installed, error)) return installed;
  return programFolder;
}

}  // namespace hp::platform
