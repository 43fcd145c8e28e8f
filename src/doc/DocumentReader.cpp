// Reading documents of every format version into the store.
#include <array>
#include <cstring>
#include <vector>

#include "doc/DocumentConversions.h"
#include "doc/DocumentFile.h"
#include "doc/DocumentVersion.h"
#include "doc/RecordCodec.h"

namespace hp::doc {
namespace {

constexpr uint32_t kOldHeaderBefore = FormatVersion(4, 1);
constexpr uint32_t kLegacyFontsBefore = FormatVersion(7, 0);
constexpr uint32_t kLegacyFlagBefore = FormatVersion(7, 3);
constexpr uint32_t kPartialImportFrom = FormatVersion(8, 0);
constexpr uint32_t kOldRecordSize = 156;

bool ReplacesStore(ReadMode mode) {
  return mode == ReadMode::Open || mode == ReadMode::ImportWhole || mode == ReadMode::Template;
}

bool TakesSettingsOnly(ReadMode mode) {
  return mode == ReadMode::ImportFontsColours || mode == ReadMode::ImportInstruments ||
         mode == ReadMode::ImportTitle;
}

// Reads one image of `size` bytes into the zero-filled `buffer`. Returns
// false when the source was already at its end (the image is not created);
// an image the end of the file cuts keeps zeros for what is missing.
bool ReadImage(base::ByteSource& source, std::span<uint8_t> buffer, size_t size) {
  std::fill(buffer.begin(), buffer.end(), 0);
  const size_t got = source.Read(buffer.first(size));
  return got > 0;
}

// The header and sizes of the file being read.
struct FileLayout {
  uint32_t version = 0;
  uint32_t settingsSize = 0;
  bool oldHeader = false;
};

class Reader {
 public:
  Reader(base::ByteSource& source, ReadMode mode, platform::Prompter& prompter,
         const platform::SettingsStore& settings)
      : m_source(source), m_mode(mode), m_prompter(prompter), m_settings(settings) {}

  ReadStatus Run(SurveyStore& store, size_t& target);

 private:
  ReadStatus Refuse(const char* message) {
    m_prompter.Message(message, platform::Icon::Exclamation);
    return (m_mode == ReadMode::Open || m_mode == ReadMode::Template) ? ReadStatus::Unusable
                                                                       : ReadStatus::Refused;
  }
  ReadStatus CheckVersion();
  bool ReadSettingsBlock();
  bool ReadWorksheets();
  bool ReadRecords();
  void Commit(SurveyStore& store, size_t& target);

  base::ByteSource& m_source;
  ReadMode m_mode;
  platform::Prompter& m_prompter;
  const platform::SettingsStore& m_settings;

