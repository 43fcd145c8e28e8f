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
  for (Answer expected : {Answer::Yes, Answer::Cancel, Answer::No, Answer::No, Answer::No}) {
    EXPECT_EQ(prompter.AskYesNoCancel("?", Icon::Question), expected);
  }
}

// An OK/Cancel question can only be answered OK or Cancel, a Yes/No/Cancel
// question only Yes, No or Cancel, whether scripted or by default.
TEST(ScriptedPrompter, AnswerFitsTheKindOfQuestion) {
  const struct { Answer scripted, okCancel, yesNoCancel; } cases[] = {
      {Answer::Ok, Answer::Ok, Answer::Yes}, {Answer::Yes, Answer::Ok, Answer::Yes},
      {Answer::No, Answer::Ok, Answer::No}, {Answer::Cancel, Answer::Cancel, Answer::Cancel}};
  for (const auto& m : cases) {
    ScriptedPrompter scripted, byDefault(m.scripted);
    scripted.Script({m.scripted, m.scripted});
    for (ScriptedPrompter* p : {&scripted, &byDefault}) {
      EXPECT_EQ(p->AskOkCancel("?", Icon::Exclamation), m.okCancel);
      EXPECT_EQ(p->AskYesNoCancel("?", Icon::Exclamation), m.yesNoCancel);
    }
  }
}

TEST(ScriptedPrompter, RecordsEveryTextWithKindAndIcon) {
  ScriptedPrompter prompter;
  prompter.Message("kein g\xC3\xBCltiges Dateiformat.", Icon::Exclamation);
  prompter.AskOkCancel("Konvertieren?", Icon::Question);
  prompter.AskYesNoCancel("Weiter?\n%s %d", Icon::Stop);
  const auto& e = prompter.Entries();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(std::vector({e[0].kind, e[1].kind, e[2].kind}),
            std::vector({Kind::Message, Kind::OkCancel, Kind::YesNoCancel}));
  EXPECT_EQ(std::vector({e[0].icon, e[1].icon, e[2].icon}),
            std::vector({Icon::Exclamation, Icon::Question, Icon::Stop}));
  EXPECT_EQ(prompter.Texts(),
            (std::vector<std::string>{"kein g\xC3\xBCltiges Dateiformat.", "Konvertieren?", "Weiter?\n%s %d"}));
  prompter.Clear();
  prompter.Message("neu", Icon::Information);
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"neu"});
}

}  // namespace
}  // namespace hp::platform
