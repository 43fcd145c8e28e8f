// The export command's choices: the proposed name, the remembered folder and
// filter, and the stored options.
#include <gtest/gtest.h>

#include "export/ExportChoices.h"

namespace hp::exports {
namespace {

TEST(ExportChoices, DefaultName) {
  const struct {
    const char* title;
    const char* name;
  } cases[] = {{"H\xF6hle.hpn", "H\xF6hle"},
               {"Windloch", "Windloch"},
               {"Teil.2.hpn", "Teil"},
               {"C:Daten.hpn", "C:Daten"},
               {"ab:c.d", "b:c"},
               {":x.hpn", ":x"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(DefaultExportName(c.title), c.name) << c.title;
}

TEST(ExportChoices, FolderAndFilterAreRemembered) {
  platform::MemorySettingsStore settings;
  EXPECT_EQ(InitialExportFolder("/home/a/cave.hpn", settings), "/home/a");
  RememberExportChoice(settings, 3, "/tmp/out/x.dxf");
  EXPECT_EQ(settings.GetInt("Settings", "SaveExtention", 0), 3);
  EXPECT_EQ(InitialExportFolder("/home/a/cave.hpn", settings), "/tmp/out");
  RememberExportChoice(settings, 9, "D:\\Export\\x.txt");
  EXPECT_EQ(settings.GetString("Settings", "ExportDir", ""), "D:\\Export");
  EXPECT_EQ(kExportFileTypes[3 - 1].pattern, "*.dxf");
  // Survex came later: the formats before it keep their remembered numbers.
  EXPECT_EQ(kExportFileTypes[10 - 1].text, "VRML (*.wrl)");
  EXPECT_EQ(kExportFileTypes[11 - 1].text, "Survex (*.svx)");
  EXPECT_EQ(std::end(kExportFileTypes)[-1].text, "Alle Dateien (*.*)");
}

TEST(ExportChoices, OptionsStoreTheirChoicesWithinLimits) {
  platform::MemorySettingsStore settings;
  GpxOptions gpx;  // an empty symbol is stored as the standard one
  gpx.symbol.clear();
  gpx.select = 1;
  gpx.Store(settings);
  EXPECT_EQ(settings.GetString("Settings", "GPXSymbol", ""), "Waypoint");
  EXPECT_EQ(settings.GetInt("Settings", "GPXSelect", 0), 1);

  VrmlOptions vrml;
  vrml.diameter = 1001;
  EXPECT_FALSE(vrml.Store(settings));
  EXPECT_EQ(settings.GetInt("Settings", "VRML_Durchmesser", 100), 100);
  vrml.diameter = 1;
  EXPECT_TRUE(vrml.Store(settings));
  EXPECT_EQ(settings.GetInt("Settings", "VRML_Durchmesser", 100), 1);

  StoreChoice(settings, OptionsDialogFor("txt"), 1);
  EXPECT_EQ(settings.GetInt("Settings", "ExportTAB", 0), 1);
  EXPECT_EQ(OptionsDialogFor("ovl"), ExportOptionsDialog::None);
}

}  // namespace
}  // namespace hp::exports
