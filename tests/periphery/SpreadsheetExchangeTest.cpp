// The spreadsheet exchange: what is written, opened and asked, which
// document a table may be loaded into, and the round trip of the table
// through a spreadsheet that saves it as UTF-8 or Windows-1252 text, with
// reordered, extra and missing columns and rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <tuple>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "periphery/SpreadsheetExchange.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::periphery {
namespace {

namespace fs = std::filesystem;

// The fields a surveyor edits in the sheet, as one comparable text.
std::string Fields(const doc::SurveyRecord& r) {
  std::ostringstream s;
  s << r.refCave << '/' << r.refPassage << '/' << base::TextOf(r.refPoint) << ' ' << r.cave << '/' << r.passage << '/'
    << base::TextOf(r.point) << ' ' << r.length << ' ' << r.azimuth << ' ' << r.inclination << ' ' << r.left << ' '
    << r.right << ' ' << r.up << ' ' << r.down << ' ' << r.instrument << ' ' << r.colour << ' ' << r.level << ' '
    << base::TextOf(r.date) << '|' << base::TextOf(r.description) << '|' << base::TextOf(r.material) << '|'
    << base::TextOf(r.measures) << '|' << base::TextOf(r.remark);
  return s.str();
}
std::vector<std::string> AllFields(const doc::SurveyStore& store) {
  std::vector<std::string> out;
  for (const auto& r : store.records) out.push_back(Fields(*r));
  return out;
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::vector<std::string>> Cells(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> row;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      row.push_back(line.substr(start, tab - start));
    row.push_back(line.substr(start));
    rows.push_back(std::move(row));
  }
  return rows;
}
std::string Joined(const std::vector<std::vector<std::string>>& rows, const char* lineEnd) {
  std::string text;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) text += (i ? "\t" : "") + row[i];
    text += lineEnd;
  }
  return text;
}

class SpreadsheetExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The times in the messages are local times.
    setenv("TZ", "UTC", 1);
    tzset();
    fs::create_directories(root / "program");
    fs::create_directories(root / "appdata");
    store.SetDefaults();
    store.records.clear();
    Add("0", "0", 0, 0, "Eingang B\xE4renh\xF6hle", "Fels", "");
    Add("0", "1", 3.45, 113,
        "Gro\xDF"
        "e Halle",
        "Lehm; Kalk",
        "Gitter \xBB"
        "Nord\xAB");
    Add("1", "2", 4.5, 130.7, "", "", "");
  }

  void Add(const char* from, const char* to, double length, double azimuth, const char* description,
           const char* material, const char* measures) {
    doc::SurveyRecord& r = test::AddLeg(store, from, to, length, azimuth, -12.5);
    r.refPassage = r.passage = 2, r.left = 1.25, r.down = 0.5;
    base::SetText(r.date, "24.12.2021");
    base::SetText(r.description, description);
    base::SetText(r.material, material);
    base::SetText(r.measures, measures);
  }
  fs::path Table() const { return root / "appdata" / "Hollowplan" / "Hollowplan 22" / "Hollowplan.txt"; }
  fs::path Note() const { return Table().parent_path() / "Hollowplan.herkunft"; }
  ExchangeResult Edit(SpreadsheetExchange& writer, const SheetDocument& document) {
    return writer.Edit(store, document, settings, paths, shell, prompter);
  }
  ExchangeResult Load(doc::SurveyStore& target) { return Load(exchange, target, docA); }
  ExchangeResult Load(SpreadsheetExchange& loader, doc::SurveyStore& target, const SheetDocument& document) {
    return loader.Load(target, document, root, settings, paths, prompter);
  }

  test::TempFolder root{"hp_sheet"};
  doc::SurveyStore store;
  platform::MemorySettingsStore settings;
  platform::FixedPaths paths{root / "program", root / "appdata", root};
  platform::RecordingShell shell;
  platform::ScriptedPrompter prompter;
  SpreadsheetExchange exchange;
  SheetDocument docA{root / "A.hpn", "A.hpn"};
};

