// The scripted prompter that stands in for message boxes in tests.
#include <gtest/gtest.h>

#include "platform/Prompter.h"

namespace hp::platform {
namespace {

using Kind = ScriptedPrompter::Kind;

TEST(ScriptedPrompter, AnswersFromTheScriptInOrderThenTheDefault) {
  ScriptedPrompter prompter(Answer::No);
  prompter.Script({Answer::Yes, Answer::Cancel});
  prompter.Script({Answer::No});
  prompter.Message("Hinweis", Icon::Information);  // a message takes no answer
  EXPECT_EQ(prompter.AskYesNoCancel("eins", Icon::Question), Answer::Yes);
  EXPECT_EQ(prompter.AskYesNoCancel("zwei", Icon::Question), Answer::Cancel);
  EXPECT_EQ(prompter.AskYesNoCancel("drei", Icon::Question), Answer::No);
  EXPECT_EQ(prompter.AskYesNoCancel("vier", Icon::Question), Answer::No);
  EXPECT_EQ(prompter.AskYesNoCancel("f\xC3\xBCnf", Icon::Question), Answer::No);
}

struct Mapping {
  Answer scripted;
  Answer okCancel;
  Answer yesNoCancel;
};

class ScriptedAnswerMapping : public testing::TestWithParam<Mapping> {};

// An OK/Cancel question can only be answered OK or Cancel, a Yes/No/Cancel
// question only Yes, No or Cancel, whatever the script says.
TEST_P(ScriptedAnswerMapping, FitsTheKindOfQuestion) {
  const Mapping& m = GetParam();
  ScriptedPrompter scripted;
  scripted.Script({m.scripted, m.scripted});
  EXPECT_EQ(scripted.AskOkCancel("?", Icon::Exclamation), m.okCancel);
  EXPECT_EQ(scripted.AskYesNoCancel("?", Icon::Exclamation), m.yesNoCancel);

  ScriptedPrompter byDefault(m.scripted);
  EXPECT_EQ(byDefault.AskOkCancel("?", Icon::Exclamation), m.okCancel);
  EXPECT_EQ(byDefault.AskYesNoCancel("?", Icon::Exclamation), m.yesNoCancel);
}

INSTANTIATE_TEST_SUITE_P(Answers, ScriptedAnswerMapping,
                         testing::Values(Mapping{Answer::Ok, Answer::Ok, Answer::Yes},
                                         Mapping{Answer::Yes, Answer::Ok, Answer::Yes},
                                         Mapping{Answer::No, Answer::Ok, Answer::No},
                                         Mapping{Answer::Cancel, Answer::Cancel, Answer::Cancel}));

TEST(ScriptedPrompter, RecordsEveryTextWithKindAndIcon) {
  ScriptedPrompter prompter;
  prompter.Message("Diese Datei hat kein g\xC3\xBCltiges Dateiformat.", Icon::Exclamation);
  prompter.AskOkCancel("Konvertieren?", Icon::Question);
  prompter.AskYesNoCancel("Weiter?\n%s %d", Icon::Stop);
  prompter.Message("", Icon::Information);

  const auto& entries = prompter.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].kind, Kind::Message);
  EXPECT_EQ(entries[0].icon, Icon::Exclamation);
  EXPECT_EQ(entries[1].kind, Kind::OkCancel);
  EXPECT_EQ(entries[1].icon, Icon::Question);
  EXPECT_EQ(entries[2].kind, Kind::YesNoCancel);
  EXPECT_EQ(entries[2].icon, Icon::Stop);
  EXPECT_EQ(entries[3].kind, Kind::Message);
  EXPECT_EQ(prompter.Texts(),
            (std::vector<std::string>{"Diese Datei hat kein g\xC3\xBCltiges Dateiformat.",
                                      "Konvertieren?", "Weiter?\n%s %d", ""}));

  prompter.Clear();
  EXPECT_TRUE(prompter.Entries().empty());
  prompter.Message("neu", Icon::Information);
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"neu"});
}

}  // namespace
}  // namespace hp::platform
