// Include files and the import command's flow.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "import/DocumentImport.h"
#include "import/ImportCommand.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::imports {
namespace {

namespace fs = std::filesystem;

// A document of legs of 5 m: {from, to, include file}.
doc::SurveyStore Legs(std::vector<std::array<const char*, 3>> legs) {
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  for (const auto& [from, to, include] : legs) base::SetText(test::AddLeg(store, from, to, 5).includeFile, include);
  return store;
}

class Includes : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder / "teile"); }

  void Write(const fs::path& name, std::vector<std::array<const char*, 3>> legs) {
    doc::SurveyStore store = Legs(std::move(legs));
    ASSERT_TRUE(doc::SaveDocument(folder / name, store));
  }

  std::vector<std::string> Points(const doc::SurveyStore& store) {
    std::vector<std::string> points;
    for (const auto& r : store.records) {
      points.push_back(std::string(base::TextOf(r->point)) + (r->fromInclude ? "*" : ""));
    }
    return points;
  }

  test::TempFolder folder{"hp_include"};
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore settings;
};

TEST_F(Includes, RecordsFollowEveryRecordNamingTheFileAndUpdatesRepeatExactly) {
  Write("teile/teil2.hpn", {{"1", "A", ""}, {"A", "B", "fehlt.hpn"}});  // includes do not nest
  Write("fehlt.hpn", {});
  doc::SurveyStore store =
      Legs({{"0", "0", ""}, {"0", "1", "teile\\teil2.hpn"}, {"1", "2", "nicht-da.hpn"}, {"2", "3", "teile/teil2.hpn"}});
  UpdateIncludes(store, folder, prompter, settings);
  const std::vector<std::string> expected = {"0", "1", "A*", "B*", "2", "3", "A*", "B*"};
  EXPECT_EQ(Points(store), expected);
  EXPECT_EQ(store.settings.recordCount, 8u);
  UpdateIncludes(store, folder, prompter, settings);
  EXPECT_EQ(Points(store), expected);
}

// The user learns which include file gave no records: once per update, with
// the path it was looked for at.
TEST_F(Includes, UnreadableIncludeFilesAreNamedOnce) {
  std::ofstream(folder / "kein.hpn") << "kein Dokument";
  doc::SurveyStore store =
      Legs({{"0", "0", ""}, {"0", "1", "nicht-da.hpn"}, {"1", "2", "kein.hpn"}, {"2", "3", "nicht-da.hpn"}});
  std::vector<fs::path> unread;
  UpdateIncludes(store, folder, prompter, settings, &unread);
  EXPECT_EQ(unread, (std::vector<fs::path>{folder / "nicht-da.hpn", folder / "kein.hpn"}));
  // clang-format off
  const std::vector<std::string> expected = {
      "Die Include-Datei wurde nicht gefunden:\n" + (folder / "nicht-da.hpn").string() +
          "\nIhre Datensätze fehlen im Dokument.",
      "Die Include-Datei ist kein gültiges Dokument:\n" + (folder / "kein.hpn").string() +
          "\nIhre Datensätze fehlen im Dokument."};
  EXPECT_EQ(prompter.Texts(), expected);
  EXPECT_EQ(store.records.size(), 4u);
}

TEST_F(Includes, AFileIncludingItselfAddsItsRecordsOnce) {
  Write("selbst.hpn", {{"0", "0", ""}, {"0", "1", "selbst.hpn"}});
  doc::SurveyStore store;
  size_t target = 0;
  ASSERT_EQ(doc::LoadDocument(folder / "selbst.hpn", store, doc::ReadMode::Open, target, prompter, settings),
            doc::ReadStatus::Ok);
  UpdateIncludes(store, folder, prompter, settings);
  EXPECT_EQ(Points(store), (std::vector<std::string>{"0", "1", "0*", "1*"}));
}

// An include name that names a FIFO, a device or a folder is skipped like a
// missing file, without waiting for a writer.
TEST_F(Includes, OnlyRegularFilesAreIncluded) {
  ASSERT_EQ(::mkfifo((folder / "rohr.hpn").c_str(), 0600), 0);
  doc::SurveyStore store = Legs({{"0", "0", ""}, {"0", "1", "rohr.hpn"}, {"1", "2", "/dev/zero"}, {"2", "3", "teile"}});
  ::alarm(30);  // a blocked reader ends the test program
  UpdateIncludes(store, folder, prompter, settings);
  ::alarm(0);
  EXPECT_EQ(Points(store), (std::vector<std::string>{"0", "1", "2", "3"}));
}