TEST_F(SpreadsheetExchangeTest, EditWritesTheTableAndOpensTheWorkbookOrElseTheTable) {
  EXPECT_EQ(Edit(exchange, docA), ExchangeResult::Opened);
  EXPECT_TRUE(exchange.sent());
  EXPECT_EQ(shell.opened, std::vector<std::string>{Table().string()});
  EXPECT_EQ(Cells(test::ReadFile(Table())).size(), 4u) << "header and three records";
  Write(root / "program" / "Hollowplan.xls", "workbook");
  Write(Table().parent_path() / "Hollowplan.xls", "old copy");
  EXPECT_EQ(Edit(exchange, docA), ExchangeResult::Opened);
  EXPECT_EQ(shell.opened.back(), (Table().parent_path() / "Hollowplan.xls").string());
  EXPECT_EQ(test::ReadFile(Table().parent_path() / "Hollowplan.xls"), "workbook");
  EXPECT_TRUE(prompter.Texts().empty());
}

TEST_F(SpreadsheetExchangeTest, LoadingWhatThisWindowNeverSentAsksOnceWhileTheDocumentIsOpen) {
  SpreadsheetExchange earlier;  // the same file, open before
  ASSERT_EQ(Edit(earlier, docA), ExchangeResult::Opened);
  doc::SurveyStore target;
  target.SetDefaults();
  const auto before = AllFields(target);
  prompter.Script({platform::Answer::Cancel});
  EXPECT_EQ(Load(target), ExchangeResult::Cancelled);
  EXPECT_EQ(AllFields(target), before);
  EXPECT_FALSE(exchange.sent());
  EXPECT_EQ(Load(target), ExchangeResult::Loaded);
  EXPECT_EQ(Load(target), ExchangeResult::Loaded);
  ASSERT_EQ(prompter.Texts().size(), 2u);
  EXPECT_EQ(prompter.Texts()[0], prompter.Texts()[1]);
  EXPECT_EQ(AllFields(target), AllFields(store));
}

