// Document imports and include files.
#include "import/DocumentImport.h"

#include <algorithm>

#include "base/FixedText.h"
#include "base/StoredPath.h"

namespace hp::imports {

DocumentImportResult ImportDocument(doc::SurveyStore& store, const std::filesystem::path& path, doc::ReadMode mode,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings) {
  size_t target = 0;
  switch (doc::LoadDocument(path, store, mode, target, prompter, settings)) {
    case doc::ReadStatus::Ok: return DocumentImportResult::Imported;
    case doc::ReadStatus::Refused: return DocumentImportResult::Refused;
    default: return DocumentImportResult::Failed;
  }
}

calc::ComputeOutcome UpdateIncludes(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings) {
  auto& records = store.records;
  records.erase(std::remove_if(records.begin(), records.end(), [](const auto& r) { return r->fromInclude != 0; }),
                records.end());
  store.settings.recordCount = static_cast<uint32_t>(records.size());

  // Include files report nothing: a missing one is skipped.
  platform::ScriptedPrompter silent;
  for (size_t position = 0; position < records.size();) {
    const std::string_view name = base::TextOf(records[position]->includeFile);
    size_t target = position + 1;
    if (!name.empty()) {
      doc::LoadDocument(base::ResolveStoredName(documentFolder, name), store, doc::ReadMode::Include, target, silent,
                        settings);
    }
    position = target;  // records read from the file are not searched for includes
  }
  if (!records.empty() && store.settings.currentRecordNumber < 1) store.settings.currentRecordNumber = 1;
  return calc::RunComputeCommand(store, prompter);
}

}  // namespace hp::imports
