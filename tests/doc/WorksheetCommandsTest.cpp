// The worksheet commands: list order and current worksheet after select,
// new, copy, move and delete; the copy name proposal; rename's cut; the
// questions with OK and Cancel; restore and reset; the enabling rules.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "doc/WorksheetCommands.h"

namespace hp::doc {
namespace {

using platform::Answer;
using platform::ScriptedPrompter;

// A store whose worksheets are named by the words of `names`, the one at
// `current` current; each worksheet gets as many positions as its name has
// letters, the first with azimuth = list position, so copies can be traced.
SurveyStore Sheets(const std::string& names, int current) {
  SurveyStore store;
  store.SetDefaults();
  store.worksheets.clear();
  std::istringstream words(names);
  std::string name;
  while (words >> name) {
    auto ws = std::make_unique<Worksheet>();
    InitWorksheet(*ws);
    ws->setSheetDesignation(name);
    for (size_t i = 0; i < name.size(); ++i) {
      auto p = std::make_unique<AnimationPosition>();
      p->azimuth = static_cast<double>(store.worksheets.size());
      ws->positions.push_back(std::move(p));
    }
    store.worksheets.push_back(std::move(ws));
  }
  store.settings.worksheetCount = static_cast<uint32_t>(store.worksheets.size());
  store.SelectWorksheet(current);
  store.currentPosition = store.currentWorksheet->positions.back().get();  // as after reading
  return store;
}

// "A [B] C": the names in order, the current one in brackets.
std::string Layout(const SurveyStore& store) {
  std::string text;
  for (const auto& ws : store.worksheets) {
    if (!text.empty()) text += ' ';
    const bool current = ws.get() == store.currentWorksheet;
    text += current ? "[" + std::string(ws->sheetDesignation()) + "]" : std::string(ws->sheetDesignation());
  }
  return text;
}

void ExpectConsistent(const SurveyStore& store) {
  ASSERT_NE(store.currentWorksheet, nullptr);
  EXPECT_EQ(store.worksheets[static_cast<size_t>(store.settings.currentWorksheetIndex)].get(), store.currentWorksheet);
  EXPECT_EQ(store.settings.worksheetCount, store.worksheets.size());
  const auto& positions = store.currentWorksheet->positions;
  EXPECT_EQ(store.currentPosition, positions.empty() ? nullptr : positions.back().get());
}

TEST(WorksheetCommands, ListChanges) {
  enum Op { Select, Previous, Next, New, Copy, Move, Delete };
  const struct {
    const char* name;
    const char* sheets;
    int current;
    Op op;
    int position;  // index or "before" position
    bool changed;
    const char* after;
  } cases[] = {
      {"select another", "A B C", 0, Select, 2, true, "A B [C]"},
      {"select the current", "A B C", 1, Select, 1, false, "A [B] C"},
      {"select nothing", "A B C", 1, Select, -1, false, "A [B] C"},
      {"previous", "A B C", 1, Previous, 0, true, "[A] B C"},
      {"previous on the first", "A B C", 0, Previous, 0, false, "[A] B C"},
      {"next", "A B C", 1, Next, 0, true, "A B [C]"},
      {"next on the last", "A B C", 2, Next, 0, false, "A B [C]"},
      {"new before the current", "A B C", 1, New, 1, true, "A [N] B C"},
      {"new at the end", "A B C", 0, New, 3, true, "A B C [N]"},
      {"copy before the next", "A B C", 0, Copy, 1, true, "A [N] B C"},
      {"move the first to the end", "A B C D", 0, Move, 4, true, "B C D [A]"},
      {"move the last to the front", "A B C D", 3, Move, 0, true, "[D] A B C"},
      {"move forward", "A B C D", 1, Move, 3, true, "A C [B] D"},
      {"move before itself", "A B C D", 1, Move, 1, false, "A [B] C D"},
      {"move before the next", "A B C D", 1, Move, 2, false, "A [B] C D"},
      {"move the only one", "A", 0, Move, 1, false, "[A]"},
      {"delete the last of three", "A B C", 2, Delete, 0, true, "A [B]"},
      {"delete the first", "A B C", 0, Delete, 0, true, "[B] C"},
      {"delete the only one", "A", 0, Delete, 0, false, "[A]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyStore store = Sheets(c.sheets, c.current);
    bool resetFlag = false;
    bool changed = false;
    switch (c.op) {
      case Select: changed = SelectWorksheetAt(store, c.position); break;
      case Previous: changed = SelectPreviousWorksheet(store); break;
      case Next: changed = SelectNextWorksheet(store); break;
      case New: changed = NewWorksheet(store, "N", c.position, resetFlag); break;
      case Copy: changed = CopyWorksheet(store, "N", c.position); break;
      case Move: changed = MoveWorksheet(store, c.position); break;
      case Delete: changed = DeleteWorksheet(store); break;
    }
    EXPECT_EQ(changed, c.changed);
    EXPECT_EQ(Layout(store), c.after);
    EXPECT_EQ(resetFlag, c.op == New) << "only a new worksheet sets the reset flag here";
    ExpectConsistent(store);
  }
}

TEST(WorksheetCommands, NewWorksheetHasTheDefaultsAndCopyKeepsImageAndPositions) {
  SurveyStore store = Sheets("Plan Schnitt", 1);
  store.currentWorksheet->setZoomPercent(250.0);
  store.currentWorksheet->positions[3]->centreZ = 42.0;
  const Worksheet original = *store.currentWorksheet;

  ASSERT_TRUE(CopyWorksheet(store, "Kopie", DefaultCopyPosition(store)));
  EXPECT_EQ(Layout(store), "Plan Schnitt [Kopie]");
  Worksheet expected = original;
  expected.setSheetDesignation("Kopie");
  EXPECT_EQ(store.currentWorksheet->image, expected.image);
  ASSERT_EQ(store.currentWorksheet->positions.size(), 7u);
  EXPECT_NE(store.currentWorksheet->positions[3].get(), store.worksheets[1]->positions[3].get()) << "own positions";
  EXPECT_EQ(store.currentWorksheet->positions[3]->centreZ, 42.0);

  bool resetFlag = false;
  ASSERT_TRUE(NewWorksheet(store, std::string(kNewWorksheetName), DefaultNewPosition(store), resetFlag));
  EXPECT_EQ(Layout(store), "Plan Schnitt [<Blattbezeichnung>] Kopie");
  Worksheet defaults;
  InitWorksheet(defaults);
  EXPECT_EQ(store.currentWorksheet->image, defaults.image);
  EXPECT_TRUE(store.currentWorksheet->positions.empty());
  EXPECT_TRUE(resetFlag);
}

TEST(WorksheetCommands, DialogTextsAndDefaults) {
  SurveyStore store = Sheets("Plan Schnitt", 1);
  store.worksheets[0]->setSheetDesignation(
      "Gro\xDF"
      "e Halle");  // Windows-1252
  EXPECT_EQ(WorksheetNames(store), (std::vector<std::string>{"Große Halle", "Schnitt"}));
  EXPECT_EQ(WorksheetNamesWithEnd(store), (std::vector<std::string>{"Große Halle", "Schnitt", "(Ende)"}));
  EXPECT_EQ(DefaultNewPosition(store), 1);
  EXPECT_EQ(DefaultCopyPosition(store), 2) << "the current is the last: (Ende)";
  EXPECT_EQ(DefaultMovePosition(store), 2);
}

TEST(WorksheetCommands, CopyNameProposal) {
  // clang-format off
  const struct { const char* name; const char* proposal; } cases[] = {
      {"Plan", "Kopie von Plan"},
      {"Kopie von Plan", "Kopie von Plan"},
      {"Alte Kopie von Plan", "Alte Kopie von Plan"},  // contains it anywhere
      {"Kopie vonPlan", "Kopie von Kopie vonPlan"},   // the blank belongs to the text
      {"", "Kopie von "},
  };
  // clang-format on
  for (const auto& c : cases) {
    SurveyStore store = Sheets("X", 0);
    store.currentWorksheet->setSheetDesignation(c.name);
    EXPECT_EQ(CopyNameProposal(store), c.proposal) << c.name;
  }
}

TEST(WorksheetCommands, Rename) {
  const std::string long90(90, 'x');
  std::string umlauts90;
  for (int i = 0; i < 90; ++i) umlauts90 += "ü";
  // clang-format off
  const struct { const char* name; std::string entered; bool changed; std::string stored; } cases[] = {
      {"new name", "Aufriss", true, "Aufriss"},
      {"same name", "Plan", false, "Plan"},
      {"cut to 80", long90, true, std::string(80, 'x')},
      {"umlaut stored in Windows-1252", "Gänge", true, "G\xE4nge"},
      {"80 umlauts are 80 characters", umlauts90, true, std::string(80, '\xFC')},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyStore store = Sheets("Plan", 0);
    EXPECT_EQ(RenameWorksheet(store, c.entered), c.changed);
    EXPECT_EQ(store.currentWorksheet->sheetDesignation(), c.stored);
  }
}

// New, copy and rename refuse a name that is empty once stored, and leave
// the worksheets as they were.
TEST(WorksheetCommands, EmptyNamesAreRefused) {
  for (const std::string& name : std::initializer_list<std::string>{"", "   ", "\t", std::string("\0x", 2)}) {
    SCOPED_TRACE(testing::PrintToString(name));
    EXPECT_FALSE(IsSheetNameAccepted(name));
    SurveyStore store = Sheets("Plan", 0);
    bool resetFlag = false;
    EXPECT_FALSE(NewWorksheet(store, name, 0, resetFlag));
    EXPECT_FALSE(CopyWorksheet(store, name, 1));
    EXPECT_FALSE(RenameWorksheet(store, name));
    EXPECT_EQ(store.worksheets.size(), 1u);
    EXPECT_EQ(store.currentWorksheet->sheetDesignation(), "Plan");
    EXPECT_FALSE(resetFlag);
  }
  EXPECT_TRUE(IsSheetNameAccepted(" A "));
}

TEST(WorksheetCommands, QuestionsWithOkAndCancel) {
  // clang-format off
  const struct { const char* name; int displayType; Answer answer; bool asked, done; } resetCases[] = {
      {"reset OK", 0, Answer::Ok, true, true},
      {"reset Cancel", 0, Answer::Cancel, true, false},
      {"animation resets without asking", 5, Answer::Cancel, false, true},
      {"protocol is disabled", 6, Answer::Ok, false, false},
  };
  // clang-format on
  for (const auto& c : resetCases) {
    SCOPED_TRACE(c.name);
    SurveyStore store = Sheets("Plan", 0);
    Worksheet& ws = *store.currentWorksheet;
    ws.setDisplayType(doc::DisplayTypeOf(c.displayType));
    ws.setZoomPercent(300.0), ws.setViewDistance(12.5), ws.setMarginLeft(5), ws.setMarginRight(6);
    ws.setMarginTop(7), ws.setMarginBottom(8), ws.setAutomaticScale(0);
    ws.Set<int16_t>(1632, 1), ws.Set<int32_t>(2678, 1), ws.Set<int32_t>(2822, 0);
    const Worksheet before = ws;
    ScriptedPrompter prompter(c.answer);
    bool resetFlag = false;
    EXPECT_EQ(AskAndResetWorksheet(store, prompter, resetFlag), c.done);
    EXPECT_EQ(resetFlag, c.done);
    EXPECT_EQ(prompter.Texts(),
              c.asked ? std::vector<std::string>{"Arbeitsblatt wirklich zurücksetzen?"} : std::vector<std::string>{});
    if (!c.done) {
      EXPECT_EQ(ws.image, before.image);
      continue;
    }
    EXPECT_EQ((std::array{ws.zoomPercent(), ws.viewDistance()}), (std::array{100.0, 0.0}));
    EXPECT_EQ(ws.marginLeft() + ws.marginRight() + ws.marginTop() + ws.marginBottom(), 80);
    EXPECT_EQ(
        (std::array<int, 4>{ws.automaticScale(), ws.Get<int16_t>(1632), ws.Get<int32_t>(2678), ws.Get<int32_t>(2822)}),
        (std::array{1, 0, 0, 1}));
  }

  for (const Answer answer : {Answer::Ok, Answer::Cancel}) {
    SurveyStore store = Sheets("A B C", 1);
    ScriptedPrompter prompter(answer);
    EXPECT_EQ(AskAndDeleteWorksheet(store, prompter), answer == Answer::Ok);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Soll das Arbeitsblatt B wirklich gelöscht werden?"});
    EXPECT_EQ(Layout(store), answer == Answer::Ok ? "A [C]" : "A [B] C");
  }
  SurveyStore single = Sheets("A", 0);
  ScriptedPrompter prompter;
  EXPECT_FALSE(AskAndDeleteWorksheet(single, prompter));
  EXPECT_TRUE(prompter.Texts().empty()) << "disabled: not asked";
}

TEST(WorksheetCommands, RestoreBringsBackImageAndPositions) {
  for (const Answer answer : {Answer::Ok, Answer::Cancel}) {
    SCOPED_TRACE(answer == Answer::Ok ? "OK" : "Cancel");
    SurveyStore store = Sheets("A Plan", 1);
    const Worksheet backup = *store.currentWorksheet;
    Worksheet& ws = *store.currentWorksheet;
    const auto* listObject = &ws.positions;
    ws.setZoomPercent(400.0);
    ws.setSheetDesignation("Umbenannt");
    ws.positions.erase(ws.positions.begin());
    ws.positions.back()->distance = 99.0;
    store.currentPosition = ws.positions.back().get();
    const Worksheet edited = ws;

    ScriptedPrompter prompter(answer);
    EXPECT_EQ(AskAndRestoreWorksheet(store, backup, prompter), answer == Answer::Ok);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Änderungen im Arbeitsblatt wirklich verwerfen?"});
    const Worksheet& expected = answer == Answer::Ok ? backup : edited;
    EXPECT_EQ(ws.image, expected.image);
    ASSERT_EQ(ws.positions.size(), expected.positions.size());
    EXPECT_EQ(ws.positions.back()->distance, expected.positions.back()->distance);
    EXPECT_EQ(&ws.positions, listObject) << "the worksheet keeps its own list";
    ExpectConsistent(store);
  }
}

// Previous, Next, Reset and Delete on a single worksheet are disabled as the
// list changes and the questions above show; these are the rest.
TEST(WorksheetCommands, EnablingRules) {
  using C = WorksheetCommand;
  // clang-format off
  const struct { const char* sheets; int displayType; C command; bool enabled; } cases[] = {
      {"A", 0, C::Select, false}, {"A B", 0, C::Select, true}, {"A", 0, C::Move, false},
      {"A B", 0, C::Move, true},  {"A", 6, C::Restore, true},  {"A", 6, C::New, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SurveyStore store = Sheets(c.sheets, 0);
    store.currentWorksheet->setDisplayType(doc::DisplayTypeOf(c.displayType));
    EXPECT_EQ(IsWorksheetCommandEnabled(c.command, store), c.enabled)
        << c.sheets << " type " << c.displayType << " command " << static_cast<int>(c.command);
  }
}

}  // namespace
}  // namespace hp::doc
