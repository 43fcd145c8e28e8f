// The choices of the export command before a writer runs: the proposed file
// name and folder, the file types of the save dialog, what is remembered of
// the user's choice, and the options of each format as the options dialogs
// keep them. The dialogs only move these values to and from their widgets.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace hp::exports {

struct ExportFileType {
  std::string_view text;     // as the save dialog lists it
  std::string_view pattern;  // "*.bmp"
};
// The file types in the order of the save dialog (its filter index counts
// from 1 in this order).
inline constexpr ExportFileType kExportFileTypes[] = {
    {"Bitmap (*.bmp)", "*.bmp"},
    {"Hollowplan (*.hpn)", "*.hpn"},
    {"DXF (*.dxf)", "*.dxf"},
    {"GPX (*.gpx)", "*.gpx"},
    {"Hollowview/Android-App (*.hvw)", "*.hvw"},
    {"Google Earth (*.kml)", "*.kml"},
    {"Overlay (*.ovl)", "*.ovl"},
    {"PocketTopo/VisualTopo (*.tro)", "*.tro"},
    {"Tabelle (*.txt)", "*.txt"},
    {"VRML (*.wrl)", "*.wrl"},
    {"Survex (*.svx)", "*.svx"},
    {"Alle Dateien (*.*)", "*.*"},
};
inline constexpr std::string_view kExportDialogTitle = "Daten exportieren";

// The proposed file name from the document title: from the character before
// a colon at index 2 or later on, then only what stands before the first '.'.
std::string DefaultExportName(std::string_view title);

// The folder the save dialog starts in: "ExportDir" when set, else the
// document's folder.
std::string InitialExportFolder(const std::filesystem::path& documentPath, const platform::SettingsStore& settings);

// Remembers the chosen filter index ("SaveExtention") and the folder of the
// chosen path ("ExportDir"), before the format is checked.
void RememberExportChoice(platform::SettingsStore& settings, int filterIndex, std::string_view path);

// Which options dialog an extension opens before writing.
enum class ExportOptionsDialog { None, Dxf, Gpx, Kml, Vrml, DocumentCopy, Table };
ExportOptionsDialog OptionsDialogFor(std::string_view extension);

struct GpxOptions {
  int select = 0;  // 0 the current station, 1 all labelled stations
  bool removeUmlauts = true;
  std::string symbol = "Waypoint";
  void Load(const platform::SettingsStore& settings);
  // An empty symbol is stored as "Waypoint".
  void Store(platform::SettingsStore& settings) const;
};

struct KmlOptions {
  bool caves = true, cavePoints = true, points = false, pointNumbers = false;
  void Load(const platform::SettingsStore& settings);
  void Store(platform::SettingsStore& settings) const;
};

struct VrmlOptions {
  int diameter = 100;  // centimetres, 1 to 1000
  int faces = 1;       // index into 4, 8, 16, 32, 64
  int form = 2;        // 0 "Rechteck", 1 "Ellipse", 2 "Segmente"
  void Load(const platform::SettingsStore& settings);
  // False (nothing stored) when the diameter is outside 1 to 1000.
  bool Store(platform::SettingsStore& settings) const;
};

// The one-choice dialogs: "DXFFormat", "ExportHPN", "ExportTAB".
int LoadChoice(const platform::SettingsStore& settings, ExportOptionsDialog dialog);
void StoreChoice(platform::SettingsStore& settings, ExportOptionsDialog dialog, int value);

}  // namespace hp::exports
