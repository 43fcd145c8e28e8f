// Writing documents in the current version, and the file-level load and save
// with the signature and the callers' messages.
#include <array>

#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "doc/DocumentVersion.h"
#include "doc/RecordCodec.h"

namespace hp::doc {

WriteStatus WriteDocument(SurveyStore& store, base::ByteSink& sink, WriteMode mode) {
  store.fileVersion = kCurrentVersion;
  store.settingsSize = kSettingsImageSize;
  std::array<uint8_t, 8> header{};
  base::StoreLE<uint32_t>(header, 0, store.fileVersion);
  base::StoreLE<uint32_t>(header, 4, store.settingsSize);
  if (!sink.Write(header)) return WriteStatus::IoError;

  DocumentSettings& s = store.settings;
  s.worksheetSize = kWorksheetImageSize;
  s.worksheetCount = static_cast<uint32_t>(store.worksheets.size());
  s.recordSize = kRecordImageSize;
  s.recordCount = static_cast<uint32_t>(store.records.size());
  std::array<uint8_t, kSettingsImageSize> block{};
  EncodeSettings(s, block);
  if (!sink.Write(block)) return WriteStatus::IoError;

  std::array<uint8_t, kPositionImageSize> positionImage{};
  for (auto& worksheet : store.worksheets) {
    worksheet->setPositionSize(kPositionImageSize);
    worksheet->setPositionCount(static_cast<uint32_t>(worksheet->positions.size()));
    if (!sink.Write(worksheet->image)) return WriteStatus::IoError;
    for (const auto& position : worksheet->positions) {
      EncodePosition(*position, positionImage);
      if (!sink.Write(positionImage)) return WriteStatus::IoError;
    }
  }
  if (store.worksheets.empty()) return WriteStatus::EmptyList;

  // Records go out in batches so each write hands the sink a large block.
  constexpr size_t kBatch = 64;
  std::vector<uint8_t> batch(kBatch * kRecordImageSize);
  size_t filled = 0;
  for (const auto& record : store.records) {
    auto image = std::span<uint8_t, kRecordImageSize>(batch.data() + filled * kRecordImageSize, kRecordImageSize);
    if (mode == WriteMode::IncludesAsOrdinary && (record->fromInclude || record->includeFile[0])) {
      SurveyRecord copy = *record;
      base::SetText(copy.includeFile, "");
      copy.fromInclude = 0;
      EncodeRecord(copy, image);
    } else {
      EncodeRecord(*record, image);
    }
    if (++filled == kBatch) {
      if (!sink.Write(batch)) return WriteStatus::IoError;
      filled = 0;
    }
  }
  if (filled && !sink.Write(std::span<const uint8_t>(batch).first(filled * kRecordImageSize))) {
    return WriteStatus::IoError;
  }
  return store.records.empty() ? WriteStatus::EmptyList : WriteStatus::Ok;
}

FileUse UseOfMode(ReadMode mode) {
  switch (mode) {
    case ReadMode::Open: return FileUse::Open;
    case ReadMode::Template: return FileUse::Template;
    case ReadMode::Include: return FileUse::Include;
    default: return FileUse::Import;
  }
}

namespace {
void ReportInvalid(FileUse use, platform::Prompter& prompter) {
  if (use == FileUse::Include) return;
  std::string text = messages::kInvalidFormat;
  if (use != FileUse::Open) text += messages::kImportNotDone;
  prompter.Message(text, platform::Icon::Exclamation);
}
}  // namespace

ReadStatus LoadDocument(const std::filesystem::path& path, SurveyStore& store, ReadMode mode, size_t& target,
                        platform::Prompter& prompter, const platform::SettingsStore& settings, ReadReport* report,
                        ReadProgress* progress) {
  if (report) *report = ReadReport{};
  const FileUse use = UseOfMode(mode);
  // Only a regular file opens: a FIFO, a device or a folder is reported like
  // a file that cannot be opened, never read.
  base::FileSource source(path);
  if (!source.IsOpen()) {
    if (use == FileUse::Open) {
      prompter.Message(messages::kOpenFailed, platform::Icon::Exclamation);
    } else if (use != FileUse::Include) {
      prompter.Message(path.string() + messages::kCannotOpen, platform::Icon::Exclamation);
    }
    return ReadStatus::InvalidFormat;
  }
  std::array<uint8_t, 4> signature{};
  if (source.Read(signature) != signature.size() || !std::equal(signature.begin(), signature.end(), kSignature)) {
    ReportInvalid(use, prompter);
    return ReadStatus::InvalidFormat;
  }
  const ReadStatus status = ReadDocument(store, source, mode, target, prompter, settings, report, progress);
  if (status == ReadStatus::InvalidFormat) ReportInvalid(use, prompter);
  return status;
}

bool SaveDocument(const std::filesystem::path& path, SurveyStore& store, WriteMode mode) {
  return base::WriteFileAtomically(path, [&](base::ByteSink& sink) {
    const auto signature = std::span(reinterpret_cast<const uint8_t*>(kSignature), sizeof kSignature);
    return sink.Write(signature) && WriteDocument(store, sink, mode) != WriteStatus::IoError;
  });
}

}  // namespace hp::doc
