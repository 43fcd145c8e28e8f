// Menu texts with German shortcut names.
#include <gtest/gtest.h>

#include "app/MenuText.h"

namespace hp::app {
namespace {

TEST(MenuTextTest, GermanShortcutNamesBecomeKeySequences) {
  const struct {
    const char* menu;
    const char* text;
    const char* shortcut;
  } cases[] = {
      {"&Bearbeiten...\tStrg+B", "&Bearbeiten...", "Ctrl+B"},
      {"&Zurücksetzen\tStrg+Gr+Z", "&Zurücksetzen", "Ctrl+Shift+Z"},
      {"Vor&heriges\tStrg+Gr+BildAuf", "Vor&heriges", "Ctrl+Shift+PgUp"},
      {"Nächs&tes\tStrg+Gr+BildAb", "Nächs&tes", "Ctrl+Shift+PgDown"},
      {"Export nach &Google Earth\tStrg-G", "Export nach &Google Earth", "Ctrl+G"},
      {"&Vorherige Position\tStrg+Gr+Links", "&Vorherige Position", "Ctrl+Shift+Left"},
      {"&Rückgängig\tAlt+Rücktaste", "&Rückgängig", "Alt+Backspace"},
      {"&Importieren...", "&Importieren...", ""},
  };
  for (const auto& c : cases) {
    const MenuText parsed = ParseMenuText(c.menu);
    EXPECT_EQ(parsed.text, c.text);
    EXPECT_EQ(parsed.shortcut, c.shortcut) << c.menu;
  }
}

TEST(MenuTextTest, FileFiltersKeepTheNamesOfEachPair) {
  EXPECT_EQ(FileDialogFilters("Hollowplan (*.hpn)|*.hpn|PocketTopo (*.txt)|*.txt|Alle Dateien (*.*)|*.*|"),
            (std::vector<std::string>{"Hollowplan (*.hpn)", "PocketTopo (*.txt)", "Alle Dateien (*.*)"}));
  EXPECT_EQ(FileDialogFilters("Bitmap (*.bmp)|*.bmp"), (std::vector<std::string>{"Bitmap (*.bmp)"}));
  EXPECT_TRUE(FileDialogFilters("").empty());
}

}  // namespace
}  // namespace hp::app
