// The export command and the Google Earth command of the windows, with the
// save dialog and the options dialog of each format.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/AppContext.h"
#include "export/ExportChoices.h"

class QFileDialog;
class QWidget;

namespace hp::app {

class CPlanDoc;
class CPlanView;

// Opens the options dialog of a format filled from the settings; OK writes
// the values back and returns true, Cancel changes nothing.
bool RunExportOptions(AppContext& app, QWidget* parent, exports::ExportOptionsDialog which);

// The save dialog, set up but not shown: title, formats, the preset one,
// the proposed name and a "Hilfe" button.
std::unique_ptr<QFileDialog> MakeExportFileDialog(const AppContext& app, QWidget* parent, const QString& folder,
                                                  const QString& name, int filter);

// "E&xportieren...": file name (from the context's chooser, else the save
// dialog), format check, options, then the file.
void RunExportCommand(QWidget* parent, CPlanDoc& document, CPlanView& view);

// The file the Google Earth command writes: "Hollowplan/Hollowplan 22/
// Hollowplan.kml" in the per-user application-data folder (folders made as
// needed); empty when the folder cannot be made.
std::filesystem::path GoogleEarthFile();
// "Export nach &Google Earth": options, the KML with all records, then the
// file opened by the desktop (or, when no program opened it, where it is).
void RunGoogleEarthCommand(QWidget* parent, CPlanDoc& document);

}  // namespace hp::app
