// The in-memory settings store behind the tests and the batch tool.
#include <gtest/gtest.h>

#include "platform/SettingsStore.h"

namespace hp::platform {
namespace {

TEST(MemorySettingsStore, ValuesAreKeptPerSectionAndExactNameAsText) {
  MemorySettingsStore store;
  store.SetInt("Settings", "Breite", -5);
  store.SetInt("Dialoge", "Breite", 320);
  EXPECT_EQ(store.GetString("Settings", "Breite", ""), "-5");
  EXPECT_EQ(store.GetInt("Settings", "breite", 7), 7);
  EXPECT_FALSE(store.Contains("Tool", "Breite"));
}

// "--set NAME=VALUE" stores text; reading it as a number must not take
// anything that is not one (the default here is 99).
TEST(MemorySettingsStore, ReadsIntegersFromTextAndFallsBackOtherwise) {
  const std::pair<const char*, int> cases[] = {{"-3", -3},
                                               {" 12 ", 12},
                                               {"2147483647", 2147483647},
                                               {"-2147483648", -2147483647 - 1},
                                               {"2147483648", 99},
                                               {"", 99},
                                               {"yes", 99},
                                               {"1.5", 99},
                                               {"12abc", 99}};
  for (const auto& [text, expected] : cases) {
    MemorySettingsStore store;
    store.SetString("Settings", "Value", text);
    EXPECT_EQ(store.GetInt("Settings", "Value", 99), expected) << text;
  }
}

}  // namespace
}  // namespace hp::platform
