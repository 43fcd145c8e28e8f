// Fuzzes the document reader: the input is a document file after its
// signature. Every read mode reads it into a small document; a refused or
// invalid file must leave that document byte for byte as it was, and a file
// that opens must save and open again to the same bytes. Opening an input of
// N bytes may take no more heap than about 2·N plus the current size of each
// image, and no more images than N bytes of the smallest images can hold.
#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "doc/RecordCodec.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

using namespace hp;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "document reader fuzz: %s\n", what);
  std::abort();
}

// The document the file is read into: defaults, a second worksheet with a
// position, and a short chain of legs.
std::unique_ptr<doc::SurveyStore> SmallDocument() {
  auto store = std::make_unique<doc::SurveyStore>();
  store->SetDefaults();
  auto sheet = std::make_unique<doc::Worksheet>();
  doc::InitWorksheet(*sheet);
  sheet->setSheetDesignation("Aufriss");
  sheet->positions.push_back(std::make_unique<doc::AnimationPosition>());
  store->worksheets.push_back(std::move(sheet));
  for (int i = 1; i <= 4; ++i) {
    auto r = std::make_unique<doc::SurveyRecord>();
    r->cave = r->refCave = 1;
    r->passage = r->refPassage = 1;
    base::SetText(r->refPoint, std::to_string(i - 1));
    base::SetText(r->point, std::to_string(i));
    r->length = 5.0 * i;
    r->azimuth = 30.0 * i;
    store->records.push_back(std::move(r));
  }
  store->settings.recordCount = static_cast<uint32_t>(store->records.size());
  store->settings.worksheetCount = static_cast<uint32_t>(store->worksheets.size());
  return store;
}

std::vector<uint8_t> Image(doc::SurveyStore& store) {
  base::MemorySink sink;
  if (doc::WriteDocument(store, sink) == doc::WriteStatus::IoError) Fail("writing to memory failed");
  return sink.data;
}

doc::ReadStatus Read(doc::SurveyStore& store, std::span<const uint8_t> bytes, doc::ReadMode mode, size_t& target,
                     bool betaOpen, platform::Answer answer) {
  base::MemorySource source(bytes);
  platform::ScriptedPrompter prompter(answer);
  platform::MemorySettingsStore settings;
  if (betaOpen) settings.SetInt("Settings", "BetaOpen", 1);
  return doc::ReadDocument(store, source, mode, target, prompter, settings);
}

// What a successful read promises about the store.
void CheckConsistent(const doc::SurveyStore& store) {
  if (store.worksheets.empty()) Fail("a read document has no worksheet");
  if (store.IndexOf(store.currentWorksheet) < 0) Fail("the current worksheet is not in the list");
  if (store.settings.recordCount != store.records.size()) Fail("recordCount differs from the records");
  if (store.settings.worksheetCount != store.worksheets.size()) Fail("worksheetCount differs from the worksheets");
}

// A document that opened must save and open again, unchanged.
void CheckRoundTrip(doc::SurveyStore& opened) {
  const std::vector<uint8_t> saved = Image(opened);
  doc::SurveyStore reopened;
  size_t target = 0;
  if (Read(reopened, saved, doc::ReadMode::Open, target, false, platform::Answer::Cancel) != doc::ReadStatus::Ok) {
    Fail("a saved document does not open again");
  }
  CheckConsistent(reopened);
  if (Image(reopened) != saved) Fail("a saved document opens with other content");
}

