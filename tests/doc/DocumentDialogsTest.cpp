// The document dialogs: zone letter, tolerances and their texts, limit
// angles and when they recompute, name lists, fonts and colours.
#include "doc/DocumentDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "base/FieldMessages.h"
#include "base/FixedText.h"

namespace hp::doc {
namespace {

DocumentSettings Defaults() {
  DocumentSettings s;
  SetDefaultSettings(s);
  return s;
}

// The default settings and a dialog model loaded from them.
template <class Model, class... Args>
std::pair<DocumentSettings, Model> Opened(Args... args) {
  std::pair<DocumentSettings, Model> opened{Defaults(), Model(args...)};
  opened.second.Load(opened.first);
  return opened;
}

TEST(DocumentDialog, ZoneLetterCorrection) {
  const struct {
    const char* typed;
    char stored;
  } cases[] = {{"o", 'U'}, {"O", 'N'}, {"I", 'J'}, {"i", 'U'}, {"T", 'T'},    {"A", 'A'}, {"Z", 'Z'},
               {"@", 'U'}, {"[", 'U'}, {"", 'U'},  {"3", 'U'}, {"\xC4", 'U'}, {"Ab", 'A'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto [s, model] = Opened<DocumentDialogModel>();
    model.utmBand = c.typed;
    const DialogOutcome outcome = model.Apply(s);
    ASSERT_FALSE(outcome.fault);
    EXPECT_EQ(base::TextOf(s.utmBand), std::string(1, c.stored));
    EXPECT_TRUE(outcome.modified && outcome.recompute && outcome.redraw);
  }
}

TEST(DocumentDialog, NumberFieldsAreReadOrRefusedWithoutStoringAnything) {
  const struct {
    DocumentDialogModel::Field field;
    const char* typed;
    bool accepted;
  } cases[] = {
      {DocumentDialogModel::MeridianConvergence, "-0.25", true},
      {DocumentDialogModel::MeridianConvergence, "1,5°", false},
      {DocumentDialogModel::UtmZone, "60", true},
      {DocumentDialogModel::UtmZone, "61", false},
      {DocumentDialogModel::UtmZone, "-33", false},
      {DocumentDialogModel::CadastreNumber, "4294967295", true},
      {DocumentDialogModel::CadastreNumber, "4294967296", false},
      {DocumentDialogModel::CadastreNumber, "1623/5", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto [s, model] = Opened<DocumentDialogModel>();
    model.title = "Neue H\xF6hle";
    (c.field == DocumentDialogModel::UtmZone          ? model.utmZone
     : c.field == DocumentDialogModel::CadastreNumber ? model.cadastreNumber
                                                      : model.meridianConvergence) = c.typed;
    const DialogOutcome outcome = model.Apply(s);
    EXPECT_EQ(!outcome.fault, c.accepted);
    EXPECT_EQ(base::TextOf(s.title), c.accepted ? "Neue H\xF6hle" : "<Titel>");
    if (!c.accepted) {
      EXPECT_EQ(outcome.fault->field, c.field);
      EXPECT_FALSE(outcome.fault->message.empty());
      EXPECT_FALSE(outcome.modified || outcome.recompute);
    }
  }
}

TEST(DocumentDialog, LoadedValuesReadBackUnchanged) {
  DocumentSettings s = Defaults();
  s.meridianConvergence = 1.2345678901234;
  s.cadastreNumber = 1623;
  s.utmZone = 33;
  base::SetText(s.descriptionText, "Zeile 1\r\nZeile 2");
  DocumentDialogModel model;
  model.Load(s);
  EXPECT_EQ(model.meridianConvergence, "1,2345678901234");
  const DocumentSettings before = s;
  ASSERT_FALSE(model.Apply(s).fault);
  EXPECT_EQ(s.meridianConvergence, before.meridianConvergence);
  EXPECT_EQ(s.cadastreNumber, 1623u);
  EXPECT_EQ(s.utmZone, 33u);
  EXPECT_EQ(base::TextOf(s.descriptionText), "Zeile 1\r\nZeile 2");
}

TEST(DocumentDialog, OverlongTextsAreCutToTheirFields) {
  auto [s, model] = Opened<DocumentDialogModel>();
  model.cadastreDesignation = std::string(200, 'k');
  model.description = std::string(1000, 'x') + "\r\nzu viel";
  ASSERT_FALSE(model.Apply(s).fault);
  EXPECT_EQ(base::TextOf(s.cadastreDesignation).size(),
            DocumentDialogModel::MaxLength(DocumentDialogModel::CadastreDesignation));
  EXPECT_EQ(base::TextOf(s.descriptionText), std::string(1000, 'x')) << "no half line break at the end";
}

TEST(DataOptions, ToleranceTexts) {
  const struct {
    double value;
    const char* length;
    const char* angle;
  } cases[] = {
      {0.5, "0,5", "0"}, {0.04, "0,0", "0"}, {0.96, "1,0", "1"}, {100000, "100000", "100000"}, {12.7, "13", "13"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FormatLengthTolerance(c.value), c.length);
    EXPECT_EQ(FormatAngleTolerance(c.value), c.angle);
  }
}

TEST(DataOptions, TolerancesAreReadBackAndLimited) {
  const struct {
    const char* length;
    const char* angle;
    double storedLength, storedAngle;
  } cases[] = {
      {"0,5", "10", 0.5, 10},         {"250000", "250", 100000, 200}, {"-3", "-0,5", 0, 0},
      {"100000", "200", 100000, 200}, {"2.5", "7,25", 2.5, 7.25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    auto [s, model] = Opened<DataOptionsModel>();
    model.lengthTolerance = c.length;
    model.angleTolerance = c.angle;
    const DialogOutcome outcome = model.Apply(s);
    ASSERT_FALSE(outcome.fault);
    EXPECT_EQ(s.searchToleranceLength, c.storedLength);
    EXPECT_EQ(s.searchToleranceAngle, c.storedAngle);
    EXPECT_TRUE(outcome.modified);
    EXPECT_FALSE(outcome.recompute) << "tolerances do not change coordinates";
  }
}

TEST(DataOptions, ToleranceShownRoundedKeepsItsValueWhenLeftAlone) {
  DocumentSettings s = Defaults();
  s.searchToleranceLength = 0.26;
  s.searchToleranceAngle = 2.5;
  DataOptionsModel model;
  model.Load(s);
  EXPECT_EQ(model.lengthTolerance, "0,3");
  const DialogOutcome outcome = model.Apply(s);
  EXPECT_EQ(s.searchToleranceLength, 0.26);
  EXPECT_EQ(s.searchToleranceAngle, 2.5);
  EXPECT_FALSE(outcome.modified);
}

TEST(DataOptions, RecomputeOnlyWhenAdjustmentOrLimitAngleChanged) {
  const struct {
    const char* name;
    int adjustment;
    const char* vertical;
    const char* acute;
    bool recompute;
  } cases[] = {
      {"nothing changed", 2, "30", "45", false}, {"same value typed differently", 2, "30,0", "45.0", false},
      {"adjustment", 0, "30", "45", true},       {"vertical limit", 2, "31", "45", true},
      {"acute limit", 2, "30", "44,5", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto [s, model] = Opened<DataOptionsModel>();
    model.loopAdjustment = c.adjustment;
    model.verticalLimit = c.vertical;
    model.acuteLimit = c.acute;
    const DialogOutcome outcome = model.Apply(s);
    ASSERT_FALSE(outcome.fault);
    EXPECT_EQ(outcome.recompute, c.recompute);
    EXPECT_EQ(outcome.modified, c.recompute);
  }
}

TEST(DataOptions, TheNetworkChoiceIsAMarkBesideLoopAdjustmentTwo) {
  DocumentSettings s = Defaults();
  s.loopAdjustment = 0;
  DataOptionsModel model;
  model.Load(s);
  model.loopAdjustment = kNetworkAdjustmentChoice;
  EXPECT_TRUE(model.Apply(s).recompute);
  EXPECT_TRUE(NetworkAdjustmentChosen(s));
  EXPECT_EQ(s.loopAdjustment, 2) << "readers that know only 0 to 2 adjust the ring-marked loops";
  model.Load(s);
  EXPECT_EQ(model.loopAdjustment, kNetworkAdjustmentChoice);
  EXPECT_FALSE(model.Apply(s).recompute);
  model.loopAdjustment = 1;
  EXPECT_TRUE(model.Apply(s).recompute);
  EXPECT_FALSE(NetworkAdjustmentChosen(s));
  EXPECT_EQ(s.loopAdjustment, 1);
  EXPECT_EQ(std::count(std::begin(s.reserved6), std::end(s.reserved6), 0), 64) << "the mark leaves nothing behind";
}

TEST(DataOptions, RefusedEntriesStoreNothing) {
  const struct {
    DataOptionsModel::Field field;
    const char* typed;
  } cases[] = {
      {DataOptionsModel::VerticalLimit, "90,5"}, {DataOptionsModel::VerticalLimit, "-1"},
      {DataOptionsModel::AcuteLimit, "abc"},     {DataOptionsModel::LengthTolerance, "1 m"},
      {DataOptionsModel::AngleTolerance, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto [s, model] = Opened<DataOptionsModel>();
    model.loopAdjustment = 0;
    (c.field == DataOptionsModel::VerticalLimit     ? model.verticalLimit
     : c.field == DataOptionsModel::AcuteLimit      ? model.acuteLimit
     : c.field == DataOptionsModel::LengthTolerance ? model.lengthTolerance
                                                    : model.angleTolerance) = c.typed;
    const DialogOutcome outcome = model.Apply(s);
    ASSERT_TRUE(outcome.fault);
    EXPECT_EQ(outcome.fault->field, c.field);
    EXPECT_EQ(s.loopAdjustment, 2);
  }
  auto [s, model] = Opened<DataOptionsModel>();
  model.verticalLimit = "90";
  model.acuteLimit = "0";
  EXPECT_FALSE(model.Apply(s).fault) << "both ends of the range are allowed";
  EXPECT_EQ(base::messages::NumberBetweenPlease(0, kMaxLimitAngle), "Bitte eine Zahl zwischen 0 und 90 eingeben.");
}

TEST(NameLists, TextIsLimitedAndOnlyAChangeMarksTheDocument) {
  const struct {
    NameList list;
    std::string typed;
    std::string stored;
  } cases[] = {
      {NameList::Levels, "1:" + std::string(1023, 'e'), "1:" + std::string(1023, 'e')},
      {NameList::Surveyors, "1:" + std::string(1028, 'v'), "1:" + std::string(1023, 'v')},
      {NameList::Levels, "1:" + std::string(1022, 'e') + "\r\n", "1:" + std::string(1022, 'e')},
  };
  for (const auto& c : cases) {
    auto [s, model] = Opened<NameListModel>(c.list);
    model.text = c.typed;
    const DialogOutcome outcome = model.Apply(s);
    const char(&field)[1026] = c.list == NameList::Levels ? s.levelNames : s.surveyorNames;
    EXPECT_EQ(base::TextOf(field), c.stored);
    EXPECT_TRUE(outcome.modified);
    EXPECT_FALSE(outcome.recompute);
  }
  auto [s, levels] = Opened<NameListModel>(NameList::Levels);
  EXPECT_FALSE(levels.Apply(s).modified) << "OK without a change";
}

// A line that names no number is refused with the line quoted, and nothing is
// stored; blank lines are kept.
TEST(NameLists, LinesWithoutANumberAreRefused) {
  const struct {
    std::string typed;
    std::string message;  // empty: accepted
  } cases[] = {
      {"0: Niemand\r\n\r\n2: Bert\r\n  ", ""},
      {"1: Anna\r\nBert",
       "Zeile 2 \"Bert\" hat nicht die Form \"Nummer: Name\" mit einer Nummer von 0 bis 8.\n"
       "Die Liste \"Vermesser\" kann so nicht gespeichert werden."},
      {"01: Anna", "Zeile 1 \"01: Anna\""},
      {"1: Anna\r\n9: M\xFCller", "Zeile 2 \"9: M\xC3\xBCller\""},
      {" 3: Carl", "Zeile 1 \" 3: Carl\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    DocumentSettings s = Defaults();
    const std::string before(base::TextOf(s.surveyorNames));
    NameListModel model(NameList::Surveyors);
    model.text = c.typed;
    const DialogOutcome outcome = model.Apply(s);
    EXPECT_EQ(!outcome.fault, c.message.empty());
    const std::string message = outcome.fault ? outcome.fault->message : "";
    EXPECT_TRUE(message.starts_with(c.message)) << message;
    EXPECT_EQ(base::TextOf(s.surveyorNames), c.message.empty() ? c.typed : before);
  }
}

TEST(NameLists, LineBreaksBetweenEditAndStore) {
  const struct {
    const char* edit;
    const char* stored;
  } cases[] = {{"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"}, {"\n\n", "\r\n\r\n"}, {"", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(ToStoredLines(c.edit), c.stored);
  }
  EXPECT_EQ(ToEditLines("0: Unsichtbar\r\n1: Ebene 1"), "0: Unsichtbar\n1: Ebene 1");
  EXPECT_EQ(LimitStoredText("ab\r\ncd", 3), "ab");
  EXPECT_EQ(LimitStoredText("ab\r\ncd", 4), "ab\r\n");
}

TEST(Fonts, ChooserRoundTripAndStoredFields) {
  const struct {
    int32_t height;
    double points;
    int32_t storedBack;
  } cases[] = {{-19, 14.25, -19}, {-16, 12, -16}, {-9, 6.75, -9}, {13, 9.75, -13}, {0, 9.75, -13}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    FontSetting font = DefaultFont(0);
    font.height = c.height;
    font.escapement = 450;
    const FontChoice choice = DescribeFont(font);
    EXPECT_DOUBLE_EQ(choice.pointSize, c.points);
    TakeFontChoice(font, choice);
    EXPECT_EQ(font.height, c.storedBack);
    EXPECT_EQ(font.escapement, 450) << "the chooser does not turn text";
  }

  FontSetting font = DefaultFont(1);  // italic stored as 255
  FontChoice choice = DescribeFont(font);
  EXPECT_TRUE(choice.italic);
  EXPECT_EQ(choice.weight, 700);
  choice.pointSize = 0;  // the chooser gave a pixel size
  choice.pixelSize = 30;
  choice.underline = true;
  choice.faceName = std::string(40, 'F');
  TakeFontChoice(font, choice);
  EXPECT_EQ(font.height, -30);
  EXPECT_EQ(font.italic, 255);
  EXPECT_NE(font.underline, 0);
  EXPECT_EQ(base::TextOf(font.faceName), std::string(31, 'F'));

  choice.pointSize = 1e9;
  choice.faceName.clear();
  TakeFontChoice(font, choice);
  EXPECT_EQ(font.height, -2000) << "absurd sizes are held to a page";
  EXPECT_EQ(base::TextOf(font.faceName), std::string(31, 'F')) << "no face keeps the stored one";
}

TEST(Fonts, AStoredFontIsShownInTheNearestOfferedStyle) {
  // A family with "Oblique" listed first and no style named "Normal".
  const std::vector<FontStyleOffer> family = {{400, true, false},  {700, true, true},   {700, false, false},
                                              {700, false, true},  {200, false, false}, {400, false, true},
                                              {400, false, false}, {700, true, false}};
  const struct {
    int weight;
    bool italic;
    int shown;
  } cases[] = {
      {400, false, 6},  // the normal width before the condensed cut
      {700, true, 7},   // bold italic
      {350, false, 6},  // between two weights: the nearer one
      {300, false, 4},  // halfway: the earlier offer
      {900, false, 2},  // heavier than any offer: the heaviest upright
      {250, true, 0},   // slant outweighs weight
  };
  for (const auto& c : cases) EXPECT_EQ(NearestFontStyle(family, c.weight, c.italic), c.shown) << c.weight << c.italic;
  EXPECT_EQ(NearestFontStyle({}, 700, false), -1);
}

TEST(Fonts, OkStoresTheFiveEditedFontsOnly) {
  auto [s, model] = Opened<FontsModel>();
  for (int i = 0; i < kEditedFontCount; ++i) {
    model.fonts[i].weight = 900;
    model.colours[i] = 0xFF123456;
  }
  const DialogOutcome outcome = model.Apply(s);
  EXPECT_TRUE(outcome.modified && outcome.redraw && !outcome.recompute);
  EXPECT_EQ(s.fonts[4].weight, 900);
  EXPECT_EQ(s.fontColours[4], 0x123456u) << "colours are 0x00BBGGRR";
  EXPECT_EQ(s.fonts[5].weight, 400);
}

TEST(Colours, EachButtonEditsItsOwnColour) {
  platform::MemorySettingsStore program;
  program.SetInt("Settings", "FarbeLinks", 0x00FF00);
  DocumentSettings s = Defaults();
  ColoursModel model;
  model.Load(s, program);
  EXPECT_EQ(model.Get({ColourKind::LeftEye, 0}), 0x00FF00u) << "the red-green pair comes from the program settings";
  EXPECT_EQ(model.Get({ColourKind::RightEye, 0}), 255u);
  const auto& slots = ColourSlots();
  ASSERT_EQ(slots.size(), 38u);
  for (size_t i = 0; i < slots.size(); ++i) model.Set(slots[i], 0x010000 + static_cast<uint32_t>(i));
  EXPECT_EQ(s.lineColours[0], 0u) << "the dialog works on a copy";
  const DialogOutcome outcome = model.Apply(s, program);
  EXPECT_TRUE(outcome.modified && outcome.redraw);
  // Each button in the order of the slots: lines, false colours, background, points, auxiliary lines, frame.
  EXPECT_EQ((std::array{s.lineColours[0], s.lineColours[15], s.falseColours[0], s.falseColours[15], s.backgroundColour,
                        s.pointColour, s.auxLineColour, s.frameColour}),
            (std::array<uint32_t, 8>{0x010000, 0x01000F, 0x010010, 0x01001F, 0x010020, 0x010021, 0x010022, 0x010023}));
  EXPECT_EQ(program.GetInt("Settings", "FarbeLinks", 0), 0x010024);
  EXPECT_EQ(program.GetInt("Settings", "FarbeRechts", 0), 0x010025);
  EXPECT_EQ(ColourLabel(slots[32]), "&Hintergrund");
  EXPECT_EQ(ColourLabel(slots[0]), "1") << "line colour numbers as records use them";

  model.Set({ColourKind::Line, 16}, 0x123456);  // no such button: ignored
  EXPECT_EQ(model.Get({ColourKind::Line, 16}), 0u);
}

TEST(EntryNumbers, ShortestTextWithDecimalComma) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{30, "30"}, {0.1, "0,1"}, {-1.5, "-1,5"}, {-0.0, "0"}, {2000, "2000"}, {1e-7, "0,0000001"}};
  for (const auto& c : cases) EXPECT_EQ(FormatEntryNumber(c.value), c.text);
}

}  // namespace
}  // namespace hp::doc
