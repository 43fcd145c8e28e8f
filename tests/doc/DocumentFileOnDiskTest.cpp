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

TEST_F(DocumentFileOnDisk, SignatureMessagesByUse) {
  const auto path = dir / "kein.hpn";
  std::ofstream(path) << "Dies ist kein Dokument";
  const std::string invalid = "Diese Datei hat kein gültiges Dateiformat.";
  const std::pair<ReadMode, std::vector<std::string>> cases[] = {
      {ReadMode::Open, {invalid}},
      {ReadMode::ImportWhole, {invalid + "\nDer Datenimport wurde nicht durchgeführt."}},
      {ReadMode::Template, {invalid + "\nDer Datenimport wurde nicht durchgeführt."}},
      {ReadMode::Include, {}},
  };
  for (const auto& [mode, messages] : cases) EXPECT_EQ(Load(path, mode), messages);
}

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

// Only regular files are read: a FIFO, a device or a folder gives the message
// of a file that cannot be opened, at once, for every use.
TEST_F(DocumentFileOnDisk, NoRegularFileIsNeverRead) {
  const auto fifo = dir / "rohr.hpn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), dir.path()}) {
    SCOPED_TRACE(path.string());
    const std::pair<ReadMode, std::vector<std::string>> cases[] = {
        {ReadMode::Open, {"Fehler beim Öffnen des Dokuments."}},
        {ReadMode::ImportWhole, {path.string() + "\nDiese Datei kann nicht geöffnet werden."}},
        {ReadMode::Template, {path.string() + "\nDiese Datei kann nicht geöffnet werden."}},
        {ReadMode::Include, {}},
    };
    for (const auto& [mode, messages] : cases) EXPECT_EQ(Load(path, mode), messages);
  }
}

TEST_F(DocumentFileOnDisk, SaveFailsIntoAMissingFolder) {
  EXPECT_FALSE(SaveDocument(dir / "fehlt" / "x.hpn", *test::Survey("0 1 5 0 0")));
}

}  // namespace
}  // namespace hp::doc
