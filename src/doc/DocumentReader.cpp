// Reading documents of every format version into the store.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
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

// The smallest images any format version wrote. A record always held its
// coordinates, measurements and station numbers (156 bytes) and from 2.07 on
// its level (256 bytes); a worksheet always held the title lines and the page
// label template that no conversion fills in; a position has not changed
// since positions came. Smaller sizes come from no program, and would let a
// small file stand for a vast number of images.
constexpr uint32_t kMinRecordSize = kOldRecordSize;
constexpr uint32_t kMinWorksheetSize = 924;
constexpr uint32_t kMinPositionSize = kPositionImageSize;
constexpr uint32_t kLevelFrom = FormatVersion(2, 7);
constexpr uint32_t kMinRecordSizeWithLevel = 256;
// Records read between two reports to a ReadProgress.
constexpr uint32_t kProgressStep = 4096;

// Files before 4.01 have no record count: records run to the end of the
// file, so their size must be one that version wrote.
uint32_t MinOldHeaderRecordSize(uint32_t version) {
  return ClearedVersion(version) < kLevelFrom ? kMinRecordSize : kMinRecordSizeWithLevel;
}

bool ReplacesStore(ReadMode mode) {
  return mode == ReadMode::Open || mode == ReadMode::ImportWhole || mode == ReadMode::Template;
}

bool TakesSettingsOnly(ReadMode mode) {
  return mode == ReadMode::ImportFontsColours || mode == ReadMode::ImportInstruments || mode == ReadMode::ImportTitle;
}

// Reads one image of `size` bytes into the zero-filled `buffer` and returns
// the number of bytes read: 0 when the source was already at its end (the
// image is not created); an image the end of the file cuts keeps zeros for
// what is missing.
size_t ReadImage(base::ByteSource& source, std::span<uint8_t> buffer, size_t size) {
  std::fill(buffer.begin(), buffer.end(), 0);
  return source.Read(buffer.first(size));
}

// The header and sizes of the file being read.
struct FileLayout {
  uint32_t version = 0;
  uint32_t settingsSize = 0;
  bool oldHeader = false;
};

class Reader {
 public:
  Reader(base::ByteSource& source, ReadMode mode, platform::Prompter& prompter, const platform::SettingsStore& settings,
         ReadProgress* progress)
      : m_source(source), m_mode(mode), m_prompter(prompter), m_settings(settings), m_progress(progress) {}

  ReadStatus Run(SurveyStore& store, size_t& target);
  const ReadReport& Report() const { return m_report; }

 private:
  ReadStatus Refuse(const char* message) {
    m_prompter.Message(message, platform::Icon::Exclamation);
    return (m_mode == ReadMode::Open || m_mode == ReadMode::Template) ? ReadStatus::Unusable : ReadStatus::Refused;
  }
  ReadStatus CheckVersion();
  bool ReadSettingsBlock();
  bool ReadWorksheets();
  bool ReadRecords();
  void Commit(SurveyStore& store, size_t& target);
  void TellIncomplete();

  base::ByteSource& m_source;
  ReadMode m_mode;
  platform::Prompter& m_prompter;
  const platform::SettingsStore& m_settings;
  ReadProgress* m_progress;

  FileLayout m_layout;
  DocumentSettings m_block;  // the file's settings block
  std::vector<std::unique_ptr<Worksheet>> m_worksheets;
  std::vector<std::unique_ptr<SurveyRecord>> m_records;
  ReadReport m_report;
};

ReadStatus Reader::CheckVersion() {
  const uint32_t v = ClearedVersion(m_layout.version);
  const uint32_t full = FullVersion(m_layout.version);
  if (TakesSettingsOnly(m_mode) && v < kPartialImportFrom) {
    m_prompter.Message(messages::kImportNeedsNewer, platform::Icon::Exclamation);
    return ReadStatus::Refused;
  }
  if (v > kCurrentVersion) {
    m_prompter.Message(messages::kNewerVersion, platform::Icon::Exclamation);
    return ReadStatus::TooNew;
  }
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
    const size_t got = m_source.Read(std::span<uint8_t>(image).first(m_layout.settingsSize));
    if (got < m_layout.settingsSize) m_report.incomplete = true;
    DecodeSettings(image, m_block);
  }
  if (m_block.recordSize == 0) m_block.recordSize = kOldRecordSize;
  if (m_block.worksheetSize > kWorksheetImageSize || m_block.recordSize > kRecordImageSize) return false;
  // Sizes matter only where images of them follow.
  if (m_block.worksheetCount != 0 && m_block.worksheetSize < kMinWorksheetSize) return false;
  const bool recordsFollow = m_layout.oldHeader || m_block.recordCount != 0;
  const uint32_t minRecordSize = m_layout.oldHeader ? MinOldHeaderRecordSize(m_layout.version) : kMinRecordSize;
  if (recordsFollow && m_block.recordSize < minRecordSize) return false;
  return true;
}

