// The text import's file handling: what is opened, what is too large, how
// UTF-16 is read, numbers out of bounds and the record limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "import/ImportLimits.h"
#include "import/TableColumns.h"
#include "import/TextFile.h"
#include "import/TextImport.h"

namespace hp::imports {
namespace {

namespace fs = std::filesystem;

class TextImport : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("hp_text_import_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    store.SetDefaults();  // one record
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Put(const std::string& name, const std::string& bytes, uint64_t size = 0) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    if (size) fs::resize_file(path, size);  // sparse: no disk space taken
    return path.string();
  }

  // Imports in mode 0; a file that blocks the reader ends the test program.
  bool Import(const std::string& path, size_t maxRecords = kMaxDocumentRecords) {
    ::alarm(30);
    const bool ok = ImportTable(store, path, 0, prompter, maxRecords);
    ::alarm(0);
    return ok;
  }

  std::vector<std::string> Points() const {
    std::vector<std::string> points;
    for (const auto& r : store.records) points.emplace_back(base::TextOf(r->point));
    return points;
  }

  fs::path folder;
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
      {csv, csv + "\nDiese Datei hat keine gültiges Dateierweiterung."},
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
}

TEST_F(TextImport, UnknownColumnIsQuotedInPart) {
  const std::string field = std::string(200, 'N') + "\x01";
  ReadTableLines(store, {field + "\t\x02"}, prompter);
  EXPECT_EQ(prompter.Texts(),
            (std::vector<std::string>{"Die Spalte " + std::string(80, 'N') + "… kann nicht importiert werden.",
                                      "Die Spalte ? kann nicht importiert werden."}));
}

TEST_F(TextImport, NumbersOutOfBoundsRefuseTheirLine) {
  store.records.clear();
  const std::vector<std::string> lines = {
      "Punkt\tL\xE4nge\tAzimut\tX\tLinks",
      "1\t5\t10\t\t",
      "2\t1e308\t\t\t",       // refused: the next line goes on from point 1
      "3\t4\t\t\t",
      "4\t\t\t-1,5e7\t",
      "5\t\t\t\t-inf",
      "6\t\tnan\t\t",
      "7\t1e400\t\t\t",
      "8\t-1e7\t\t1e7\t0.1",  // the bounds themselves are taken
      "9\t\t\t\tinfo",       // "%lf" reads "inf" here too
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
  EXPECT_FALSE(ImportTable(store, folder / "zug.txt", 1, prompter, 3));
  EXPECT_EQ(store.records.size(), 2u);
  doc::SurveyStore read;
  EXPECT_FALSE(ReadTableLines(read, {"Punkt", "1", "2", "3"}, prompter, 2));
  EXPECT_EQ(read.records.size(), 2u);
}

}  // namespace
}  // namespace hp::imports
