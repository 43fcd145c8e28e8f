// The export command's flow: the display-type refusal before anything is
// written, a bitmap handed to the host's picture, and the include mode that
// reaches the table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "export/ExportCommand.h"
#include "export/ExportFile.h"
#include "export/ExportTestSupport.h"
#include "support/TempFolder.h"

namespace hp::exports {
namespace {

namespace fs = std::filesystem;

TEST(ExportCommand, RefusesHandsOnOrWrites) {
  const test::TempFolder folder("hp_export_command");
  doc::SurveyStore store = test::EmptyStore();
  test::AddStation(store, 1, 1, "1", 10, 0, 0);
  test::AddStation(store, 1, 1, "2", 20, 0, 0).fromInclude = 1;
  const platform::MemorySettingsStore settings;

  const std::string badExtension = "PATH\nDiese Datei hat keine gültige Dateierweiterung.";
  const struct {
    const char* name;
    int displayType;
    bool withBitmap;  // whether the host hands in its picture
    TableIncludes tableMode;
    bool written;
    std::vector<std::string> bitmaps;  // the files handed to the host's picture
    std::string message;               // empty: none; PATH stands for the file
    size_t lines;                      // of the written table
  } cases[] = {
      {"plan.bmp", 0, true, TableIncludes::Without, true, {"plan.bmp"}, "", 0},
      {"plan.bmp", 6, true, TableIncludes::Without, false, {}, std::string(messages::kNoProtocolBitmap), 0},
      {"plan.bmp", 0, false, TableIncludes::Without, false, {}, badExtension, 0},
      {"plan.dxf", 5, true, TableIncludes::Without, false, {}, std::string(messages::kOnlyPlaneTypes), 0},
      {"plan.TXT", 6, true, TableIncludes::Without, true, {}, "", 2},
      {"plan.txt", 0, true, TableIncludes::All, true, {}, "", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store.currentWorksheet->setDisplayType(doc::DisplayTypeOf(c.displayType));
    const fs::path path = folder / c.name;
    platform::ScriptedPrompter prompter;
    std::vector<std::string> bitmaps;
    BitmapExport bitmap;
    if (c.withBitmap)
      bitmap = [&bitmaps](const fs::path& target, platform::Prompter&) {
        bitmaps.push_back(target.filename().string());
        return true;
      };
    ExportCommand command(settings, prompter, bitmap);
    EXPECT_EQ(command.Run(store, path, {c.tableMode, doc::WriteMode::AsRead}), c.written);
    EXPECT_EQ(bitmaps, c.bitmaps);
    std::string message = c.message;
    if (const size_t at = message.find("PATH"); at != std::string::npos) message.replace(at, 4, path.string());
    EXPECT_EQ(prompter.Texts(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    EXPECT_EQ(test::Count(test::ReadFile(path), "\r\n"), c.lines);
    fs::remove(path);
  }
}

// The options dialogs store 0 or 1; any other number gives the default.
TEST(ExportCommand, ModesFromTheSettings) {
  const struct {
    int table, copy;
    TableIncludes tableMode;
    doc::WriteMode copyMode;
  } cases[] = {
      {0, 0, TableIncludes::Without, doc::WriteMode::AsRead},
      {1, 1, TableIncludes::All, doc::WriteMode::IncludesAsOrdinary},
      {0, 1, TableIncludes::Without, doc::WriteMode::IncludesAsOrdinary},
      {2, -1, TableIncludes::Without, doc::WriteMode::AsRead},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + "/" + std::to_string(c.copy));
    platform::MemorySettingsStore settings;
    settings.SetInt("Settings", "ExportTAB", c.table);
    settings.SetInt("Settings", "ExportHPN", c.copy);
    const ExportModes modes = ExportModes::FromSettings(settings);
    EXPECT_EQ(modes.table, c.tableMode);
    EXPECT_EQ(modes.copy, c.copyMode);
  }
}

}  // namespace
}  // namespace hp::exports
