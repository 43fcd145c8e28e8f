// The document's data store: reset and defaults.
#include "doc/SurveyStore.h"

#include <stdexcept>
#include <string>

#include "base/FixedText.h"

namespace hp::doc {

void InitRecord(SurveyRecord& record) { record = SurveyRecord{}; }

void SurveyStore::ClearWorkingState() {
  extent = CoordinateExtent{};
  backupWorksheet = Worksheet{};
  legacyConversion = false;
}

void SurveyStore::Reset() {
  ++computeGeneration;
  records.clear();
  worksheets.clear();
  backupWorksheet.positions.clear();
  currentWorksheet = nullptr;
  currentPosition = nullptr;
  settings.recordCount = 0;
  settings.worksheetCount = 0;
  settings.currentRecordNumber = 0;
  settings.currentWorksheetIndex = 0;
}

void SurveyStore::SetDefaults() {
  Reset();
  ClearWorkingState();
  SetDefaultSettings(settings);
  fileVersion = 0x00220800;
  settingsSize = kSettingsImageSize;

  auto worksheet = std::make_unique<Worksheet>();
  InitWorksheet(*worksheet);
  currentWorksheet = worksheet.get();
  worksheets.push_back(std::move(worksheet));

  auto record = std::make_unique<SurveyRecord>();
  InitRecord(*record);
  base::SetText(record->remark, "Koordinatenreferenz");
  records.push_back(std::move(record));

  settings.worksheetCount = 1;
  settings.recordCount = 1;
  settings.currentRecordNumber = 1;
  settings.currentWorksheetIndex = 0;
}

int SurveyStore::IndexOf(const Worksheet* worksheet) const {
  for (size_t i = 0; i < worksheets.size(); ++i) {
    if (worksheets[i].get() == worksheet) return static_cast<int>(i);
  }
  return -1;
}

void SurveyStore::SelectWorksheet(int index) {
  if (index < 0 || static_cast<size_t>(index) >= worksheets.size()) {
    throw std::out_of_range("worksheet index " + std::to_string(index) + " outside 0 to " +
                            std::to_string(static_cast<long long>(worksheets.size()) - 1));
  }
  currentWorksheet = worksheets[static_cast<size_t>(index)].get();
  settings.currentWorksheetIndex = static_cast<int16_t>(index);
}

}  // namespace hp::doc