// Which table a window may load: a window writes the table for a document,
// the note beside it and the table may change, and a window loads it for a
// document. The times are set: written 06:50, saved by the sheet 08:05.
TEST_F(SpreadsheetExchangeTest, ATableLoadsOnlyIntoTheDocumentItWasWrittenFor) {
  enum class After { Nothing, SheetSaved, NoteRemoved, NoteUnreadable, TableRemoved, SavedAsA };
  using platform::Answer;
  using platform::Icon;
  struct Case {
    const char* name;
    SheetDocument writtenFor;
    After after;
    bool sameWindow;  // the writing window loads, else a window opened later
    SheetDocument loadingFor;
    Answer answer;
    ExchangeResult result;
    Icon icon;
    std::string text;  // empty: nothing asked or shown
  };
  const SheetDocument docB{root / "B.hpn", "B.hpn"};
  const SheetDocument new1{{}, "Unbenannt1"}, new2{{}, "Unbenannt2"};
  const std::string a = docA.path.string(), b = docB.path.string();
  const std::string question = "\nSollen die Vermessungsdaten des Dokuments durch die Tabelle ersetzt werden?";
  const std::string written = "Die Tabelle in Excel wurde am 07.12.2026 um 06:50 Uhr ";
  const std::string thisA = written + "für dieses Dokument („" + a + "“) geschrieben und ";
  const std::string unknownA =
      "Es ist nicht vermerkt, für welches Dokument die Tabelle in Excel geschrieben wurde "
      "(zuletzt gespeichert am 07.12.2026 um 06:50 Uhr). Stammt sie aus einem anderen "
      "Dokument, ersetzt sie die Vermessungsdaten von „" +
      a + "“ durch dessen Daten.\n";
  const auto other = [&](const std::string& writer, const std::string& loader) {
    return written + "für das Dokument „" + writer + "“ geschrieben, nicht für „" + loader +
           "“. Sie wird nicht geladen, die Vermessungsdaten von „" + loader +
           "“ bleiben unverändert.\nLaden Sie die Tabelle in „" + writer +
           "“, oder übertragen Sie zuerst mit „Bearbeiten in Excel“ die Daten dieses Dokuments.";
  };
  const Case cases[] = {
      {"the unsaved window that wrote it", new1, After::Nothing, true, new1, Answer::Cancel, ExchangeResult::Loaded,
       Icon::Question, ""},
      {"its file reopened", docA, After::Nothing, false, docA, Answer::Ok, ExchangeResult::Loaded, Icon::Question,
       thisA + "seitdem nicht mehr gespeichert." + question},
      {"its file reopened, saved by the sheet", docA, After::SheetSaved, false, docA, Answer::Cancel,
       ExchangeResult::Cancelled, Icon::Question,
       thisA + "in Excel zuletzt am 07.12.2026 um 08:05 Uhr gespeichert." + question},
      {"its unsaved window saved as A, then A reopened", new1, After::SavedAsA, false, docA, Answer::Ok,
       ExchangeResult::Loaded, Icon::Question, thisA + "seitdem nicht mehr gespeichert." + question},
      {"another file", docB, After::SheetSaved, false, docA, Answer::Ok, ExchangeResult::Refused, Icon::Stop,
       other(b, a)},
      {"another unsaved window", new1, After::Nothing, false, new2, Answer::Ok, ExchangeResult::Refused, Icon::Stop,
       other("Unbenannt1 (nicht gespeichert)", "Unbenannt2 (nicht gespeichert)")},
      {"no note, sent by this window", docA, After::NoteRemoved, true, docA, Answer::Ok, ExchangeResult::Loaded,
       Icon::Exclamation, unknownA + "Soll sie trotzdem geladen werden?"},
      {"an unreadable note, never sent", docA, After::NoteUnreadable, false, docA, Answer::Cancel,
       ExchangeResult::Cancelled, Icon::Exclamation, unknownA + std::string(texts::kNotSentQuestion)},
      {"no table", docA, After::TableRemoved, true, docA, Answer::Ok, ExchangeResult::Refused, Icon::Exclamation,
       "Es gibt keine Tabelle aus Excel zum Laden: „" + Table().string() +
           "“ fehlt oder ist keine Datei. Übertragen Sie die Vermessungsdaten zuerst mit „Bearbeiten in "
           "Excel“."},
  };
  using std::chrono::minutes;
  const std::chrono::system_clock::time_point writtenAt =
      std::chrono::sys_days{std::chrono::year{2026} / 12 / 7} + minutes(6 * 60 + 50);
  for (const Case& c : cases) {
    SpreadsheetExchange writer, later;
    ASSERT_EQ(Edit(writer, c.writtenFor), ExchangeResult::Opened) << c.name;
    auto note = ReadSheetOrigin(Note());
    ASSERT_TRUE(note) << c.name;
    note->written = writtenAt;
    ASSERT_TRUE(WriteSheetOrigin(Note(), *note));
    const minutes sheetSaved(c.after == After::SheetSaved ? 75 : 0);
    fs::last_write_time(Table(), std::chrono::file_clock::from_sys(writtenAt + sheetSaved));
    if (c.after == After::NoteRemoved) fs::remove(Note());
    if (c.after == After::NoteUnreadable) Write(Note(), "Fenster=\nGeschrieben=gestern\n");
    if (c.after == After::TableRemoved) fs::remove(Table());
    if (c.after == After::SavedAsA) writer.DocumentSaved(docA);

    doc::SurveyStore target;
    target.SetDefaults();
    const auto before = AllFields(target);
    platform::ScriptedPrompter asked(c.answer);
    EXPECT_EQ((c.sameWindow ? writer : later).Load(target, c.loadingFor, root, settings, paths, asked), c.result)
        << c.name;
    EXPECT_EQ(AllFields(target), c.result == ExchangeResult::Loaded ? AllFields(store) : before) << c.name;
    if (c.text.empty()) {
      EXPECT_TRUE(asked.Entries().empty()) << c.name;
      continue;
    }
    ASSERT_EQ(asked.Entries().size(), 1u) << c.name;
    EXPECT_EQ(asked.Entries()[0].text, c.text) << c.name;
    EXPECT_EQ(asked.Entries()[0].icon, c.icon) << c.name;
  }
}

