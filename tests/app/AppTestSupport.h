// The program context the app tests run in: settings in memory, every
// message recorded and answered from a script, shell requests recorded.
// Each test owns its context, so no test sees another's settings or
// messages.
#pragma once

#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::app::test {

struct TestContext {
  TestContext() = default;
  TestContext(const TestContext&) = delete;
  TestContext& operator=(const TestContext&) = delete;

  platform::MemorySettingsStore settings;
  platform::ScriptedPrompter prompter{platform::Answer::No};
  platform::RecordingShell shell;
  AppContext app{settings, prompter, shell, {}};
};

// The fixture of the app tests: a fresh context for every test, living
// longer than the windows and dialogs the test makes.
class AppTest : public testing::Test {
 protected:
  TestContext& Context() { return m_context; }
  AppContext& app() { return m_context.app; }

 private:
  TestContext m_context;
};

}  // namespace hp::app::test
