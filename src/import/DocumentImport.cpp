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
                                    platform::Prompter& prompter, const platform::SettingsStore& settings,
                                    size_t maxRecords) {
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
      const std::filesystem::path path = base::ResolveStoredName(documentFolder, name);
      doc::LoadDocument(path, store, doc::ReadMode::Include, target, silent, settings);
      if (records.size() > maxRecords) {
        // The file that passes the limit is taken out again, and no further
        // include is read: the document stays within the limit.
        const auto first = records.begin() + static_cast<std::ptrdiff_t>(position + 1);
        records.erase(first, first + static_cast<std::ptrdiff_t>(target - position - 1));
        store.settings.recordCount = static_cast<uint32_t>(records.size());
        prompter.Message(path.string() + messages::kIncludeTooManyRecords, platform::Icon::Exclamation);
        break;
      }
    }
    position = target;  // records read from the file are not searched for includes
  }
  if (!records.empty() && store.settings.currentRecordNumber < 1) store.settings.currentRecordNumber = 1;
  return calc::RunComputeCommand(store, prompter);
}

}  // namespace hp::imports
