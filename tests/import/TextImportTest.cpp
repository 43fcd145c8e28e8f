// The text import's file handling: what is opened, what is too large, how
// UTF-16 is read, numbers out of bounds and the record limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "import/ImportLimits.h"
#include "import/TableColumns.h"
#include "import/TextFile.h"
#include "import/TextImport.h"
#include "support/TempFolder.h"

namespace hp::imports {
namespace {

namespace fs = std::filesystem;

class TextImport : public ::testing::Test {
 protected:
  void SetUp() override { store.SetDefaults(); }  // one record

  std::string Put(const std::string& name, const std::string& bytes, uint64_t size = 0) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    if (size) fs::resize_file(path, size);  // sparse: no disk space taken
    return path.string();
  }

  // Imports replacing the records; a file that blocks the reader ends the test program.
  bool Import(const std::string& path, size_t maxRecords = kMaxDocumentRecords) {
    ::alarm(30);
    const bool ok = ImportTable(store, path, imports::TableImportMode::Replace, prompter, maxRecords);
    ::alarm(0);
    return ok;
  }

  std::vector<std::string> Points() const {
    std::vector<std::string> points;
    for (const auto& r : store.records) points.emplace_back(base::TextOf(r->point));
    return points;
  }

  test::TempFolder folder{"hp_text_import"};
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
};

const std::string kTable = "Punkt\tL\xE4nge\n1\t5\n2\t3\n";

TEST_F(TextImport, RefusedFilesLeaveTheDocumentAndAreNotRead) {
  fs::create_directories(folder / "Ordner.txt");
  const std::string fifo = (folder / "Rohr.txt").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folderTxt = (folder / "Ordner.txt").string();
  const std::string csv = Put("gross.csv", "", 3ULL << 30);
  const std::string table = Put("gross.txt", kTable, kMaxTableFileSize + 1);
  const std::string pocketTopo = Put("pt.txt", "Test (m, 360)\n", kMaxPocketTopoFileSize + 1);
  const std::string cannotOpen = "\nDiese Datei kann nicht geöffnet werden.";
  const std::pair<std::string, std::string> cases[] = {
      {fifo, fifo + cannotOpen},
      {"/dev/zero", "/dev/zero" + cannotOpen},
      {folderTxt, folderTxt + cannotOpen},
      {csv, csv + "\nDiese Datei hat keine gültige Dateierweiterung."},
      {table, table + messages::kTooLarge},
      {pocketTopo, pocketTopo + messages::kTooLarge},
  };
  for (const auto& [path, message] : cases) {
    prompter.Clear();
    EXPECT_FALSE(Import(path)) << path;
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{message});
    EXPECT_EQ(store.records.size(), 1u);
  }
}

