// The history's steps: record splices and captured document changes.
#include "doc/DocumentChanges.h"

#include <algorithm>
#include <array>
#include <utility>

#include "doc/RecordCodec.h"

namespace hp::doc {

std::string ImportName(std::string_view fileName) { return "Import " + std::string(fileName); }
std::string ChangeRecordName(int number) { return "Datensatz " + std::to_string(number) + " ändern"; }
std::string NewRecordName(int number) { return "Datensatz " + std::to_string(number) + " anlegen"; }
std::string DeleteRecordName(int number) { return "Datensatz " + std::to_string(number) + " löschen"; }

namespace {

using Records = std::vector<std::unique_ptr<SurveyRecord>>;
using Worksheets = std::vector<std::unique_ptr<Worksheet>>;

void Replace(Records& records, std::size_t index, std::size_t count, const std::vector<SurveyRecord>& by) {
  index = std::min(index, records.size());
  count = std::min(count, records.size() - index);
  const auto at = records.begin() + static_cast<std::ptrdiff_t>(index);
  // Records changed in place keep their memory (and the marked record its
  // pointer); only the difference in count is inserted or erased.
  const std::size_t common = std::min(count, by.size());
  for (std::size_t i = 0; i < common; ++i) *at[static_cast<std::ptrdiff_t>(i)] = by[i];
  const auto rest = at + static_cast<std::ptrdiff_t>(common);
  if (count > common) {
    records.erase(rest, rest + static_cast<std::ptrdiff_t>(count - common));
  } else if (by.size() > common) {
    Records added;
    added.reserve(by.size() - common);
    for (std::size_t i = common; i < by.size(); ++i) added.push_back(std::make_unique<SurveyRecord>(by[i]));
    records.insert(rest, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  }
}

class RecordSplice final : public Change {
 public:
  RecordSplice(std::string name, const DocumentSettings& before, std::size_t countBefore, std::size_t index,
               std::vector<SurveyRecord> removed, std::vector<SurveyRecord> inserted)
      : Change(std::move(name), before), m_index(index), m_countBefore(countBefore),
        m_countAfter(countBefore - removed.size() + inserted.size()), m_removed(std::move(removed)),
        m_inserted(std::move(inserted)) {}

  std::size_t Bytes() const override {
    return sizeof(*this) + (m_removed.size() + m_inserted.size()) * sizeof(SurveyRecord);
  }
  bool ChangesRecords() const override { return true; }
  bool ChangesWorksheets() const override { return false; }

 protected:
  void UndoParts(SurveyStore& store) override {
    Follow(store, m_countAfter);
    Replace(store.records, m_index, m_inserted.size(), m_removed);
  }
  void RedoParts(SurveyStore& store) override {
    Follow(store, m_countBefore);
    Replace(store.records, m_index, m_removed.size(), m_inserted);
  }
  void SettingsTaken(SurveyStore& store) override {
    if (m_shifted) store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  }

 private:
  // A compute pass puts a coordinate reference in front of a list that
  // starts without one: the step's records then stand that much further
  // down.
  void Follow(const SurveyStore& store, std::size_t expected) {
    if (store.records.size() <= expected) return;
    m_shifted = true;
    const std::size_t shift = store.records.size() - expected;
    m_index += shift;
    m_countBefore += shift;
    m_countAfter += shift;
  }

  std::size_t m_index;
  std::size_t m_countBefore, m_countAfter;
  bool m_shifted = false;
  std::vector<SurveyRecord> m_removed, m_inserted;
};

// Holds the other side of what a command changed: undo and redo swap it
// with the store's, so neither copies a record.
class CapturedChange final : public Change {
 public:
  CapturedChange(std::string name, const DocumentSettings& before, std::optional<Records> records,
                 std::optional<Worksheets> worksheets, int currentWorksheet)
      : Change(std::move(name), before), m_records(std::move(records)), m_worksheets(std::move(worksheets)),
        m_currentWorksheet(currentWorksheet) {}

  void Measure(const SurveyStore& store) {
    m_bytes = sizeof(*this);
    if (m_records) m_bytes += std::max(m_records->size(), store.records.size()) * kRecordSlotSize;
    if (m_worksheets) {
      for (const auto& worksheet : *m_worksheets)
        m_bytes += sizeof(Worksheet) + worksheet->positions.size() * sizeof(AnimationPosition);
    }
  }

  std::size_t Bytes() const override { return m_bytes; }
  bool ChangesRecords() const override { return m_records.has_value(); }
  bool ChangesWorksheets() const override { return m_worksheets.has_value(); }

 protected:
  void UndoParts(SurveyStore& store) override { Swap(store); }
  void RedoParts(SurveyStore& store) override { Swap(store); }

 private:
  void Swap(SurveyStore& store) {
    if (m_records) std::swap(store.records, *m_records);
    if (m_worksheets) {
      const int current = store.IndexOf(store.currentWorksheet);
      std::swap(store.worksheets, *m_worksheets);
      const int index = std::clamp(m_currentWorksheet, 0, static_cast<int>(store.worksheets.size()) - 1);
      store.currentWorksheet = store.worksheets[static_cast<std::size_t>(index)].get();
      store.currentPosition =
          store.currentWorksheet->positions.empty() ? nullptr : store.currentWorksheet->positions.back().get();
      m_currentWorksheet = current;
    }
  }

  std::optional<Records> m_records;
  std::optional<Worksheets> m_worksheets;
  int m_currentWorksheet;
  std::size_t m_bytes = 0;
};

bool SameSettings(const DocumentSettings& a, const DocumentSettings& b) {
  std::array<uint8_t, kSettingsImageSize> imageA{}, imageB{};
  EncodeSettings(a, imageA);
  EncodeSettings(b, imageB);
  return imageA == imageB;
}

bool SameRecords(const Records& a, const Records& b) {
  if (a.size() != b.size()) return false;
  std::array<uint8_t, kRecordImageSize> imageA{}, imageB{};
  for (std::size_t i = 0; i < a.size(); ++i) {
    EncodeRecord(*a[i], imageA);
    EncodeRecord(*b[i], imageB);
    if (imageA != imageB) return false;
  }
  return true;
}

bool SamePositions(const Worksheet& a, const Worksheet& b) {
  if (a.positions.size() != b.positions.size()) return false;
  std::array<uint8_t, kPositionImageSize> imageA{}, imageB{};
  for (std::size_t i = 0; i < a.positions.size(); ++i) {
    EncodePosition(*a.positions[i], imageA);
    EncodePosition(*b.positions[i], imageB);
    if (imageA != imageB) return false;
  }
  return true;
}

bool SameWorksheets(const Worksheets& a, const Worksheets& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i]->image != b[i]->image || !SamePositions(*a[i], *b[i])) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<Change> SpliceRecords(SurveyStore& store, std::string name, std::size_t index, std::size_t removeCount,
                                      std::vector<SurveyRecord> inserted) {
  index = std::min(index, store.records.size());
  removeCount = std::min(removeCount, store.records.size() - index);
  std::vector<SurveyRecord> removed;
  removed.reserve(removeCount);
  for (std::size_t i = 0; i < removeCount; ++i) removed.push_back(*store.records[index + i]);
  const DocumentSettings before = store.settings;
  const std::size_t countBefore = store.records.size();
  Replace(store.records, index, removeCount, inserted);
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.computedCurrent = 0;
  auto step = std::make_unique<RecordSplice>(std::move(name), before, countBefore, index, std::move(removed),
                                             std::move(inserted));
  step->TakeSettingsAfter(store.settings);
  step->SetComputeDue();
  return step;
}

DocumentCapture::DocumentCapture(const SurveyStore& store, unsigned parts)
    : m_parts(parts), m_settings(store.settings) {
  if ((parts & kRecords) != 0) {
    m_records.reserve(store.records.size());
    for (const auto& record : store.records) m_records.push_back(std::make_unique<SurveyRecord>(*record));
  }
  if ((parts & kWorksheets) != 0) {
    m_worksheets.reserve(store.worksheets.size());
    for (const auto& worksheet : store.worksheets) m_worksheets.push_back(std::make_unique<Worksheet>(*worksheet));
    m_currentWorksheet = store.IndexOf(store.currentWorksheet);
  }
}

DocumentCapture::~DocumentCapture() = default;

std::unique_ptr<Change> DocumentCapture::Finish(const SurveyStore& store, std::string name) {
  std::optional<Records> records;
  std::optional<Worksheets> worksheets;
  if ((m_parts & kRecords) != 0 && !SameRecords(m_records, store.records)) records = std::move(m_records);
  if ((m_parts & kWorksheets) != 0 &&
      (m_currentWorksheet != store.IndexOf(store.currentWorksheet) || !SameWorksheets(m_worksheets, store.worksheets)))
    worksheets = std::move(m_worksheets);
  if (!records && !worksheets && SameSettings(m_settings, store.settings)) return nullptr;
  auto step = std::make_unique<CapturedChange>(std::move(name), m_settings, std::move(records), std::move(worksheets),
                                               m_currentWorksheet);
  step->TakeSettingsAfter(store.settings);
  step->Measure(store);
  m_parts = 0;
  return step;
}

}  // namespace hp::doc
