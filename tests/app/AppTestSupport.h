// The program context the app tests run in: settings in memory, every
// message recorded and answered from a script, shell requests recorded.
#pragma once

#include "app/AppContext.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::app::test {

struct TestContext {
  platform::MemorySettingsStore settings;
  platform::ScriptedPrompter prompter{platform::Answer::No};
  platform::RecordingShell shell;
  AppContext context{settings, prompter, shell, {}};
};

// The one context of the test program, installed before the first test.
TestContext& Context();

}  // namespace hp::app::test