std::string Utf16(std::u16string_view text, bool littleEndian) {
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST_F(TextImport, Utf16FilesAreReadInBothByteOrders) {
  // Ω has no Windows-1252 byte; the surrogate pair of 😀 is one character.
  const std::u16string text = u"Punkt\tLänge\tBezeichnung\r\n1\t5\tHalle Ω\r\n2\t3,5\tG\xD83D\xDE00ng\r\n";
  for (const bool littleEndian : {true, false}) {
    SCOPED_TRACE(littleEndian);
    const std::vector<std::string> lines = SplitTextLines(Utf16(text, littleEndian));
    EXPECT_EQ(lines, (std::vector<std::string>{"Punkt\tL\xE4nge\tBezeichnung", "1\t5\tHalle ?", "2\t3,5\tG?ng"}));
    prompter.Clear();
    ASSERT_TRUE(Import(Put("utf16.txt", Utf16(text, littleEndian))));
    EXPECT_TRUE(prompter.Entries().empty());
    EXPECT_EQ(Points(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(store.records[1]->length, 3.5);
  }
  // An odd last byte is dropped; UTF-8 and Windows-1252 files read as before.
  EXPECT_EQ(SplitTextLines(Utf16(u"a\nb", true) + "x"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitTextLines("\xEF\xBB\xBFL\xC3\xA4nge\n"), std::vector<std::string>{"L\xE4nge"});
  EXPECT_EQ(SplitTextLines("L\xE4nge\r\n\n"), (std::vector<std::string>{"L\xE4nge", ""}));
  // A first line ending with a lone carriage return makes every line end
  // count: carriage return, line feed or both. Otherwise a carriage return
  // stays inside its line.
  const std::vector<std::string> mac = {"a", "b", "c", "", "d"};
  EXPECT_EQ(SplitTextLines("a\rb\r\nc\n\rd"), mac);
  EXPECT_EQ(SplitTextLines(Utf16(u"a\rb\r\nc\n\rd", false)), mac);
  EXPECT_EQ(SplitTextLines("a\r\nb\rc\n"), (std::vector<std::string>{"a", "b\rc"}));
}

TEST_F(TextImport, UnknownColumnIsQuotedInPart) {
  const std::string field = std::string(200, 'N') + "\x01";
  ReadTableLines(store, {field + "\t\x02"}, prompter);
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Die Spalten " + std::string(80, 'N') +
                                                       "… und ? können nicht importiert werden."});
}

TEST_F(TextImport, NumbersOutOfBoundsRefuseTheirLine) {
  store.records.clear();
  const std::vector<std::string> lines = {
      "Punkt\tL\xE4nge\tAzimut\tX\tLinks",
      "1\t5\t10\t\t",
      "2\t1e308\t\t\t",  // refused: the next line goes on from point 1
      "3\t4\t\t\t",
      "4\t\t\t-1,5e7\t",
      "5\t\t\t\t-inf",
      "6\t\tnan\t\t",
      "7\t1e400\t\t\t",
      "8\t-1e7\t\t1e7\t0.1",  // the bounds themselves are taken
      "9\t\t\t\tinfo",        // "%lf" reads "inf" here too
  };
  EXPECT_TRUE(ReadTableLines(store, lines, prompter));
  std::vector<std::string> legs;
  for (const auto& r : store.records) {
    legs.push_back(std::string(base::TextOf(r->refPoint)) + ">" + std::string(base::TextOf(r->point)));
  }
  EXPECT_EQ(legs, (std::vector<std::string>{"0>1", "1>3", "3>8"}));
  EXPECT_EQ(store.records[2]->length, -1e7);
  EXPECT_EQ(store.records[2]->x, 1e7);
  EXPECT_EQ(prompter.Texts(),
            std::vector<std::string>{"Zeile 3: Der Wert \"1e308\" ist keine endliche Zahl oder liegt außerhalb von "
                                     "±10.000.000.\nDie Zeile wurde nicht importiert.\nWeitere 5 Zeilen mit solchen "
                                     "Werten wurden ebenfalls nicht importiert."});
}

TEST_F(TextImport, RecordLimitRefusesTheImport) {
  EXPECT_FALSE(Import(Put("zug.txt", kTable + "3\t1\n"), 2));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{messages::kTooManyRecords});
  EXPECT_EQ(store.records.size(), 1u);  // the document as it was
  EXPECT_TRUE(Import(Put("zug.txt", kTable), 2));
  EXPECT_EQ(Points(), (std::vector<std::string>{"1", "2"}));

  // Appending counts the records already there; the readers stop at the limit.
  EXPECT_FALSE(ImportTable(store, folder / "zug.txt", imports::TableImportMode::Append, prompter, 3));
  EXPECT_EQ(store.records.size(), 2u);
  doc::SurveyStore read;
  EXPECT_FALSE(ReadTableLines(read, {"Punkt", "1", "2", "3"}, prompter, 2));
  EXPECT_EQ(read.records.size(), 2u);
}

// Tables that give no record, or whose header names no known column, leave
// the document as it was, in either mode, with one message on what was found.
TEST_F(TextImport, TablesWithoutRecordsAreRefused) {
  std::string utf16, junk;
  for (const char c : kTable) utf16 += std::string{c, '\0'};
  for (int i = 1; i < 4096; ++i) junk += static_cast<char>(i * 7919 % 251);
  const struct {
    const char* name;
    std::string bytes;
    std::string found;
  } cases[] = {
      {"semicolon CSV", "Messpunkt;Distanz;Kurs\n1;5,2;120\n",
       "Gefunden: 3 Felder, getrennt durch Semikolon: \"Messpunkt\", \"Distanz\" und \"Kurs\"."},
      {"comma CSV", "Station,Distance\n1,5.2\n", "Gefunden: 2 Felder, getrennt durch Komma"},
      {"CR line ends", "Station\tDistanz\r1\t5\r2\t3\r",
       "Gefunden: 2 Felder, getrennt durch Tabulator: \"Station\" und \"Distanz\"."},
      {"UTF-16 without byte-order mark", utf16, "Gefunden: Nullbytes; die Datei ist in UTF-16 oder UTF-32"},
      {"header only", "Punkt\tL\xE4nge\r\n", "Die Tabelle ergibt keinen Datensatz. Sie hat nur die Kopfzeile."},
      {"binary junk", junk, "Die erste Zeile nennt keine bekannte Spalte."},
      {"every line refused", "Punkt\tL\xE4nge\n1\t1e99\n2\tnan\n",
       "Keine Zeile konnte übernommen werden.\nZeile 2: Der Wert \"1e99\""},
      {"no line with a value", "Punkt\tL\xE4nge\n\t\n\tx\n", "Keine ihrer 2 Zeilen enthält einen Wert"},
      {"empty", "", "\nDie Datei ist leer."},
  };
  base::SetText(store.records[0]->point, "Alt");
  for (const TableImportMode mode : {TableImportMode::Replace, TableImportMode::Append}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (mode == TableImportMode::Append ? " appended" : " replacing"));
      prompter.Clear();
      EXPECT_FALSE(ImportTable(store, Put("tabelle.txt", c.bytes), mode, prompter));
      ASSERT_EQ(prompter.Texts().size(), 1u);
      const std::string message = prompter.Texts()[0];
      EXPECT_NE(message.find(c.found), std::string::npos) << message;
      EXPECT_TRUE(message.ends_with("\nDer Datenimport wurde nicht durchgeführt.")) << message;
      EXPECT_EQ(Points(), std::vector<std::string>{"Alt"});
    }
  }
}

