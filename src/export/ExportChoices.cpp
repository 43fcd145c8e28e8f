#include "export/ExportChoices.h"

namespace hp::exports {
namespace {
constexpr std::string_view kSection = "Settings";

const char* ChoiceName(ExportOptionsDialog dialog) {
  switch (dialog) {
    case ExportOptionsDialog::Dxf: return "DXFFormat";
    case ExportOptionsDialog::DocumentCopy: return "ExportHPN";
    case ExportOptionsDialog::Table: return "ExportTAB";
    default: return nullptr;
  }
}
}  // namespace

std::string DefaultExportName(std::string_view title) {
  std::string name(title);
  if (const size_t colon = name.find(':'); colon != std::string::npos && colon >= 2) name = name.substr(colon - 1);
  if (const size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
  return name;
}

std::string InitialExportFolder(const std::filesystem::path& documentPath, const platform::SettingsStore& settings) {
  const std::string remembered = settings.GetString(kSection, "ExportDir", "");
  if (!remembered.empty()) return remembered;
  return documentPath.parent_path().string();
}

void RememberExportChoice(platform::SettingsStore& settings, int filterIndex, std::string_view path) {
  settings.SetInt(kSection, "SaveExtention", filterIndex);
  const size_t last = path.find_last_of("/\\");
  settings.SetString(kSection, "ExportDir", last == std::string_view::npos ? std::string_view() : path.substr(0, last));
}

ExportOptionsDialog OptionsDialogFor(std::string_view extension) {
  if (extension == "dxf") return ExportOptionsDialog::Dxf;
  if (extension == "gpx") return ExportOptionsDialog::Gpx;
  if (extension == "kml") return ExportOptionsDialog::Kml;
  if (extension == "wrl") return ExportOptionsDialog::Vrml;
  if (extension == "hpn") return ExportOptionsDialog::DocumentCopy;
  if (extension == "txt") return ExportOptionsDialog::Table;
  return ExportOptionsDialog::None;
}

void GpxOptions::Load(const platform::SettingsStore& settings) {
  select = settings.GetInt(kSection, "GPXSelect", 0);
  removeUmlauts = settings.GetInt(kSection, "GPXUmlaute", 1) != 0;
  symbol = settings.GetString(kSection, "GPXSymbol", "Waypoint");
}

void GpxOptions::Store(platform::SettingsStore& settings) const {
  settings.SetInt(kSection, "GPXSelect", select);
  settings.SetInt(kSection, "GPXUmlaute", removeUmlauts ? 1 : 0);
  settings.SetString(kSection, "GPXSymbol", symbol.empty() ? std::string_view("Waypoint") : symbol);
}

void KmlOptions::Load(const platform::SettingsStore& settings) {
  caves = settings.GetInt(kSection, "GECave", 1) != 0;
  cavePoints = settings.GetInt(kSection, "GECavePoint", 1) != 0;
  points = settings.GetInt(kSection, "GEPoint", 0) != 0;
  pointNumbers = settings.GetInt(kSection, "GEPointNumber", 0) != 0;
}

void KmlOptions::Store(platform::SettingsStore& settings) const {
  settings.SetInt(kSection, "GECave", caves ? 1 : 0);
  settings.SetInt(kSection, "GECavePoint", cavePoints ? 1 : 0);
  settings.SetInt(kSection, "GEPoint", points ? 1 : 0);
  settings.SetInt(kSection, "GEPointNumber", pointNumbers ? 1 : 0);
}

void VrmlOptions::Load(const platform::SettingsStore& settings) {
  diameter = settings.GetInt(kSection, "VRML_Durchmesser", 100);
  faces = settings.GetInt(kSection, "VRML_Flaechen", 1);
  form = settings.GetInt(kSection, "VRML_Form", 2);
}

bool VrmlOptions::Store(platform::SettingsStore& settings) const {
  if (diameter < 1 || diameter > 1000) return false;
  settings.SetInt(kSection, "VRML_Durchmesser", diameter);
  settings.SetInt(kSection, "VRML_Flaechen", faces);
  settings.SetInt(kSection, "VRML_Form", form);
  return true;
}

int LoadChoice(const platform::SettingsStore& settings, ExportOptionsDialog dialog) {
  const char* name = ChoiceName(dialog);
  return name ? settings.GetInt(kSection, name, 0) : 0;
}

void StoreChoice(platform::SettingsStore& settings, ExportOptionsDialog dialog, int value) {
  if (const char* name = ChoiceName(dialog)) settings.SetInt(kSection, name, value);
}

}  // namespace hp::exports
