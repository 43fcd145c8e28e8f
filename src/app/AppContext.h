// The program's services for windows and dialogs: settings, messages, the
// desktop shell, the program's folder and the export file chooser. main()
// (or a test) owns one context and hands it to the main window, which hands
// it on to the documents, views and dialogs.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

class QWidget;

namespace hp::app {

// What the export save dialog returned: the full path and the filter index
// (from 1).
struct ExportTarget {
  QString path;
  int filterIndex = 1;
};
// Asks for the export file: start folder, proposed name, preset filter index.
using ExportFileChooser =
    std::function<std::optional<ExportTarget>(QWidget* parent, const QString& folder, const QString& name, int filter)>;

struct AppContext {
  platform::SettingsStore& settings;
  platform::Prompter& prompter;
  platform::Shell& shell;
  std::filesystem::path programFolder;  // where Vorlage.hpn and the user guide are
  // Asks for the export file; empty: the program's save dialog.
  ExportFileChooser chooseExportFile = {};
};

}  // namespace hp::app
