// The data of one document: its records in entry order, its worksheets with
// their animation positions, and the document settings block. The document
// owns one store for its whole life; every subsystem works on it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"
#include "doc/Worksheet.h"

namespace hp::doc {

// Extent of the computed coordinates (working state of the computation).
struct CoordinateExtent {
  double minX = 0, minY = 0, minZ = 0;
  double maxX = 0, maxY = 0, maxZ = 0;
};

class SurveyStore {
 public:
  SurveyStore() = default;
  SurveyStore(const SurveyStore&) = delete;
  SurveyStore& operator=(const SurveyStore&) = delete;
  SurveyStore(SurveyStore&&) noexcept = default;
  SurveyStore& operator=(SurveyStore&&) noexcept = default;

  std::vector<std::unique_ptr<SurveyRecord>> records;
  std::vector<std::unique_ptr<Worksheet>> worksheets;

  // Working state, not stored.
  CoordinateExtent extent;
  Worksheet backupWorksheet;  // image and positions for "Wiederherstellen" / "Zurücksetzen"
  // Set by reading a file older than 7.03; the first full compute pass
  // without messages clears it.
  bool legacyConversion = false;
  // Counts the compute passes (and resets) of this store, so that figures
  // derived from a pass are worked out again only after the next one.
  uint64_t computeGeneration = 0;

  uint32_t fileVersion = 0;
  uint32_t settingsSize = 0;
  DocumentSettings settings;

  Worksheet* currentWorksheet = nullptr;         // never null while a document is shown
  AnimationPosition* currentPosition = nullptr;  // the position last added

  // Removes every record, worksheet and position and zeroes the counters.
  void Reset();
  // Reset, then one default worksheet and one default record, every setting
  // at its default.
  void SetDefaults();
  // Clears the working state (extent, backup worksheet, legacy flag).
  void ClearWorkingState();

  // Position (from 0) of a worksheet in the list; -1 when it is not there.
  int IndexOf(const Worksheet* worksheet) const;
  // Makes the worksheet at `index` current and stores the index.
  void SelectWorksheet(int index);
};

// Fills a record with the record defaults.
void InitRecord(SurveyRecord& record);

}  // namespace hp::doc