// An include file that would pass the record limit or what the memory holds
// is not taken, and no include after it is read; the message names it and,
// for the memory, the records all includes would need.
TEST_F(Includes, RecordLimitsStopTheUpdate) {
  Write("teil.hpn", {{"1", "A", ""}, {"A", "B", ""}, {"B", "C", ""}});
  const std::string path = (folder / "teil.hpn").string();
  const struct {
    size_t maxRecords;
    uint64_t memory;
    std::string message;
  } limits[] = {
      {9, 0, path + messages::kIncludeTooManyRecords},
      {kMaxDocumentRecords, (2ULL << 30) + 9 * kBytesPerRecord,
       "Nicht genügend Arbeitsspeicher.\nDas Dokument bräuchte 13 Datensätze, der Arbeitsspeicher dieses Rechners "
       "reicht für 9.\n" + path + "\nDiese Include-Datei und die folgenden wurden nicht eingelesen."},
  };
  // clang-format on
  for (const auto& limit : limits) {
    doc::SurveyStore store =
        Legs({{"0", "0", ""}, {"0", "1", "teil.hpn"}, {"1", "2", "teil.hpn"}, {"2", "3", "teil.hpn"}});
    std::vector<fs::path> unread;
    prompter.Clear();
    UpdateIncludes(store, folder, prompter, settings, &unread, limit.maxRecords, limit.memory);
    EXPECT_EQ(Points(store), (std::vector<std::string>{"0", "1", "A*", "B*", "C*", "2", "3"}));
    EXPECT_EQ(store.settings.recordCount, 7u);
    EXPECT_EQ(unread, (std::vector<fs::path>(2, folder / "teil.hpn")));
    ASSERT_FALSE(prompter.Texts().empty());
    EXPECT_EQ(prompter.Texts().front(), limit.message);
  }
}

// A file included many times repeats its faulty legs; the computation asks
// about them once per update and then says how often the answer was reused.
TEST_F(Includes, RepeatedQuestionsAreAskedOnce) {
  Write("teil.hpn", {{"1", "A", ""}, {"A", "B", ""}});
  doc::SurveyStore store = Legs(
      {{"0", "0", ""}, {"0", "1", "teil.hpn"}, {"1", "2", "teil.hpn"}, {"2", "3", "teil.hpn"}, {"3", "4", "teil.hpn"}});
  platform::ScriptedPrompter going(platform::Answer::No);  // go on after each question
  UpdateIncludes(store, folder, going, settings);
  const std::vector<std::string> texts = going.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[0].find("Messzug 1/1/1 - 1/1/A ist bereits in Datensatz 3 definiert."), std::string::npos);
  EXPECT_NE(texts[1].find("Messzug 1/1/A - 1/1/B ist bereits in Datensatz 4 definiert."), std::string::npos);
  EXPECT_EQ(texts[2],
            "Dieselbe Frage zu einem weiteren Datensatz kam noch 4-mal und wurde jedes Mal wie zuvor "
            "beantwortet.");
}

TEST_F(Includes, InstrumentImportKeepsRecordsAndRecomputes) {
  doc::SurveyStore source;
  source.SetDefaults();
  source.settings.instruments[0].declination = 90;
  ASSERT_TRUE(doc::SaveDocument(folder / "geraete.hpn", source));
  doc::SurveyStore store = Legs({{"0", "0", ""}, {"0", "1", ""}});
  ImportCommand command(settings);
  const auto question = ImportCommand::QuestionFor(folder / "geraete.hpn", store);
  ASSERT_EQ(question, ImportCommand::Question::DocumentParts);
  ASSERT_TRUE(command.Run(store, folder / "geraete.hpn", question, 2, folder, prompter));
  EXPECT_EQ(store.records.size(), 2u);
  EXPECT_NEAR(store.records[1]->x, 5, 1e-6);  // azimuth 0 turned east by the declination
  EXPECT_EQ(settings.GetInt("Settings", "ImportHPN", -1), 2);
}

TEST(ImportCommandFlow, QuestionsPresetsAndRememberedValues) {
  platform::MemorySettingsStore settings;
  ImportCommand command(settings);
  EXPECT_EQ(ImportCommand::ProposedFileName("H\xC3\xB6hle.Teil.hpn"), "H\xC3\xB6hle");
  EXPECT_EQ(command.StartFolder("/doc"), fs::path("/doc")) << "nothing remembered yet";
  command.RememberFile("/daten/zug.txt", 3);
  EXPECT_EQ(command.StartFolder("/doc"), fs::path("/daten"));
  EXPECT_EQ(command.FileTypePreset(), 3);

  doc::SurveyStore empty;
  empty.SetDefaults();
  empty.records.clear();
  doc::SurveyStore filled;
  filled.SetDefaults();
  EXPECT_EQ(ImportCommand::QuestionFor("a.TXT", empty), ImportCommand::Question::None);
  EXPECT_EQ(ImportCommand::QuestionFor("a.txt", filled), ImportCommand::Question::TableMode);
  EXPECT_EQ(ImportCommand::QuestionFor("a.HPN", empty), ImportCommand::Question::DocumentParts);
  settings.SetInt("Settings", "ImportTAB", 1);
  settings.SetInt("Settings", "ImportHPN", 9);
  EXPECT_EQ(command.ChoicePreset(ImportCommand::Question::TableMode), 1);
  EXPECT_EQ(command.ChoicePreset(ImportCommand::Question::DocumentParts), 3);
}

}  // namespace
}  // namespace hp::imports
