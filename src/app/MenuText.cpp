// German shortcut names to key sequences.
#include "app/MenuText.h"

#include <utility>
#include <vector>

namespace hp::app {

MenuText ParseMenuText(std::string_view menuText) {
  MenuText result;
  const size_t tab = menuText.find('\t');
  result.text = std::string(menuText.substr(0, tab));
  if (tab == std::string_view::npos) return result;
  std::string keys(menuText.substr(tab + 1));
  // "Strg-G": a minus after the modifier is a plus.
  if (keys.rfind("Strg-", 0) == 0) keys[4] = '+';
  static const std::vector<std::pair<std::string, std::string>> names = {
      {"Strg", "Ctrl"},    {"Gr", "Shift"}, {"BildAuf", "PgUp"}, {"BildAb", "PgDown"},      {"Links", "Left"},
      {"Rechts", "Right"}, {"Entf", "Del"}, {"Einfg", "Ins"},    {"Rücktaste", "Backspace"}};
  std::string shortcut;
  size_t start = 0;
  while (start <= keys.size()) {
    const size_t plus = keys.find('+', start);
    std::string part = keys.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    for (const auto& [german, portable] : names)
      if (part == german) part = portable;
    if (!shortcut.empty()) shortcut += '+';
    shortcut += part;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  result.shortcut = shortcut;
  return result;
}

std::vector<std::string> FileDialogFilters(std::string_view filter) {
  std::vector<std::string> names;
  size_t start = 0;
  bool name = true;
  while (start < filter.size()) {
    const size_t bar = filter.find('|', start);
    const std::string_view item =
        filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    if (name && !item.empty()) names.emplace_back(item);
    name = !name;
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return names;
}

}  // namespace hp::app
