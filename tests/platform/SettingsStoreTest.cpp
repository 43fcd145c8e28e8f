// The in-memory settings store behind the tests and the batch tool.
#include <gtest/gtest.h>

#include "platform/SettingsStore.h"

namespace hp::platform {
namespace {

TEST(MemorySettingsStore, MissingValuesGiveTheCallersDefault) {
  const MemorySettingsStore store;
  EXPECT_EQ(store.GetInt("Settings", "BetaOpen", 0), 0);
  EXPECT_EQ(store.GetInt("Settings", "DXFFormat", 7), 7);
  EXPECT_EQ(store.GetString("Settings", "ExportDir", "C:\\Daten"), "C:\\Daten");
  EXPECT_FALSE(store.Contains("Settings", "BetaOpen"));
}

TEST(MemorySettingsStore, ValuesAreKeptPerSectionAndName) {
  MemorySettingsStore store;
  store.SetInt("Settings", "Breite", 640);
  store.SetInt("Dialoge", "Breite", 320);
  store.SetString("Recent File List", "File1", "H\xF6hle.hpn");
  EXPECT_EQ(store.GetInt("Settings", "Breite", 0), 640);
  EXPECT_EQ(store.GetInt("Dialoge", "Breite", 0), 320);
  EXPECT_EQ(store.GetInt("Tool", "Breite", -1), -1);
  EXPECT_EQ(store.GetInt("Settings", "breite", -1), -1);  // names are exact
  EXPECT_EQ(store.GetString("Recent File List", "File1", ""), "H\xF6hle.hpn");
  EXPECT_TRUE(store.Contains("Dialoge", "Breite"));
  EXPECT_FALSE(store.Contains("Dialoge", "File1"));

  store.SetInt("Settings", "Breite", -5);  // overwrites
  EXPECT_EQ(store.GetInt("Settings", "Breite", 0), -5);
  EXPECT_EQ(store.GetString("Settings", "Breite", ""), "-5");
}

struct IntText {
  const char* stored;
  int expected;  // with a default of 99
};

class IntFromText : public testing::TestWithParam<IntText> {};

// "--set NAME=VALUE" stores text; reading it as a number must not take
// anything that is not one.
TEST_P(IntFromText, ReadsIntegersAndFallsBackOtherwise) {
  MemorySettingsStore store;
  store.SetString("Settings", "Value", GetParam().stored);
  EXPECT_EQ(store.GetInt("Settings", "Value", 99), GetParam().expected) << GetParam().stored;
  EXPECT_EQ(store.GetString("Settings", "Value", "x"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Texts, IntFromText,
                         testing::Values(IntText{"1", 1}, IntText{"0", 0}, IntText{"-3", -3},
                                         IntText{" 12 ", 12}, IntText{"2147483647", 2147483647},
                                         IntText{"-2147483648", -2147483647 - 1},
                                         IntText{"2147483648", 99}, IntText{"", 99},
                                         IntText{"yes", 99}, IntText{"1.5", 99},
                                         IntText{"12abc", 99}));

}  // namespace
}  // namespace hp::platform