std::string Leg(const doc::SurveyRecord& r) {
  char length[32];
  std::snprintf(length, sizeof length, "%g", r.length);
  return std::string(base::TextOf(r.refPoint)) + ">" + std::string(base::TextOf(r.point)) + " " + length + " " +
         std::string(base::TextOf(r.description)) + "|" + std::string(base::TextOf(r.remark));
}

TEST_F(TextImport, SpreadsheetTablesAreImported) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> legs;
    std::string note;
    // clang-format off
  } cases[] = {
      {"semicolon CSV with decimal commas", "Punkt;L\xE4nge;Bezeichnung\r\n1;5,2;Halle\r\n2;3;\"Gang; eng\"\r\n",
       {"0>1 5.2 Halle|", "1>2 3 Gang; eng|"}, ""},
      {"comma CSV with a quoted decimal comma",
       "Punkt,L\xE4nge,Bezeichnung\n1,5.2,Halle\n2,\"3,5\",\"Halle \"\"Nord\"\"\"\n",
       {"0>1 5.2 Halle|", "1>2 3.5 Halle \"Nord\"|"}, ""},
      {"CR line ends", "Punkt\tL\xE4nge\r1\t5\r2\t3\r", {"0>1 5 |", "1>2 3 |"}, ""},
      {"quotes of a spreadsheet's tab text", "Punkt\tBezeichnung\n1\t\"Halle \"\"Nord\"\"\"\n2\t\"a\"b\"\n",
       {"0>1 0 Halle \"Nord\"|", "1>2 0 \"a\"b\"|"}, ""},
      {"a one-column table keeps its semicolons", "Punkt\nA;B\n", {"0>A;B 0 |"}, ""},
      {"control characters in texts become blanks",
       "Punkt\tBezeichnung\tBemerkung\n1\tHalle\rNord\tx\x01y\n2\tA\x7F\t\n",
       {"0>1 0 Halle Nord|x y", "1>2 0 A |"},
       "Steuerzeichen (etwa Zeilenumbrüche) in 3 Textfeldern wurden durch Leerzeichen ersetzt, zuerst in Zeile 2."},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompter.Clear();
    ASSERT_TRUE(Import(Put("tabelle.txt", c.bytes)));
    std::vector<std::string> legs;
    for (const auto& r : store.records) legs.push_back(Leg(*r));
    EXPECT_EQ(legs, c.legs);
    EXPECT_EQ(prompter.Texts(), c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
  }
}

// "Вход" and "Зала" have no Windows-1252 letters: both would become "????".
const std::string kEntrance = "\xD0\x92\xD1\x85\xD0\xBE\xD0\xB4";
const std::string kHall = "\xD0\x97\xD0\xB0\xD0\xBB\xD0\xB0";

