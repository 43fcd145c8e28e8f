// The program's services for windows and dialogs: settings, messages, the
// desktop shell and the program's folder. main() (or a test) installs one
// context before the first window opens.
#pragma once

#include <filesystem>

#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::app {

struct AppContext {
  platform::SettingsStore& settings;
  platform::Prompter& prompter;
  platform::Shell& shell;
  std::filesystem::path programFolder;  // where Vorlage.hpn and the user guide are
};

// The installed context; installing replaces the previous one (null: none).
void InstallAppContext(AppContext* context);
AppContext& App();

}  // namespace hp::app
