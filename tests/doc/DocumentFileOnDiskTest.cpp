// Documents on disk: what each use of a file says when it is no document,
// is missing or is no regular file, and saving into a missing folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "doc/DocumentFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::doc {
namespace {

class DocumentFileOnDisk : public ::testing::Test {
 protected:
  // Loads `path` into a store of four records and returns the messages; the
  // records must stay.
  std::vector<std::string> Load(const std::filesystem::path& path, ReadMode mode) {
    const auto store = test::Survey("0 1 5 0 0\n1 2 5 0 0\n2 3 5 0 0\n3 4 5 0 0");
    platform::ScriptedPrompter prompter;
    size_t target = 2;
    EXPECT_EQ(LoadDocument(path, *store, mode, target, prompter, settings), ReadStatus::InvalidFormat);
    EXPECT_EQ(store->records.size(), 4u);
    return prompter.Texts();
  }
  test::TempFolder dir{"hp_doc"};
  platform::MemorySettingsStore settings;
};

TEST_F(DocumentFileOnDisk, MissingFileMessagesByUse) {
  const auto path = dir / "fehlt.hpn";
  size_t target = 0;
  SurveyStore store;
  platform::ScriptedPrompter p;
  LoadDocument(path, store, ReadMode::ImportWhole, target, p, settings);
  LoadDocument(path, store, ReadMode::Include, target, p, settings);
  LoadDocument(path, store, ReadMode::Open, target, p, settings);
  EXPECT_EQ(p.Texts(), (std::vector<std::string>{path.string() + "\nDiese Datei kann nicht geöffnet werden.",
                                                 "Fehler beim Öffnen des Dokuments."}));
}

// Each use of a file that is no document, or no regular file (a FIFO, a
// device or a folder: never read, at once), says so in its own words; an
// include says nothing.
TEST_F(DocumentFileOnDisk, MessagesByUse) {
  const auto notADocument = dir / "kein.hpn", fifo = dir / "rohr.hpn";
  std::ofstream(notADocument) << "Dies ist kein Dokument";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string invalid = "Diese Datei hat kein gültiges Dateiformat.";
  for (const std::filesystem::path& path : {notADocument, fifo, std::filesystem::path("/dev/zero"), dir.path()}) {
    SCOPED_TRACE(path.string());
    const bool document = path == notADocument;
    const std::string open = document ? invalid : "Fehler beim Öffnen des Dokuments.";
    const std::string import = document ? invalid + "\nDer Datenimport wurde nicht durchgeführt."
                                        : path.string() + "\nDiese Datei kann nicht geöffnet werden.";
    EXPECT_EQ(Load(path, ReadMode::Open), std::vector<std::string>{open});
    EXPECT_EQ(Load(path, ReadMode::ImportWhole), std::vector<std::string>{import});
    EXPECT_EQ(Load(path, ReadMode::Template), std::vector<std::string>{import});
    EXPECT_TRUE(Load(path, ReadMode::Include).empty());
  }
}

TEST_F(DocumentFileOnDisk, SaveFailsIntoAMissingFolder) {
  EXPECT_FALSE(SaveDocument(dir / "fehlt" / "x.hpn", *test::Survey("0 1 5 0 0")));
}

}  // namespace
}  // namespace hp::doc