TEST_F(TextImport, StationNamesTheConversionChanges) {
  ASSERT_TRUE(Import(Put("namen.txt", "Punkt\tL\xC3\xA4nge\n" + kEntrance + "\t5\nZ\xC3\xA4hne\t3\n")));
  EXPECT_EQ(Points(), (std::vector<std::string>{"????", "Z\xE4hne"}));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Windows-1252 kennt nicht alle Zeichen der Messpunktnamen. "
                                                       "In 1 Messpunktnamen wurden Zeichen durch \"?\" ersetzt "
                                                       "(В, х, о, д):\n\"Вход\" wird zu \"????\" (Zeile 2)."});

  // Two names made equal: the import asks, and only Yes takes the table.
  const std::string merged = Put("gleich.txt", "Punkt\tL\xC3\xA4nge\n" + kEntrance + "\t5\n" + kHall + "\t3\n");
  for (const auto answer : {platform::Answer::No, platform::Answer::Cancel, platform::Answer::Yes}) {
    store.SetDefaults();
    prompter.Clear();
    prompter.Script({answer});
    EXPECT_EQ(Import(merged), answer == platform::Answer::Yes);
    ASSERT_FALSE(prompter.Entries().empty());
    const auto& question = prompter.Entries().front();
    EXPECT_EQ(question.kind, platform::ScriptedPrompter::Kind::YesNoCancel);
    EXPECT_NE(question.text.find("\"Вход\" und \"Зала\" werden beide zu \"????\" (Zeile 3)"), std::string::npos);
    const std::vector<std::string> points =
        answer == platform::Answer::Yes ? std::vector<std::string>{"????", "????"} : std::vector<std::string>{""};
    EXPECT_EQ(Points(), points);
  }
}

TEST_F(TextImport, Utf8WithAFewMalformedBytesIsReadAsUtf8) {
  // The Windows-1252 "ß" is the one malformed byte among two UTF-8 letters.
  ASSERT_TRUE(
      Import(Put("u.txt", "H\xC3\xB6hle\tPunkt\tL\xC3\xA4nge\tBezeichnung\n1\t1\t5\tGro\xDF\n\t2\t3,5\tEnge\n")));
  std::vector<std::string> legs;
  for (const auto& r : store.records) legs.push_back(std::to_string(r->cave) + ":" + Leg(*r));
  EXPECT_EQ(legs, (std::vector<std::string>{"1:0>1 5 Gro?|", "1:1>2 3.5 Enge|"}));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Die Datei wurde als UTF-8 gelesen. 1 ungültiges Byte wurde "
                                                       "durch \"?\" ersetzt, in Zeile 2."});
  // A Windows-1252 table holds no UTF-8 sequence and stays what it is.
  prompter.Clear();
  ASSERT_TRUE(Import(Put("w.txt", "H\xF6hle\tL\xE4nge\n1\t5\n")));
  EXPECT_EQ(store.records[0]->cave, 1);
  EXPECT_EQ(store.records[0]->length, 5);
  EXPECT_TRUE(prompter.Entries().empty());
}

TEST_F(TextImport, MemoryBoundsTheRecords) {
  constexpr uint64_t kGiB = 1ULL << 30;
  EXPECT_EQ(RecordsForMemory(2 * kGiB), 0u);  // all of it is margin
  EXPECT_EQ(RecordsForMemory(2 * kGiB + 3 * kBytesPerRecord + 1), 3u);
  EXPECT_EQ(RecordsForMemory(16 * kGiB), 12 * kGiB / kBytesPerRecord);  // a quarter kept free
  EXPECT_EQ(GroupedNumber(1234567), "1.234.567");
  EXPECT_EQ(GroupedNumber(999), "999");

  const uint64_t memory = 2 * kGiB + 3 * kBytesPerRecord;
  EXPECT_FALSE(ImportTable(store, Put("zug.txt", kTable + "3\t1\n4\t1\n\n"), imports::TableImportMode::Replace,
                           prompter, kMaxDocumentRecords, memory));
  EXPECT_EQ(prompter.Texts(),
            std::vector<std::string>{"Nicht genügend Arbeitsspeicher.\nDas Dokument bräuchte 4 Datensätze, der "
                                     "Arbeitsspeicher dieses Rechners reicht für 3.\nDer Datenimport wurde nicht "
                                     "durchgeführt."});
  EXPECT_EQ(Points(), std::vector<std::string>{""});
  // Appending counts the records already there.
  EXPECT_FALSE(ImportTable(store, Put("zug.txt", kTable + "3\t1\n"), imports::TableImportMode::Append, prompter,
                           kMaxDocumentRecords, memory));
  EXPECT_TRUE(ImportTable(store, Put("zug.txt", kTable), imports::TableImportMode::Append, prompter,
                          kMaxDocumentRecords, memory));
  EXPECT_EQ(Points(), (std::vector<std::string>{"", "1", "2"}));
}

}  // namespace
}  // namespace hp::imports
