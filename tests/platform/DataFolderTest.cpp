// The data folder of an installed program and of one run from its build folder.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/DataFolder.h"

namespace hp::platform {
namespace {

namespace fs = std::filesystem;

struct Layout {
  const char* name;
  const char* made;  // what exists under the root; "" for nothing
  bool madeIsFolder;
  const char* expected;  // relative to the root
};

class DataFolderTest : public ::testing::TestWithParam<Layout> {};

TEST_P(DataFolderTest, FindsTheFilesOfItsLayout) {
  const Layout& layout = GetParam();
  const fs::path root = fs::path(::testing::TempDir()) / (std::string("hp_datafolder_") + layout.name);
  fs::remove_all(root);
  fs::create_directories(root / "prefix" / "bin");
  if (*layout.made != '\0') {
    const fs::path made = root / layout.made;
    fs::create_directories(layout.madeIsFolder ? made : made.parent_path());
    if (!layout.madeIsFolder) std::ofstream(made) << "x";
  }
  EXPECT_EQ(DataFolder(root / "prefix" / "bin"), root / layout.expected);
  fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DataFolderTest,
    ::testing::Values(Layout{"installed", "prefix/share/hollowplan", true, "prefix/share/hollowplan"},
                      Layout{"build_folder", "", false, "prefix/bin"},
                      Layout{"share_without_program_files", "prefix/share/other", true, "prefix/bin"},
                      Layout{"plain_file_in_place_of_the_folder", "prefix/share/hollowplan", false, "prefix/bin"}),
    [](const ::testing::TestParamInfo<Layout>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace hp::platform
