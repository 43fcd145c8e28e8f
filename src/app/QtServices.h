// The program's services over Qt: settings in an INI file, message boxes,
// the desktop's opener.
#pragma once

#include <QSettings>
#include <QWidget>
#include <memory>
#include <mutex>

#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::app {

// Settings in QSettings: section "Settings" value "Delta" is the key
// "Settings/Delta". Strings are UTF-8. A drawing or compute pass in the
// background reads them beside the window's thread, so each access holds a
// lock.
class QtSettingsStore final : public platform::SettingsStore {
 public:
  // The per-user file of organisation and application "Hollowplan".
  QtSettingsStore();
  // A given INI file (tests).
  explicit QtSettingsStore(const QString& iniFile);

  int GetInt(std::string_view section, std::string_view name, int defaultValue) const override;
  std::string GetString(std::string_view section, std::string_view name, std::string_view defaultValue) const override;
  void SetInt(std::string_view section, std::string_view name, int value) override;
  void SetString(std::string_view section, std::string_view name, std::string_view value) override;
  bool Contains(std::string_view section, std::string_view name) const;
  void Sync() {
    const std::lock_guard lock(m_mutex);
    m_settings->sync();
  }

 private:
  mutable std::mutex m_mutex;
  std::unique_ptr<QSettings> m_settings;
};

// Message boxes owned by the active window, with German buttons.
class QtPrompter final : public platform::Prompter {
 public:
  void Message(std::string_view text, platform::Icon icon) override;
  platform::Answer AskOkCancel(std::string_view text, platform::Icon icon) override;
  platform::Answer AskYesNoCancel(std::string_view text, platform::Icon icon) override;
};

// Opens files and addresses with the desktop's programs; starts this
// program again with a document.
class QtShell final : public platform::Shell {
 public:
  bool Open(std::string_view fileOrAddress) override;
  bool StartProgram(std::string_view documentPath) override;
};

}  // namespace hp::app
