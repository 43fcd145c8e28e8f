// Shared helpers of the document tests: reading byte images into stores.
#pragma once

#include <vector>

#include "base/ByteStream.h"
#include "doc/DocumentFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::test {

struct ReadOutcome {
  doc::ReadStatus status;
  size_t target;
};

// Reads a file body (the bytes after the signature) into `store`.
inline ReadOutcome ReadBody(doc::SurveyStore& store, const std::vector<uint8_t>& body, doc::ReadMode mode,
                            platform::Prompter& prompter, const platform::SettingsStore& settings, size_t target = 0) {
  base::MemorySource source(body);
  const auto status = doc::ReadDocument(store, source, mode, target, prompter, settings);
  return {status, target};
}

// Writes `store` and returns the body after the signature.
inline std::vector<uint8_t> WriteBody(doc::SurveyStore& store, doc::WriteMode mode = doc::WriteMode::AsRead) {
  base::MemorySink sink;
  doc::WriteDocument(store, sink, mode);
  return sink.data;
}

}  // namespace hp::test
