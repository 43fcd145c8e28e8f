// The export command and the Google Earth command of the windows, with the
// save dialog and the options dialog of each format.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "export/ExportChoices.h"
#include "platform/SettingsStore.h"

class QFileDialog;
class QWidget;

namespace hp::app {

class CPlanDoc;
class CPlanView;

// Opens the options dialog of a format filled from the settings; OK writes
// the values back and returns true, Cancel changes nothing.
bool RunExportOptions(QWidget* parent, exports::ExportOptionsDialog which, platform::SettingsStore& settings);

// What the save dialog returned: the full path and the filter index (from 1).
struct ExportTarget {
  QString path;
  int filterIndex = 1;
};
// Asks for the export file: start folder, proposed name, preset filter index.
using ExportFileChooser =
    std::function<std::optional<ExportTarget>(QWidget* parent, const QString& folder, const QString& name, int filter)>;
// The save dialog, set up but not shown: title, formats, the preset one,
// the proposed name and a "Hilfe" button.
std::unique_ptr<QFileDialog> MakeExportFileDialog(QWidget* parent, const QString& folder, const QString& name,
                                                  int filter);
// Replaces the save dialog (tests); an empty chooser restores it.
void SetExportFileChooser(ExportFileChooser chooser);

// "E&xportieren...": file name, format check, options, then the file.
void RunExportCommand(QWidget* parent, CPlanDoc& document, CPlanView& view);

// The file the Google Earth command writes: "Hollowplan/Hollowplan 22/
// Hollowplan.kml" in the per-user application-data folder (folders made as
// needed); empty when the folder cannot be made.
std::filesystem::path GoogleEarthFile();
// "Export nach &Google Earth": options, the KML with all records, then the
// file opened by the desktop (or, when no program opened it, where it is).
void RunGoogleEarthCommand(QWidget* parent, CPlanDoc& document);

}  // namespace hp::app
