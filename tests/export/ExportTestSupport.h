// Shared helpers of the export tests: small stores and writers run into memory.
#pragma once

#include <string>
#include <string_view>

#include "base/ByteStream.h"
#include "base/FixedText.h"
#include "doc/SurveyStore.h"
#include "export/ExportWriter.h"
#include "platform/SettingsStore.h"

namespace hp::test {

// A store with one default worksheet (numbering "cave/passage/point") and
// no records.
inline doc::SurveyStore EmptyStore() {
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  return store;
}

// Appends a leg ref -> point with the given to-station coordinates.
inline doc::SurveyRecord& AddLeg(doc::SurveyStore& store, int cave, int passage, std::string_view point,
                                 double x, double y, double z, std::string_view description = {}) {
  auto record = std::make_unique<doc::SurveyRecord>();
  doc::InitRecord(*record);
  record->refCave = cave;
  record->refPassage = passage;
  base::SetText(record->refPoint, "0");
  record->cave = cave;
  record->passage = passage;
  base::SetText(record->point, point);
  base::SetText(record->description, description);
  record->x = x;
  record->y = y;
  record->z = z;
  store.records.push_back(std::move(record));
  return *store.records.back();
}

// The file a writer writes for `store`, as bytes.
inline std::string Written(exports::ExportWriter& writer, const doc::SurveyStore& store,
                           const platform::SettingsStore& settings,
                           exports::TableIncludes includeMode = exports::TableIncludes::Without) {
  base::MemorySink sink;
  exports::ExportContext context{store, *store.currentWorksheet, settings, {}, includeMode};
  exports::RunWriter(writer, sink, context);
  return std::string(sink.data.begin(), sink.data.end());
}

// Text with "\n" written as the files write it ("\r\n").
inline std::string Crlf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace hp::test
