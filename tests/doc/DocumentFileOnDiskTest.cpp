// Documents on disk: what each use of a file says when it is no document,
// is missing or is no regular file, and saving into a missing folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <fstream>

#include "base/ByteStream.h"
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

// More records than the file reader's buffer holds, some carrying bytes in
// their spare area: read back from disk in place, they write the same bytes;
// cut inside the last record, the file reads as far as it goes; a read told
// to stop leaves the store as it was.
TEST_F(DocumentFileOnDisk, LargeFileReadsInPlaceAndStopsWhenTold) {
  constexpr size_t kRecords = 4200;
  const auto store = test::Survey("0 1 5 0 0");
  std::array<uint8_t, 288> spare{};
  spare[17] = 0x5A;
  store->records[0]->work.reserved.Assign(spare.data());
  while (store->records.size() < kRecords) {
    // Every seventh record is a copy of the first, spare bytes and all.
    const SurveyRecord& model = store->records.size() % 7 == 0 ? *store->records[0] : SurveyRecord{};
    store->records.push_back(std::make_unique<SurveyRecord>(model));
    std::snprintf(store->records.back()->point, sizeof store->records.back()->point, "%zu", store->records.size());
  }
  const auto path = dir / "gross.hpn";
  ASSERT_TRUE(SaveDocument(path, *store));
  auto bytesOf = [](SurveyStore& s) {
    base::MemorySink sink;
    WriteDocument(s, sink);
    return sink.data;
  };
  platform::ScriptedPrompter prompter;
  size_t target = 0;
  SurveyStore read;
  ASSERT_EQ(LoadDocument(path, read, ReadMode::Open, target, prompter, settings), ReadStatus::Ok);
  EXPECT_EQ(bytesOf(read), bytesOf(*store));
  EXPECT_TRUE(read.records[7]->work.reserved.any());
  EXPECT_FALSE(read.records[1]->work.reserved.any());

  ReadProgress stop;
  stop.cancelled = true;
  EXPECT_EQ(LoadDocument(path, read, ReadMode::Open, target, prompter, settings, nullptr, &stop),
            ReadStatus::Cancelled);
  EXPECT_EQ(read.records.size(), kRecords);
  EXPECT_EQ(stop.recordsExpected, kRecords);

  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 700);
  ReadReport report;
  ASSERT_EQ(LoadDocument(path, read, ReadMode::Open, target, prompter, settings, &report), ReadStatus::Ok);
  EXPECT_TRUE(report.incomplete);
  EXPECT_EQ(report.recordsRead, kRecords);
  EXPECT_EQ(report.recordsComplete, kRecords - 1);
  EXPECT_EQ(read.records.back()->work.successor, 0);
}

}  // namespace
}  // namespace hp::doc
