// The loop-quality colour mode in the document: it reads back, and a reader
// that knows only the modes 0 to 12 finds one of them at the mode's offset.
#include <gtest/gtest.h>

#include "base/ByteIo.h"
#include "doc/DocTestSupport.h"
#include "doc/SurveyStore.h"
#include "platform/SettingsStore.h"

namespace hp::doc {
namespace {

// The first worksheet's image follows the 8 leading bytes and the settings.
constexpr size_t kFirstWorksheet = 8 + 6740;
constexpr size_t kColourModeOffset = 1668;

TEST(LoopQualityMode, SavedAndReadBackWhileOlderReadersSeeAKnownMode) {
  const struct {
    int mode;
    int32_t storedMode;  // what a reader of modes 0 to 12 finds
  } cases[] = {{13, 0}, {6, 6}, {12, 12}, {0, 0}};
  for (const auto& c : cases) {
    SurveyStore store;
    store.SetDefaults();
    Worksheet expected = *store.worksheets[0];
    expected.setLineColourMode(c.storedMode);
    SetLineColourModeOf(*store.worksheets[0], 13);  // every case starts from mode 13 and changes it
    SetLineColourModeOf(*store.worksheets[0], c.mode);
    if (c.mode != 13) {
      EXPECT_EQ(store.worksheets[0]->image, expected.image) << "no mark left behind, " << c.mode;
    }
    const std::vector<uint8_t> body = test::WriteBody(store);
    EXPECT_EQ(base::LoadLE<int32_t>(body, kFirstWorksheet + kColourModeOffset), c.storedMode) << c.mode;

    SurveyStore back;
    platform::ScriptedPrompter prompter;
    platform::MemorySettingsStore settings;
    ASSERT_EQ(test::ReadBody(back, body, ReadMode::Open, prompter, settings).status, ReadStatus::Ok) << c.mode;
    EXPECT_EQ(LineColourModeOf(*back.worksheets[0]), c.mode);
    EXPECT_EQ(test::WriteBody(back), body) << "kept as read";
  }
}

TEST(LoopQualityMode, OnlyTheMarkChoosesMode13) {
  Worksheet ws;
  InitWorksheet(ws);
  ws.setLineColourMode(13);
  EXPECT_EQ(LineColourModeOf(ws), 0);
  ws.setLineColourMode(14);
  EXPECT_EQ(LineColourModeOf(ws), 14) << "kept as read; the drawing shows own colours";
}

}  // namespace
}  // namespace hp::doc
