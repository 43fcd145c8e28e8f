// Shared helpers of the export tests: small stores and writers run into memory.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/ByteStream.h"
#include "base/FixedText.h"
#include "doc/SurveyStore.h"
#include "export/ExportWriter.h"
#include "platform/SettingsStore.h"
#include "support/Survey.h"

namespace hp::test {

// A store with one default worksheet (numbering "cave/passage/point") and
// no records.
inline doc::SurveyStore EmptyStore() {
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  return store;
}

// The file a writer writes for `store`, as bytes.
inline std::string Written(exports::ExportWriter& writer, const doc::SurveyStore& store,
                           const platform::SettingsStore& settings,
                           exports::TableIncludes includeMode = exports::TableIncludes::Without,
                           std::span<const draw::ProjectionSlots> slots = {}) {
  base::MemorySink sink;
  exports::ExportContext context{store, *store.currentWorksheet, settings, {slots, {}, 0, 0}, includeMode};
  exports::RunWriter(writer, sink, context);
  return std::string(sink.data.begin(), sink.data.end());
}

// The file a writer that needs no settings writes for `store`.
template <class Writer>
std::string WrittenBy(const doc::SurveyStore& store, std::span<const draw::ProjectionSlots> slots = {}) {
  platform::MemorySettingsStore settings;
  Writer writer;
  return Written(writer, store, settings, exports::TableIncludes::Without, slots);
}

// How often `piece` occurs in `text`.
inline size_t Count(std::string_view text, std::string_view piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
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
