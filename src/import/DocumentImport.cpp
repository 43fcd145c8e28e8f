// Document imports and include files.
#include "import/DocumentImport.h"

#include <algorithm>

#include "base/ByteStream.h"
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
                                    std::vector<std::filesystem::path>* unread, size_t maxRecords) {
  auto& records = store.records;
  records.erase(std::remove_if(records.begin(), records.end(), [](const auto& r) { return r->fromInclude != 0; }),
                records.end());
  store.settings.recordCount = static_cast<uint32_t>(records.size());

  // The reader's own messages are not shown for include files; a file that
  // cannot be read as a document is named once per update instead.
  platform::ScriptedPrompter silent;
  std::vector<std::filesystem::path> reported;
  for (size_t position = 0; position < records.size();) {
    const std::string_view name = base::TextOf(records[position]->includeFile);
    size_t target = position + 1;
    if (!name.empty()) {
      const std::filesystem::path path = base::ResolveStoredName(documentFolder, name);
      const doc::ReadStatus status = doc::LoadDocument(path, store, doc::ReadMode::Include, target, silent, settings);
      if (status == doc::ReadStatus::InvalidFormat &&
          std::find(reported.begin(), reported.end(), path) == reported.end()) {
        reported.push_back(path);
        const bool found = base::FileSource(path).IsOpen();
        prompter.Message((found ? messages::kIncludeNotDocument : messages::kIncludeNotFound) + path.string() +
                             messages::kIncludeRecordsMissing,
                         platform::Icon::Exclamation);
      }
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
  if (unread) unread->insert(unread->end(), reported.begin(), reported.end());
  if (!records.empty() && store.settings.currentRecordNumber < 1) store.settings.currentRecordNumber = 1;
  return calc::RunComputeCommand(store, prompter);
}

}  // namespace hp::imports
