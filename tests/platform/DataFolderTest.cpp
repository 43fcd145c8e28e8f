// The data folder of an installed program and of one run from its build folder.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/DataFolder.h"

namespace hp::platform {
namespace {

namespace fs = std::filesystem;

TEST(DataFolderTest, FindsTheFilesOfItsLayout) {
  const struct {
    const char* name;
    const char* made;  // what exists under the root; "" for nothing
    bool madeIsFolder;
    const char* expected;  // relative to the root
  } layouts[] = {
      {"installed", "prefix/share/hollowplan", true, "prefix/share/hollowplan"},
      {"build folder", "", false, "prefix/bin"},
      {"share without program files", "prefix/share/other", true, "prefix/bin"},
      {"plain file in place of the folder", "prefix/share/hollowplan", false, "prefix/bin"},
  };
  const fs::path root = fs::path(::testing::TempDir()) / "hp_datafolder";
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.name);
    fs::remove_all(root);
    fs::create_directories(root / "prefix" / "bin");
    if (*layout.made != '\0') {
      const fs::path made = root / layout.made;
      fs::create_directories(layout.madeIsFolder ? made : made.parent_path());
      if (!layout.madeIsFolder) std::ofstream(made) << "x";
    }
    EXPECT_EQ(DataFolder(root / "prefix" / "bin"), root / layout.expected);
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace hp::platform
