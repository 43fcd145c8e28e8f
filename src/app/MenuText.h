// Menu texts as the program writes them (the item's text, a tab, and the
// German name of its keyboard shortcut, "Strg+Gr+BildAuf") and file-dialog
// filters as it writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hp::app {

struct MenuText {
  std::string text;      // with its "&" mnemonic
  std::string shortcut;  // portable key sequence ("Ctrl+Shift+PgUp"); empty for none
};

// Splits at the tab and translates the shortcut: "Strg" is Ctrl, "Gr"
// (Shift, the "Groß" key) is Shift, "BildAuf"/"BildAb" are PgUp/PgDown,
// "Links"/"Rechts" the arrow keys; "Strg-G" is read like "Strg+G".
MenuText ParseMenuText(std::string_view menuText);

// The names of a file-dialog filter written as "Name (*.x)|*.x|Name2|*.y|":
// every first item of a pair (the name shows the patterns the dialog uses).
std::vector<std::string> FileDialogFilters(std::string_view filter);

}  // namespace hp::app
