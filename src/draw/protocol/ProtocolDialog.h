// The survey protocol dialog ("Vermessungsprotokoll"): its texts, the values
// it edits and how they go into the worksheet. The window only moves values
// between its widgets and ProtocolOptions.
#pragma once

#include <array>
#include <string_view>

#include "doc/Worksheet.h"

namespace hp::draw {

namespace protocol_dialog_texts {
inline constexpr std::string_view kTitle = "Vermessungsprotokoll";
inline constexpr std::string_view kCommand = "Vermessungsproto&koll...\tStrg+K";
inline constexpr std::array<std::string_view, 8> kSections = {
    "&Kataster",         "&Höhle",          "D&okument-Beschreibung", "&Arbeitsblatt-Beschreibung", "&Datenauswertung",
    "&Messlinien-Liste", "Ma&terial-Liste", "Ma&ßnahmen-Liste"};
inline constexpr std::string_view kNumberingLabel = "Punkt&nummerierung";
inline constexpr std::array<std::string_view, 4> kNumbering = {"Höhle/Gang/Punkt", "Höhle/Punkt", "Gang/Punkt",
                                                               "Punkt"};
inline constexpr std::string_view kLegInfoLabel = "Zusatzinfo &Messlinien";
inline constexpr std::array<std::string_view, 8> kLegInfo = {
    "(keine)", "Bezeichnung", "Bemerkung", "Datum", "Referenzkoordinaten", "Querschnitte", "Material", "Maßnahmen"};
inline constexpr std::string_view kMaterialInfoLabel = "Zusatzinfo Ma&terial";
inline constexpr std::array<std::string_view, 3> kMaterialInfo = {"(keine)", "Bezeichnung", "Tiefe, Bezeichnung"};
inline constexpr std::string_view kMeasuresInfoLabel = "Zusatzinfo Ma&ßnahmen";
inline constexpr std::array<std::string_view, 5> kMeasuresInfo = {"(keine)", "Bezeichnung", "Material",
                                                                  "Bezeichnung, Material", "Tiefe, Bezeichnung"};
}  // namespace protocol_dialog_texts

struct ProtocolOptions {
  std::array<bool, 8> sections{};  // in the order of the section texts
  int numbering = 0;               // 0 to 3
  int legInfo = 0;                 // 0 to 7
  int materialInfo = 0;            // 0 to 2
  int measuresInfo = 0;            // 0 to 4
  bool operator==(const ProtocolOptions&) const = default;
};

// The worksheet's protocol settings; stored values out of range are shown as
// the nearest choice.
ProtocolOptions ProtocolOptionsOf(const doc::Worksheet& worksheet);

// Stores the options (choices limited to their ranges). Returns whether a
// setting changed; the caller then follows the view-change pattern (document
// modified, projection dirty, all views redrawn).
bool ApplyProtocolOptions(doc::Worksheet& worksheet, const ProtocolOptions& options);

}  // namespace hp::draw