// Everything the store holds, image by image, without the writer's side
// effects and its large batch buffer (which makes each run slow under the
// sanitizers).
std::vector<uint8_t> Snapshot(const doc::SurveyStore& store) {
  size_t size = 8 + doc::kSettingsImageSize + 1 + store.records.size() * doc::kRecordImageSize;
  for (const auto& sheet : store.worksheets) {
    size += doc::kWorksheetImageSize + sheet->positions.size() * doc::kPositionImageSize;
  }
  std::vector<uint8_t> out(8 + doc::kSettingsImageSize);
  out.reserve(size);
  base::StoreLE<uint32_t>(out, 0, store.fileVersion);
  base::StoreLE<uint32_t>(out, 4, store.settingsSize);
  doc::EncodeSettings(store.settings,
                      std::span<uint8_t, doc::kSettingsImageSize>(out.data() + 8, doc::kSettingsImageSize));
  std::array<uint8_t, doc::kRecordImageSize> image{};
  for (const auto& sheet : store.worksheets) {
    out.insert(out.end(), sheet->image.begin(), sheet->image.end());
    for (const auto& position : sheet->positions) {
      doc::EncodePosition(*position,
                          std::span<uint8_t, doc::kPositionImageSize>(image.data(), doc::kPositionImageSize));
      out.insert(out.end(), image.begin(), image.begin() + doc::kPositionImageSize);
    }
  }
  for (const auto& record : store.records) {
    doc::EncodeRecord(*record, image);
    out.insert(out.end(), image.begin(), image.end());
  }
  out.push_back(static_cast<uint8_t>(store.IndexOf(store.currentWorksheet)));
  return out;
}

// The smallest images a valid file holds; an input can hold no more images
// than its bytes of these.
constexpr size_t kSmallestRecord = 156;
constexpr size_t kSmallestWorksheet = 924;
constexpr size_t kSmallestPosition = doc::kPositionImageSize;
// What the store and the reader hold besides the images.
constexpr size_t kFixedHeap = 64 << 10;

// The largest heap per input byte seen for inputs of 64 KiB and more.
double g_worstRatio = 0;

void PrintWorstRatio() {
  if (g_worstRatio > 0)
    std::fprintf(stderr, "document reader fuzz: worst heap bytes per input byte %.2f\n", g_worstRatio);
}

// Holds an opened store to the memory bound.
void CheckMemory(const doc::SurveyStore& store, size_t inputSize, size_t heapBytes) {
  size_t worksheets = store.worksheets.size(), positions = 0;
  for (const auto& sheet : store.worksheets) positions += sheet->positions.size();
  const size_t records = store.records.size();
  const size_t fileSize = inputSize + 4;  // with the signature
  if (records > fileSize / kSmallestRecord + 1) Fail("more records than the file can hold");
  if (worksheets > fileSize / kSmallestWorksheet + 1) Fail("more worksheets than the file can hold");
  if (positions > fileSize / kSmallestPosition + 1) Fail("more positions than the file can hold");
  const size_t allowance = 2 * fileSize + kFixedHeap + records * doc::kRecordImageSize +
                           worksheets * doc::kWorksheetImageSize + positions * doc::kPositionImageSize;
  if (heapBytes > allowance) Fail("reading took more memory than the file can account for");
  if (fileSize >= kFixedHeap) {
    g_worstRatio = std::max(g_worstRatio, static_cast<double>(heapBytes) / static_cast<double>(fileSize));
  }
}

void ReadInMode(std::span<const uint8_t> bytes, doc::ReadMode mode, bool betaOpen, platform::Answer answer) {
  const size_t heapBefore = __sanitizer_get_current_allocated_bytes();
  auto store = SmallDocument();
  const std::vector<uint8_t> before = Snapshot(*store);
  size_t target = 2;
  const doc::ReadStatus status = Read(*store, bytes, mode, target, betaOpen, answer);
  if (mode == doc::ReadMode::Open && status == doc::ReadStatus::Ok) {
    // Everything the opened document holds (the small one it replaced is gone).
    const size_t after = __sanitizer_get_current_allocated_bytes();
    CheckMemory(*store, bytes.size(), after > heapBefore ? after - heapBefore : 0);
  }
  if (status != doc::ReadStatus::Ok) {
    if (Snapshot(*store) != before) Fail("a refused file changed the document");
    return;
  }
  CheckConsistent(*store);
  if (mode == doc::ReadMode::Include && target > store->records.size()) Fail("include target past the end");
  if (mode == doc::ReadMode::Open) CheckRoundTrip(*store);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(PrintWorstRatio);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  for (int mode = 0; mode <= 6; ++mode) {
    ReadInMode(bytes, static_cast<doc::ReadMode>(mode), true, platform::Answer::Ok);
  }
  // Without "BetaOpen", and declining the conversion of an older file.
  ReadInMode(bytes, doc::ReadMode::Open, false, platform::Answer::Cancel);
  return 0;
}