  FileLayout m_layout;
  DocumentSettings m_block;  // the file's settings block
  std::vector<std::unique_ptr<Worksheet>> m_worksheets;
  std::vector<std::unique_ptr<SurveyRecord>> m_records;
};

ReadStatus Reader::CheckVersion() {
  const uint32_t v = ClearedVersion(m_layout.version);
  const uint32_t full = FullVersion(m_layout.version);
  if (TakesSettingsOnly(m_mode) && v < kPartialImportFrom) {
    m_prompter.Message(messages::kImportNeedsNewer, platform::Icon::Exclamation);
    return ReadStatus::Refused;
  }
  if (v > kCurrentVersion) return Refuse(messages::kNewerVersion);
  const bool beta = full == 0x00140000 || (m_layout.version & kTestBuildBit) != 0;
  if (beta && full != kCurrentVersion && m_settings.GetInt("Settings", "BetaOpen", 0) == 0) {
    return Refuse(messages::kOtherBeta);
  }
  return ReadStatus::Ok;
}

bool Reader::ReadSettingsBlock() {
  std::array<uint8_t, kSettingsImageSize> image{};
  if (m_layout.oldHeader) {
    // u32 version, i16 worksheet size, i16 record size; no settings block.
    const auto worksheetSize = static_cast<int16_t>(m_layout.settingsSize & 0xFFFF);
    const auto recordSize = static_cast<int16_t>(m_layout.settingsSize >> 16);
    DecodeSettings(image, m_block);
    if (worksheetSize < 0 || recordSize < 0) return false;
    m_block.worksheetSize = static_cast<uint32_t>(worksheetSize);
    m_block.recordSize = static_cast<uint32_t>(recordSize);
    m_block.worksheetCount = 1;
  } else {
    if (m_layout.settingsSize > kSettingsImageSize) return false;
    m_source.Read(std::span<uint8_t>(image).first(m_layout.settingsSize));
    DecodeSettings(image, m_block);
  }
  if (m_block.recordSize == 0) m_block.recordSize = kOldRecordSize;
  if (m_block.worksheetSize > kWorksheetImageSize || m_block.recordSize > kRecordImageSize) return false;
  if (m_block.worksheetSize == 0 && m_block.worksheetCount != 0) return false;
  return true;
}

bool Reader::ReadWorksheets() {
  std::array<uint8_t, kWorksheetImageSize> image{};
  std::array<uint8_t, kPositionImageSize> positionImage{};
  const bool keep = ReplacesStore(m_mode);
  uint32_t count = 0;
  for (; count < m_block.worksheetCount; ++count) {
    if (!ReadImage(m_source, image, m_block.worksheetSize)) break;
    auto worksheet = std::make_unique<Worksheet>();
    worksheet->image = image;
    ConvertWorksheet(*worksheet, m_layout.version, count == 0, m_block);
    const uint32_t positionSize = worksheet->Get<uint32_t>(1760);
    const uint32_t positionCount = worksheet->Get<uint32_t>(1764);
    if (positionSize > kPositionImageSize || (positionSize == 0 && positionCount != 0)) return false;
    for (uint32_t p = 0; p < positionCount; ++p) {
      if (!ReadImage(m_source, positionImage, positionSize)) break;
      if (!keep) continue;
      auto position = std::make_unique<AnimationPosition>();
      DecodePosition(positionImage, *position);
      worksheet->positions.push_back(std::move(position));
    }
    if (keep) m_worksheets.push_back(std::move(worksheet));
  }
  m_block.worksheetCount = count;
  return true;
}

bool Reader::ReadRecords() {
  std::array<uint8_t, kRecordImageSize> image{};
  const bool counted = !m_layout.oldHeader;
  uint32_t count = 0;
  while (!counted || count < m_block.recordCount) {
    if (!ReadImage(m_source, image, m_block.recordSize)) break;
    auto record = std::make_unique<SurveyRecord>();
    DecodeRecord(image, *record);
    ConvertRecord(*record, m_layout.version, m_block);
    if (m_mode == ReadMode::Include) record->fromInclude = 1;
    m_records.push_back(std::move(record));
    ++count;
  }
  m_block.recordCount = count;
  return true;
}

ReadStatus Reader::Run(SurveyStore& store, size_t& target) {
  std::array<uint8_t, 8> header{};
  m_source.Read(header);
  m_layout.version = base::LoadLE<uint32_t>(header, 0);
  m_layout.settingsSize = base::LoadLE<uint32_t>(header, 4);
  m_layout.oldHeader = ClearedVersion(m_layout.version) < kOldHeaderBefore;

  if (const ReadStatus status = CheckVersion(); status != ReadStatus::Ok) return status;
  if (!ReadSettingsBlock()) return ReadStatus::InvalidFormat;

  // Ask about the conversion only for a file that can be read at all.
  if (ClearedVersion(m_layout.version) < kCurrentVersion && m_mode == ReadMode::Open &&
      m_prompter.AskOkCancel(messages::kMustConvert, platform::Icon::Exclamation) ==
          platform::Answer::Cancel) {
    return ReadStatus::Unusable;
  }
  if (TakesSettingsOnly(m_mode)) {
    ConvertSettings(m_block, m_layout.version);
    Commit(store, target);
    return ReadStatus::Ok;
  }

  ConvertSettings(m_block, m_layout.version);
  if (!ReadWorksheets()) return ReadStatus::InvalidFormat;
  if (!ReadRecords()) return ReadStatus::InvalidFormat;
  if (ClearedVersion(m_layout.version) < kLegacyFontsBefore) ConvertLegacyFonts(m_block);
  if (ReplacesStore(m_mode) && m_worksheets.empty()) return ReadStatus::InvalidFormat;
  Commit(store, target);
  return ReadStatus::Ok;
}

void Reader::Commit(SurveyStore& store, size_t& target) {
  DocumentSettings& own = store.settings;
  const DocumentSettings& file = m_block;
  switch (m_mode) {
    case ReadMode::Open:
    case ReadMode::ImportWhole:
    case ReadMode::Template: {
      store.Reset();
      store.ClearWorkingState();
      store.fileVersion = m_layout.version;
      store.settingsSize = m_layout.settingsSize;
      store.settings = m_block;
      store.records = std::move(m_records);
      store.worksheets = std::move(m_worksheets);
      store.legacyConversion = ClearedVersion(m_layout.version) < kLegacyFlagBefore;
      int index = store.settings.currentWorksheetIndex;
      if (index < 0 || static_cast<size_t>(index) >= store.worksheets.size()) index = 0;
      store.SelectWorksheet(index);
      const Worksheet& current = *store.currentWorksheet;
      store.currentPosition = current.positions.empty() ? nullptr : current.positions.back().get();
      break;
    }
    case ReadMode::ImportFontsColours:
      std::copy(std::begin(file.fonts), std::end(file.fonts), own.fonts);
      std::copy(std::begin(file.fontColours), std::end(file.fontColours), own.fontColours);
      std::copy(std::begin(file.lineColours), std::end(file.lineColours), own.lineColours);
      std::copy(std::begin(file.falseColours), std::end(file.falseColours), own.falseColours);
      own.backgroundColour = file.backgroundColour;
      own.pointColour = file.pointColour;
      own.frameColour = file.frameColour;
      break;
    case ReadMode::ImportInstruments:
      std::copy(std::begin(file.instruments), std::end(file.instruments), own.instruments);
      std::memcpy(own.instrumentNames, file.instrumentNames, sizeof own.instrumentNames);
      std::copy(std::begin(file.instrumentDivider), std::end(file.instrumentDivider), own.instrumentDivider);
      std::copy(std::begin(file.instrumentSag), std::end(file.instrumentSag), own.instrumentSag);
      std::copy(std::begin(file.instrumentSagCoefficient), std::end(file.instrumentSagCoefficient),
                own.instrumentSagCoefficient);
      std::copy(std::begin(file.instrumentYear), std::end(file.instrumentYear), own.instrumentYear);
      std::copy(std::begin(file.instrumentChange), std::end(file.instrumentChange), own.instrumentChange);
      break;
    case ReadMode::ImportTitle:
      std::memcpy(own.title, file.title, sizeof own.title);
      std::memcpy(own.title2, file.title2, sizeof own.title2);
      own.cadastreNumber = file.cadastreNumber;
      std::memcpy(own.cadastreDesignation, file.cadastreDesignation, sizeof own.cadastreDesignation);
      own.utmZone = file.utmZone;
      std::memcpy(own.utmBand, file.utmBand, sizeof own.utmBand);
      std::memcpy(own.descriptionText, file.descriptionText, sizeof own.descriptionText);
      break;
    case ReadMode::Include: {
      if (target > store.records.size()) target = store.records.size();
      const auto at = store.records.begin() + static_cast<std::ptrdiff_t>(target);
      target += m_records.size();
      own.recordCount += static_cast<uint32_t>(m_records.size());
      store.records.insert(at, std::make_move_iterator(m_records.begin()),
                           std::make_move_iterator(m_records.end()));
      break;
    }
  }
}

}  // namespace

ReadStatus ReadDocument(SurveyStore& store, base::ByteSource& source, ReadMode mode, size_t& target,
                        platform::Prompter& prompter, const platform::SettingsStore& settings) {
  Reader reader(source, mode, prompter, settings);
  return reader.Run(store, target);
}

}  // namespace hp::doc
