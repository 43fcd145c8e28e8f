// The in-memory settings store behind the tests and the batch tool.
#include <gtest/gtest.h>

#include "platform/SettingsStore.h"

namespace hp::platform {
namespace {

TEST(MemorySettingsStore, ValuesAreKeptPerSectionAndExactName) {
  MemorySettingsStore store;
  EXPECT_EQ(store.GetInt("Settings", "DXFFormat", 7), 7);
  EXPECT_EQ(store.GetString("Settings", "ExportDir", "C:\\Daten"), "C:\\Daten");
  store.SetInt("Settings", "Breite", 640);
  store.SetInt("Dialoge", "Breite", 320);
  store.SetString("Recent File List", "File1", "H\xF6hle.hpn");
  EXPECT_EQ(store.GetInt("Settings", "Breite", 0), 640);
  EXPECT_EQ(store.GetInt("Dialoge", "Breite", 0), 320);
  EXPECT_EQ(store.GetInt("Tool", "Breite", -1), -1);
  EXPECT_EQ(store.GetInt("Settings", "breite", -1), -1);
  EXPECT_EQ(store.GetString("Recent File List", "File1", ""), "H\xF6hle.hpn");
  EXPECT_TRUE(store.Contains("Dialoge", "Breite"));
  EXPECT_FALSE(store.Contains("Dialoge", "File1"));
  store.SetInt("Settings", "Breite", -5);
  EXPECT_EQ(store.GetString("Settings", "Breite", ""), "-5");
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