bool Reader::ReadWorksheets() {
  std::array<uint8_t, kWorksheetImageSize> image{};
  std::array<uint8_t, kPositionImageSize> positionImage{};
  const bool keep = ReplacesStore(m_mode);
  uint32_t count = 0;
  for (; count < m_block.worksheetCount; ++count) {
    const size_t got = ReadImage(m_source, image, m_block.worksheetSize);
    if (got < m_block.worksheetSize) m_report.incomplete = true;
    if (got == 0) break;
    auto worksheet = std::make_unique<Worksheet>();
    worksheet->image = image;
    ConvertWorksheet(*worksheet, m_layout.version, count == 0, m_block);
    const uint32_t positionSize = worksheet->Get<uint32_t>(1760);
    const uint32_t positionCount = worksheet->Get<uint32_t>(1764);
    if (positionSize > kPositionImageSize || (positionCount != 0 && positionSize < kMinPositionSize)) return false;
    for (uint32_t p = 0; p < positionCount; ++p) {
      const size_t gotPosition = ReadImage(m_source, positionImage, positionSize);
      if (gotPosition < positionSize) m_report.incomplete = true;
      if (gotPosition == 0) break;
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
  const size_t size = m_block.recordSize;
  uint32_t count = 0;
  uint32_t complete = 0;
  if (m_progress != nullptr && counted) m_progress->recordsExpected = m_block.recordCount;
  while (!counted || count < m_block.recordCount) {
    // Whole images of the current size are decoded where the source holds
    // them; a shorter one (older versions, a cut last record) is padded
    // with zeros first.
    const std::span<const uint8_t> bytes = m_source.Next(size, image);
    if (bytes.empty()) break;
    if (bytes.size() == size) ++complete;
    auto record = std::make_unique<SurveyRecord>();
    if (bytes.size() == kRecordImageSize) {
      DecodeRecord(bytes.first<kRecordImageSize>(), *record);
    } else {
      if (bytes.data() != image.data()) std::copy(bytes.begin(), bytes.end(), image.begin());
      std::fill(image.begin() + static_cast<std::ptrdiff_t>(bytes.size()), image.end(), 0);
      DecodeRecord(image, *record);
    }
    ConvertRecord(*record, m_layout.version, m_block);
    if (m_mode == ReadMode::Include) record->fromInclude = 1;
    m_records.push_back(std::move(record));
    ++count;
    if (m_progress != nullptr && count % kProgressStep == 0) {
      m_progress->recordsRead = count;
      if (m_progress->cancelled) return false;
    }
  }
  m_report.recordsExpected = counted ? m_block.recordCount : count;
  m_report.recordsRead = count;
  m_report.recordsComplete = complete;
  if (complete < m_report.recordsExpected) m_report.incomplete = true;
  m_block.recordCount = count;
  return true;
}

ReadStatus Reader::Run(SurveyStore& store, size_t& target) {
  std::array<uint8_t, 8> header{};
  if (m_source.Read(header) < header.size()) m_report.incomplete = true;
  m_layout.version = base::LoadLE<uint32_t>(header, 0);
  m_layout.settingsSize = base::LoadLE<uint32_t>(header, 4);
  m_layout.oldHeader = ClearedVersion(m_layout.version) < kOldHeaderBefore;

  if (const ReadStatus status = CheckVersion(); status != ReadStatus::Ok) return status;
  if (!ReadSettingsBlock()) return ReadStatus::InvalidFormat;

  // Ask about the conversion only for a file that can be read at all.
  if (ClearedVersion(m_layout.version) < kCurrentVersion && m_mode == ReadMode::Open &&
      m_prompter.AskOkCancel(messages::kMustConvert, platform::Icon::Exclamation) == platform::Answer::Cancel) {
    return ReadStatus::Unusable;
  }
  if (TakesSettingsOnly(m_mode)) {
    ConvertSettings(m_block, m_layout.version);
    TellIncomplete();
    Commit(store, target);
    return ReadStatus::Ok;
  }

  ConvertSettings(m_block, m_layout.version);
  if (!ReadWorksheets()) return ReadStatus::InvalidFormat;
  if (!ReadRecords())
    return m_progress != nullptr && m_progress->cancelled ? ReadStatus::Cancelled : ReadStatus::InvalidFormat;
  if (ClearedVersion(m_layout.version) < kLegacyFontsBefore) ConvertLegacyFonts(m_block);
  if (ReplacesStore(m_mode) && m_worksheets.empty()) return ReadStatus::InvalidFormat;
  TellIncomplete();
  Commit(store, target);
  return ReadStatus::Ok;
}

void Reader::TellIncomplete() {
  if (!m_report.incomplete) return;
  std::string text = messages::kIncomplete;
  if (!TakesSettingsOnly(m_mode)) {
    // Only the last record read can be cut: the read stops where the file ends.
    const bool lastCut = m_report.recordsComplete < m_report.recordsRead;
    if (m_report.recordsRead < m_report.recordsExpected) {
      char buffer[160];
      std::snprintf(buffer, sizeof buffer, messages::kIncompleteRecords, m_report.recordsRead,
                    m_report.recordsExpected);
      text = buffer;
      if (lastCut) text += std::string("\n") + messages::kLastRecordCut;
    } else if (lastCut) {
      text = messages::kOnlyLastRecordCut;
    }
  }
  m_prompter.Message(text, platform::Icon::Exclamation);
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
      store.records.insert(at, std::make_move_iterator(m_records.begin()), std::make_move_iterator(m_records.end()));
      break;
    }
  }
}

}  // namespace

ReadStatus ReadDocument(SurveyStore& store, base::ByteSource& source, ReadMode mode, size_t& target,
                        platform::Prompter& prompter, const platform::SettingsStore& settings, ReadReport* report,
                        ReadProgress* progress) {
  Reader reader(source, mode, prompter, settings, progress);
  const ReadStatus status = reader.Run(store, target);
  if (report) *report = status == ReadStatus::Ok ? reader.Report() : ReadReport{};
  return status;
}

}  // namespace hp::doc
