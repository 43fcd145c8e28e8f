// Reading and writing whole documents: round trips, version checks, the read
// modes and files no valid program wrote.
#include <gtest/gtest.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HP_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define HP_TEST_ASAN 1
#endif
#if HP_TEST_ASAN
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>

#include "base/FixedText.h"
#include "doc/DocTestSupport.h"
#include "doc/DocumentVersion.h"
#include "doc/RecordCodec.h"
#include "support/TestFile.h"

namespace hp::doc {
namespace {

using platform::Answer;
using test::ReadBody;
using test::TestFile;
using test::WriteBody;

// A store whose records, worksheets and settings hold non-default values in
// every field, reserved bytes included.
SurveyStore RichStore(int recordCount = 4) {
  SurveyStore store;
  store.SetDefaults();
  base::SetText(store.settings.title, "H\xF6hlenkataster");
  store.settings.loopAdjustment = 1;
  store.settings.reserved6[3] = 0x5A;
  store.settings.meridianConvergence = 1.25;
  store.records.clear();
  for (int i = 0; i < recordCount; ++i) {
    auto r = std::make_unique<SurveyRecord>();
    r->cave = 1, r->passage = 2, r->refCave = 1, r->refPassage = 2;
    base::SetText(r->point, std::to_string(i + 1));
    base::SetText(r->refPoint, std::to_string(i));
    r->length = 3.5 + i, r->azimuth = 10.0 * i, r->inclination = -5;
    r->reserved8[7] = 0x11;
    r->reserved7 = 0x22;
    r->crossSection.halfSize = 0.75;
    base::SetText(r->date, "24.12.2019");
    store.records.push_back(std::move(r));
  }
  auto second = std::make_unique<Worksheet>();
  InitWorksheet(*second);
  second->setSheetDesignation("Aufriss Nord");
  second->image[930] = 0x77;  // a byte no setting uses stays as it is
  for (int i = 0; i < 3; ++i) {
    auto p = std::make_unique<AnimationPosition>();
    p->azimuth = 30.0 * i, p->centreZ = -i;
    second->positions.push_back(std::move(p));
  }
  store.worksheets.push_back(std::move(second));
  store.SelectWorksheet(1);
  return store;
}

// The images of a store as the file holds them, without the parts that have
// no meaning in a file.
struct Images {
  std::array<uint8_t, kSettingsImageSize> settings{};
  std::vector<std::vector<uint8_t>> worksheets;
  std::vector<std::array<uint8_t, kRecordImageSize>> records;
};

Images ImagesOf(const SurveyStore& store) {
  Images images;
  EncodeSettings(store.settings, images.settings);
  for (const auto& ws : store.worksheets) {
    std::vector<uint8_t> bytes(ws->image.begin(), ws->image.end());
    std::memset(bytes.data() + 1776, 0, 4);  // the position list's slot
    for (const auto& p : ws->positions) {
      std::array<uint8_t, kPositionImageSize> image{};
      EncodePosition(*p, image);
      bytes.insert(bytes.end(), image.begin(), image.end());
    }
    images.worksheets.push_back(bytes);
  }
  for (const auto& r : store.records) {
    std::array<uint8_t, kRecordImageSize> image{};
    SurveyRecord copy = *r;
    copy.work = RecordWork{};
    EncodeRecord(copy, image);
    images.records.push_back(image);
  }
  return images;
}

class DocumentFileTest : public ::testing::Test {
 protected:
  ReadStatus Read(SurveyStore& store, const std::vector<uint8_t>& body, ReadMode mode = ReadMode::Open) {
    return ReadBody(store, body, mode, prompter, settings).status;
  }
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore settings;
};

TEST_F(DocumentFileTest, CurrentVersionRoundTripsByteForByte) {
  SurveyStore original = RichStore();
  const auto body = WriteBody(original);
  EXPECT_EQ(body.size(), 8 + 6740 + 2 * 2850 + 3 * 52 + 4 * 1446u);
  SurveyStore back;
  ASSERT_EQ(Read(back, body), ReadStatus::Ok);
  EXPECT_TRUE(prompter.Entries().empty());
  const Images a = ImagesOf(original), b = ImagesOf(back);
  EXPECT_EQ(a.settings, b.settings);
  EXPECT_EQ(a.worksheets, b.worksheets);
  EXPECT_EQ(a.records, b.records);
  EXPECT_EQ(back.currentWorksheet, back.worksheets[1].get());
  EXPECT_EQ(back.currentPosition, back.worksheets[1]->positions.back().get());
  EXPECT_FALSE(back.legacyConversion);
  EXPECT_EQ(WriteBody(back), body);
}

TEST_F(DocumentFileTest, BuildByteReadsWithoutConversionOrMessage) {
  SurveyStore original = RichStore();
  original.settings.computedCurrent = 1;
  auto body = WriteBody(original);
  base::StoreLE<uint32_t>(body, 0, 0x00220811);
  SurveyStore back;
  ASSERT_EQ(Read(back, body), ReadStatus::Ok);
  EXPECT_TRUE(prompter.Entries().empty());
  EXPECT_EQ(back.fileVersion, 0x00220811u);
  EXPECT_EQ(back.settings.computedCurrent, 1);
  EXPECT_EQ(ImagesOf(original).records, ImagesOf(back).records);
}

struct VersionCheckCase {
  const char* name;
  uint32_t version;
  ReadMode mode;
  bool betaOpen;
  ReadStatus status;
  const char* message;  // nullptr: none
  Answer answer = Answer::Ok;
};

TEST_F(DocumentFileTest, VersionChecks) {
  const char* kOld = messages::kMustConvert;
  const auto Open = ReadMode::Open, Whole = ReadMode::ImportWhole;
  const auto Ok = ReadStatus::Ok, Refused = ReadStatus::Refused, Unusable = ReadStatus::Unusable;
  const VersionCheckCase cases[] = {
      {"test build of current", 0x01220800, Open, false, Ok, nullptr},
      {"older test build", 0x01220700, Open, false, Unusable, messages::kOtherBeta},
      {"older test build, BetaOpen", 0x01220700, Open, true, Ok, kOld},
      {"beta 14.00", 0x00140000, Whole, false, Refused, messages::kOtherBeta},
      {"release 14.00 build 1", 0x00140001, Whole, false, Ok, nullptr},
      {"newer", 0x00230000, Open, false, ReadStatus::TooNew, messages::kNewerVersion},
      {"newer include", 0x00230000, ReadMode::Include, false, ReadStatus::TooNew, messages::kNewerVersion},
      {"newer import", 0x00230000, Whole, false, ReadStatus::TooNew, messages::kNewerVersion},
      {"older, opening asks", 0x00210000, Open, false, Ok, kOld},
      {"older, conversion cancelled", 0x00150000, Open, false, Unusable, kOld, Answer::Cancel},
      {"older, import silent", 0x00210000, Whole, false, Ok, nullptr},
      {"7.09 instrument import", 0x00070900, ReadMode::ImportInstruments, false, Refused, messages::kImportNeedsNewer},
      {"8.00 title import", 0x00080000, ReadMode::ImportTitle, false, Ok, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ScriptedPrompter p(c.answer);
    platform::MemorySettingsStore s;
    if (c.betaOpen) s.SetInt("Settings", "BetaOpen", 1);
    SurveyStore store = RichStore();
    const auto before = ImagesOf(store);
    TestFile file(c.version, 1, 2);
    EXPECT_EQ(ReadBody(store, file.Body(), c.mode, p, s).status, c.status);
    if (c.message) {
      ASSERT_EQ(p.Entries().size(), 1u);
      EXPECT_EQ(p.Entries()[0].text, c.message);
      EXPECT_EQ(p.Entries()[0].icon, platform::Icon::Exclamation);
      if (c.message == kOld) {
        EXPECT_EQ(p.Entries()[0].kind, platform::ScriptedPrompter::Kind::OkCancel);
      }
    } else {
      EXPECT_TRUE(p.Entries().empty());
    }
    if (c.status != ReadStatus::Ok) {
      const auto after = ImagesOf(store);
      EXPECT_EQ(before.settings, after.settings);
      EXPECT_EQ(before.records, after.records);
    }
  }
}

TEST_F(DocumentFileTest, IncludeInsertsAfterTarget) {
  SurveyStore store = RichStore(10);
  store.settings.recordCount = 10;
  const auto settingsBefore = ImagesOf(store).settings;
  SurveyStore include = RichStore(3);
  for (auto& r : include.records) base::SetText(r->remark, "aus Include");
  const auto body = WriteBody(include);
  const auto outcome = ReadBody(store, body, ReadMode::Include, prompter, settings, 5);
  ASSERT_EQ(outcome.status, ReadStatus::Ok);
  EXPECT_EQ(outcome.target, 8u);
  ASSERT_EQ(store.records.size(), 13u);
  EXPECT_EQ(store.settings.recordCount, 13u);
  for (size_t i = 0; i < 13; ++i) {
    const bool fromFile = i >= 5 && i < 8;
    EXPECT_EQ(store.records[i]->fromInclude, fromFile ? 1 : 0) << i;
    EXPECT_EQ(base::TextOf(store.records[i]->remark) == "aus Include", fromFile) << i;
  }
  EXPECT_EQ(base::TextOf(store.records[8]->point), "6");
  EXPECT_EQ(store.worksheets.size(), 2u);
  store.settings.recordCount = 10;
  EXPECT_EQ(ImagesOf(store).settings, settingsBefore);
}

TEST_F(DocumentFileTest, PartialImportsTakeExactlyTheirFields) {
  SurveyStore source;
  source.SetDefaults();
  DocumentSettings& s = source.settings;
  base::SetText(s.title, "Neu");
  base::SetText(s.title2, "Neu 2");
  base::SetText(s.descriptionText, "Text");
  base::SetText(s.cadastreDesignation, "1/5 Kat");
  base::SetText(s.utmBand, "T");
  s.cadastreNumber = 1234, s.utmZone = 33;
  s.fonts[2].height = -30, s.fontColours[4] = 1, s.lineColours[3] = 2, s.falseColours[0] = 3;
  s.backgroundColour = 4, s.pointColour = 5, s.frameColour = 6;
  s.instruments[15].declination = 2.5, s.instrumentSag[0] = 7, s.instrumentChange[3] = 0.5;
  base::SetText(s.instrumentNames[0], "DistoX");
  s.auxLineColour = 8, s.loopAdjustment = 0, s.meridianConvergence = 9;
  const auto body = WriteBody(source);

  const auto check = [&](ReadMode mode, auto&& expect) {
    SurveyStore store = RichStore();
    DocumentSettings wanted = store.settings;
    expect(wanted);
    ASSERT_EQ(Read(store, body, mode), ReadStatus::Ok);
    std::array<uint8_t, kSettingsImageSize> got{}, want{};
    EncodeSettings(store.settings, got);
    EncodeSettings(wanted, want);
    EXPECT_EQ(got, want);
    EXPECT_EQ(store.records.size(), 4u);
  };
  check(ReadMode::ImportFontsColours, [&](DocumentSettings& w) {
    std::memcpy(w.fonts, s.fonts, sizeof w.fonts);
    std::memcpy(w.fontColours, s.fontColours, sizeof w.fontColours);
    std::memcpy(w.lineColours, s.lineColours, sizeof w.lineColours);
    std::memcpy(w.falseColours, s.falseColours, sizeof w.falseColours);
    w.backgroundColour = 4, w.pointColour = 5, w.frameColour = 6;
  });
  check(ReadMode::ImportInstruments, [&](DocumentSettings& w) {
    for (int i = 1; i <= kInstrumentCount; ++i) SetInstrument(w, i, GetInstrument(s, i));
  });
  check(ReadMode::ImportTitle, [&](DocumentSettings& w) {
    std::memcpy(w.title, s.title, sizeof w.title);
    std::memcpy(w.title2, s.title2, sizeof w.title2);
    std::memcpy(w.descriptionText, s.descriptionText, sizeof w.descriptionText);
    std::memcpy(w.cadastreDesignation, s.cadastreDesignation, sizeof w.cadastreDesignation);
    std::memcpy(w.utmBand, s.utmBand, sizeof w.utmBand);
    w.cadastreNumber = 1234, w.utmZone = 33;
  });
}

TEST_F(DocumentFileTest, InstrumentImportOfVersion21TakesTheEightOldInstruments) {
  TestFile file(FormatVersion(21, 0), 1, 1);
  file.Settings<uint32_t>(2012 + 20 * 7, 1).Settings<double>(2012 + 20 * 7 + 4, 3.25);
  file.SettingsText(2172 + 16 * 7, "Alt 8").Settings<double>(2364 + 8 * 7, 1.5);
  file.Settings<double>(4358, 2.0).Settings<double>(4200 + 8 * 2, 1990.0);
  SurveyStore store = RichStore();
  ASSERT_EQ(Read(store, file.Body(), ReadMode::ImportInstruments), ReadStatus::Ok);
  const Instrument eight = GetInstrument(store.settings, 8);
  EXPECT_EQ(eight.name, "Alt 8");
  EXPECT_EQ(eight.azimuthUnit, 1u);
  EXPECT_EQ(eight.declination, 3.25);
  EXPECT_EQ(eight.sag, 1.5);
  EXPECT_EQ(GetInstrument(store.settings, 1).divider, 0);  // dividers came with 21.01
  EXPECT_EQ(GetInstrument(store.settings, 3).declinationYear, 1990.0);
  EXPECT_EQ(GetInstrument(store.settings, 9).name, "Ger\xE4t 9");
  EXPECT_EQ(GetInstrument(store.settings, 16).declination, 0);
}

TEST_F(DocumentFileTest, DocumentWithoutRecords) {
  SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  base::MemorySink sink;
  EXPECT_EQ(WriteDocument(store, sink), WriteStatus::EmptyList);
  EXPECT_EQ(base::LoadLE<uint32_t>(sink.data, 8 + 12), 0u);
  SurveyStore back;
  ASSERT_EQ(Read(back, sink.data), ReadStatus::Ok);
  EXPECT_TRUE(back.records.empty());
  EXPECT_EQ(back.worksheets.size(), 1u);
}

// Files no program version writes: refused before anything changes, or read
// as far as they go, never a crash and never memory the file cannot back.
TEST_F(DocumentFileTest, ImageSizesNoVersionWroteAreInvalid) {
  struct Case {
    const char* name;
    TestFile file;
  };
  const uint32_t v = kCurrentVersion;
  const Case cases[] = {
      {"settings", TestFile(v, 1, 1, 6741)},
      {"worksheet", TestFile(v, 1, 1, 6740, 2851)},
      {"record", TestFile(v, 1, 1, 6740, 2850, 1447)},
      {"zero-size worksheets", TestFile(v, 1, 1, 6740, 0)},
      {"1-byte worksheets", TestFile(v, 1, 1, 6740, 1)},
      {"worksheet below 924", TestFile(v, 1, 1, 6740, 923)},
      {"1-byte records", TestFile(v, 1, 1, 6740, 2850, 1)},
      {"record below 156", TestFile(v, 1, 1, 6740, 2850, 155)},
      {"position", TestFile(v, 1, 1).Sheet<uint32_t>(0, 1760, 53).Sheet<uint32_t>(0, 1764, 1)},
      {"1-byte positions", TestFile(v, 1, 1).Sheet<uint32_t>(0, 1760, 1).Sheet<uint32_t>(0, 1764, 1)},
      {"position below 52", TestFile(v, 1, 1).Sheet<uint32_t>(0, 1760, 51).Sheet<uint32_t>(0, 1764, 1)},
      {"old header record", TestFile::OldHeader(FormatVersion(3, 0), 1000, 2000, 1)},
      {"old header 1-byte records", TestFile::OldHeader(FormatVersion(1, 5), 1000, 1, 1)},
      {"old header 1-byte worksheet", TestFile::OldHeader(FormatVersion(1, 5), 1, 156, 1)},
      // From 2.07 on a record holds its level: 256 bytes at least.
      {"old header 3.00, 156-byte records", TestFile::OldHeader(FormatVersion(3, 0), 1000, 156, 1)},
      {"old header 2.07, 255-byte records", TestFile::OldHeader(FormatVersion(2, 7), 1000, 255, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyStore store = RichStore();
    const auto before = ImagesOf(store);
    for (ReadMode mode : {ReadMode::Open, ReadMode::ImportWhole, ReadMode::Include}) {
      EXPECT_EQ(Read(store, c.file.Body(), mode), ReadStatus::InvalidFormat);
    }
    EXPECT_EQ(ImagesOf(store).records, before.records);
    EXPECT_EQ(ImagesOf(store).worksheets, before.worksheets);
  }
}

// The smallest sizes that were written still read, and sizes of images that
// are not there do not matter.
TEST_F(DocumentFileTest, SmallestImageSizesStillRead) {
  struct Case {
    const char* name;
    TestFile file;
    size_t records;
  };
  const uint32_t v = kCurrentVersion;
  const Case cases[] = {
      {"924-byte worksheets, 156-byte records", TestFile(v, 2, 3, 6740, 924, 156), 3},
      {"1-byte record size without records", TestFile(v, 1, 0, 6740, 2850, 1), 0},
      {"1-byte position size without positions", TestFile(v, 1, 1).Sheet<uint32_t>(0, 1760, 1), 1},
      {"old header 1.05, 156-byte records", TestFile::OldHeader(FormatVersion(1, 5), 924, 156, 3), 3},
      {"old header 1.05, record size 0", TestFile::OldHeader(FormatVersion(1, 5), 924, 0, 0), 0},
      {"old header 2.07, 256-byte records", TestFile::OldHeader(FormatVersion(2, 7), 924, 256, 2), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyStore store;
    ASSERT_EQ(Read(store, c.file.Body(), ReadMode::ImportWhole), ReadStatus::Ok);
    EXPECT_EQ(store.records.size(), c.records);
  }
}

// Memory in use: the sanitizer's count of live heap bytes where it keeps the
// heap, else the resident pages once freed memory went back to the system
// (records come from chunks of their own, outside the heap's statistics).
size_t MemoryInUse() {
#if HP_TEST_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  ::malloc_trim(0);
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<size_t>(resident) * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
#endif
}

// Reading a file of N bytes takes no more than about 2·N plus the current
// size of each image the file holds; sizes no version wrote take nothing.
TEST_F(DocumentFileTest, MemoryStaysInProportionToTheFile) {
  constexpr size_t kSlack = 6 << 20;  // record memory comes in chunks of 2 MB
  struct Case {
    const char* name;
    TestFile file;
    bool valid;
  };
  const uint32_t v = kCurrentVersion;
  const auto positions = [](TestFile file) { return std::move(file.AddPositions(0, 60000)); };
  const Case cases[] = {
      {"smallest records", TestFile(v, 1, 20000, 6740, 2850, 156), true},
      {"smallest worksheets", TestFile(v, 2000, 0, 6740, 924), true},
      {"positions", positions(TestFile(v, 1, 0)), true},
      {"old header to the end", TestFile::OldHeader(FormatVersion(1, 5), 924, 156, 20000), true},
      {"1-byte records", TestFile(v, 1, 100'000, 6740, 2850, 1), false},
      {"1-byte worksheets", TestFile(v, 100'000, 0, 6740, 1), false},
      {"old header, 1-byte records", TestFile::OldHeader(FormatVersion(3, 0), 924, 1, 100'000), false},
  };
  double worst = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> body = c.file.Body();
    auto store = std::make_unique<SurveyStore>();
    const size_t before = MemoryInUse();
    const ReadStatus status = Read(*store, body);
    const size_t after = MemoryInUse();
    const size_t used = after > before ? after - before : 0;
    size_t images = 0, allowance = 2 * body.size() + kSlack;
    for (const auto& sheet : store->worksheets) {
      allowance += kWorksheetImageSize + sheet->positions.size() * kPositionImageSize;
      images += 1 + sheet->positions.size();
    }
    allowance += store->records.size() * kRecordImageSize;
    images += store->records.size();
    EXPECT_EQ(status, c.valid ? ReadStatus::Ok : ReadStatus::InvalidFormat);
    EXPECT_LE(used, allowance);
    if (c.valid) {
      EXPECT_GE(images, 2000u);
      worst = std::max(worst, static_cast<double>(used) / static_cast<double>(body.size()));
    } else {
      EXPECT_LT(used, size_t{1} << 20);
    }
  }
  RecordProperty("worst_bytes_per_file_byte", std::to_string(worst));
  std::printf("worst heap bytes per file byte: %.2f\n", worst);
}

// Each cut of a real document, at every byte: what is there is read, the
// user is told the file is incomplete, and nothing is read past the end (each
// prefix sits at the very end of its own heap block, where the address
// sanitizer sees any read beyond it).
TEST_F(DocumentFileTest, EveryPrefixReadsOrIsRefusedAndIsReportedIncomplete) {
  SurveyStore rich = RichStore(3);
  TestFile old = TestFile::OldHeader(FormatVersion(1, 5), 924, 156, 3);
  // Files before 4.01 have no record count: a cut between two records looks
  // like the file's end.
  const size_t oldRecordsAt = 8 + 924;
  const auto oldCutUnseen = [&](size_t length) { return length >= oldRecordsAt && (length - oldRecordsAt) % 156 == 0; };
  const std::pair<std::vector<uint8_t>, std::function<bool(size_t)>> documents[] = {
      {WriteBody(rich), [](size_t) { return false; }}, {old.Body(), oldCutUnseen}};
  for (const auto& [whole, cutUnseen] : documents) {
    for (size_t length = 0; length <= whole.size(); ++length) {
      SCOPED_TRACE(length);
      const std::unique_ptr<uint8_t[]> block(new uint8_t[length]);
      std::copy_n(whole.begin(), length, block.get());
      for (ReadMode mode : {ReadMode::Open, ReadMode::Include}) {
        SurveyStore store;
        store.records.push_back(std::make_unique<SurveyRecord>());  // one record of its own
        store.settings.recordCount = 1;
        platform::ScriptedPrompter p(Answer::Ok);
        base::MemorySource source(std::span<const uint8_t>(block.get(), length));
        size_t target = 0;
        ReadReport report;
        const ReadStatus status = ReadDocument(store, source, mode, target, p, settings, &report);
        if (status != ReadStatus::Ok) continue;
        ASSERT_EQ(report.incomplete, length < whole.size() && !cutUnseen(length));
        ASSERT_EQ(store.records.size(), store.settings.recordCount);
        ASSERT_LE(store.records.size(), 4u);
        if (report.incomplete) {
          ASSERT_FALSE(p.Texts().empty());
          ASSERT_EQ(p.Texts().back().rfind("Die Datei ist unvollständig", 0), 0u) << p.Texts().back();
        }
      }
    }
  }
}

TEST_F(DocumentFileTest, IncompleteFileReadsWhatIsThereAndSaysHowMuch) {
  SurveyStore original = RichStore(4);
  const auto whole = WriteBody(original);
  const size_t recordsAt = whole.size() - 4 * 1446;
  TestFile old = TestFile::OldHeader(FormatVersion(1, 5), 924, 156, 3);
  const auto oldBody = old.Body();
  const std::string incomplete = "Die Datei ist unvollständig: ihr Ende fehlt. Fehlende Angaben bleiben leer.";
  const auto records = [](int read, int of, bool lastCut = false) {
    return "Die Datei ist unvollständig: nur " + std::to_string(read) + " von " + std::to_string(of) +
           " Datensätzen konnten gelesen werden." +
           (lastCut ? "\nDem letzten davon fehlt sein Ende; die fehlenden Angaben bleiben leer." : "");
  };
  const std::string lastCut =
      "Die Datei ist unvollständig: dem letzten Datensatz fehlt sein Ende; die fehlenden Angaben bleiben leer.";
  struct Case {
    const char* name;
    std::vector<uint8_t> body;
    ReadMode mode;
    size_t records;
    std::string message;  // empty: none
  };
  const auto cut = [](std::vector<uint8_t> body, size_t size) {
    body.resize(size);
    return body;
  };
  SurveyStore empty;
  empty.SetDefaults();
  empty.records.clear();
  const auto emptyBody = WriteBody(empty);
  const Case cases[] = {
      {"whole file", whole, ReadMode::Open, 4, ""},
      {"last byte missing", cut(whole, whole.size() - 1), ReadMode::Open, 4, lastCut},
      {"third record cut, fourth missing", cut(whole, whole.size() - 1446 - 700), ReadMode::Open, 3,
       records(3, 4, true)},
      {"after the second record", cut(whole, recordsAt + 2 * 1446), ReadMode::Open, 2, records(2, 4)},
      {"inside a position", cut(whole, recordsAt - 10), ReadMode::Open, 0, records(0, 4)},
      {"include file", cut(whole, recordsAt + 1446), ReadMode::Include, 5, records(1, 4)},
      {"old header, last record cut", cut(oldBody, oldBody.size() - 1), ReadMode::ImportWhole, 3, lastCut},
      {"instruments from a cut block", cut(whole, 8 + 5000), ReadMode::ImportInstruments, 4, incomplete},
      {"worksheet cut, no records", cut(emptyBody, 8 + 6740 + 100), ReadMode::Open, 0, incomplete},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyStore store = c.mode == ReadMode::Open ? SurveyStore() : RichStore(4);
    platform::ScriptedPrompter p;
    base::MemorySource source(c.body);
    size_t target = 4;
    ReadReport report;
    ASSERT_EQ(ReadDocument(store, source, c.mode, target, p, settings, &report), ReadStatus::Ok);
    EXPECT_EQ(store.records.size(), c.records);
    EXPECT_EQ(report.incomplete, !c.message.empty());
    EXPECT_EQ(p.Texts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    if (!p.Entries().empty()) {
      EXPECT_EQ(p.Entries()[0].icon, platform::Icon::Exclamation);
    }
  }
  // What was read of a cut record keeps its bytes; the rest is zero.
  SurveyStore back;
  ASSERT_EQ(Read(back, cut(whole, whole.size() - 1446 - 700)), ReadStatus::Ok);
  EXPECT_EQ(back.settings.recordCount, 3u);
  EXPECT_EQ(base::TextOf(back.records[2]->point), "3");
  EXPECT_EQ(back.records[2]->altCoords[0], 0);
}

TEST_F(DocumentFileTest, HugeCountsAllocateOnlyWhatTheFileHolds) {
  TestFile file(kCurrentVersion, 1, 2);
  file.Settings<uint32_t>(4, 0xFFFFFFFF).Settings<uint32_t>(12, 0xFFFFFFFF);
  file.Sheet<uint32_t>(0, 1760, 52).Sheet<uint32_t>(0, 1764, 0xFFFFFFF0);
  SurveyStore back;
  // The positions swallow the record bytes; no record, one worksheet.
  ASSERT_EQ(Read(back, file.Body()), ReadStatus::Ok);
  EXPECT_EQ(back.worksheets.size(), 1u);
  EXPECT_EQ(back.worksheets[0]->positions.size(), 2 * 1446 / 52 + 1);
  EXPECT_EQ(back.records.size(), 0u);
}

TEST_F(DocumentFileTest, FileWithoutWorksheetIsInvalidForWholeDocuments) {
  const TestFile file(kCurrentVersion, 0, 2);
  for (ReadMode mode : {ReadMode::Open, ReadMode::ImportWhole, ReadMode::Template}) {
    SurveyStore store = RichStore();
    EXPECT_EQ(Read(store, file.Body(), mode), ReadStatus::InvalidFormat);
    EXPECT_EQ(store.records.size(), 4u);
  }
  SurveyStore store = RichStore();
  EXPECT_EQ(ReadBody(store, file.Body(), ReadMode::Include, prompter, settings, 4).status, ReadStatus::Ok);
  EXPECT_EQ(store.records.size(), 6u);
}

}  // namespace
}  // namespace hp::doc