TEST_F(SpreadsheetExchangeTest, TheNoteKeepsNamesWithLineEndsAndBackslashes) {
  const SheetOrigin written{"/Höhlen\\n\\\nzwei\r.hpn", "Titel=\\", "0123abcd",
                            std::chrono::system_clock::time_point(std::chrono::nanoseconds(1796626200123456789))};
  ASSERT_TRUE(WriteSheetOrigin(root / "note", written));
  const auto read = ReadSheetOrigin(root / "note");
  ASSERT_TRUE(read);
  EXPECT_EQ(std::tie(read->document, read->title, read->window, read->written),
            std::tie(written.document, written.title, written.window, written.written));
}

// The sheet as a spreadsheet saves it: each case changes the written table
// and names the records that must come back.
TEST_F(SpreadsheetExchangeTest, EditedSheetsComeBackAsTheTableImportReadsThem) {
  struct Case {
    const char* name;
    std::function<std::string(std::vector<std::vector<std::string>>&)> edit;
    std::vector<int> records;  // indices into the sent records
  };
  const auto utf8 = [](std::vector<std::vector<std::string>>& rows) { return base::Cp1252ToUtf8(Joined(rows, "\n")); };
  const Case cases[] = {
      {"saved as UTF-8", utf8, {0, 1, 2}},
      {"saved as Windows-1252", [](auto& rows) { return Joined(rows, "\r\n"); }, {0, 1, 2}},
      {"a row removed",
       [&](auto& rows) {
         rows.erase(rows.begin() + 2);
         return utf8(rows);
       },
       {0, 2}},
      {"columns reordered and an extra column",
       [&](auto& rows) {
         for (auto& row : rows) {
           std::swap(row[5], row[22]);
           std::rotate(row.begin(), row.begin() + 9, row.end());
           row.push_back(&row == &rows.front() ? "Notiz" : "x");
         }
         return utf8(rows);
       },
       {0, 1, 2}},
      {"numbers with decimal points",
       [&](auto& rows) {
         for (size_t r = 1; r < rows.size(); ++r)
           for (size_t i = 6; i <= 16; ++i) std::replace(rows[r][i].begin(), rows[r][i].end(), ',', '.');
         return utf8(rows);
       },
       {0, 1, 2}},
  };
  ASSERT_EQ(Edit(exchange, docA), ExchangeResult::Opened);
  const std::string sent = test::ReadFile(Table());
  for (const Case& c : cases) {
    auto rows = Cells(sent);
    Write(Table(), c.edit(rows));
    doc::SurveyStore target;
    target.SetDefaults();
    EXPECT_EQ(Load(target), ExchangeResult::Loaded) << c.name;
    std::vector<std::string> expected;
    for (int i : c.records) expected.push_back(Fields(*store.records[static_cast<size_t>(i)]));
    EXPECT_EQ(AllFields(target), expected) << c.name;
  }
}

TEST_F(SpreadsheetExchangeTest, AnEmptyOrUnreadableSheetLeavesTheRecordsAsTheyWere) {
  ASSERT_EQ(Edit(exchange, docA), ExchangeResult::Opened);
  const auto before = AllFields(store);
  for (const char* blank : {"", " \r\n\r\n"}) {
    Write(Table(), blank);
    prompter.Clear();
    EXPECT_EQ(Load(store), ExchangeResult::Refused);
    EXPECT_EQ(AllFields(store), before);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kEmptyTable)});
  }
  fs::remove(Table());
  fs::create_directory(Table());  // not a file
  prompter.Clear();
  EXPECT_EQ(Load(store), ExchangeResult::Refused);
  EXPECT_EQ(AllFields(store), before);
  EXPECT_EQ(prompter.Texts().size(), 1u);
}

}  // namespace
}  // namespace hp::periphery
