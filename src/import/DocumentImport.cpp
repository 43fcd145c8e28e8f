// Document imports and include files.
#include "import/DocumentImport.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/ByteStream.h"
#include "base/FixedText.h"
#include "base/StoredPath.h"
#include "calc/ComputeCommand.h"

namespace hp::imports {
namespace {

// Asks each question once per update: an include file named many times
// repeats its records, and the computation would ask about each copy of the
// same record in the same words, only the record number in its first line
// differing. A repeated question takes the first answer; one message at the
// end tells how often that happened. Messages are shown once each.
class OncePrompter final : public platform::Prompter {
 public:
  explicit OncePrompter(platform::Prompter& prompter) : m_prompter(prompter) {}
  ~OncePrompter() override {
    if (m_repeated > 0) {
      m_prompter.Message("Dieselbe Frage zu einem weiteren Datensatz kam noch " + GroupedNumber(m_repeated) +
                             "-mal und wurde jedes Mal wie zuvor beantwortet.",
                         platform::Icon::Information);
    }
  }
  void Message(std::string_view text, platform::Icon icon) override {
    if (m_shown.emplace(text).second) m_prompter.Message(text, icon);
  }
  platform::Answer AskOkCancel(std::string_view text, platform::Icon icon) override {
    return Ask(text, [&] { return m_prompter.AskOkCancel(text, icon); });
  }
  platform::Answer AskYesNoCancel(std::string_view text, platform::Icon icon) override {
    return Ask(text, [&] { return m_prompter.AskYesNoCancel(text, icon); });
  }

 private:
  // The question without the numbers of its first line.
  static std::string Key(std::string_view text) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string key;
    for (size_t i = 0; i < end; ++i) {
      if (text[i] < '0' || text[i] > '9') key.push_back(text[i]);
    }
    key.append(text.substr(end));
    return key;
  }

  template <class AskUser>
  platform::Answer Ask(std::string_view text, AskUser&& ask) {
    std::string key = Key(text);
    if (const auto known = m_answers.find(key); known != m_answers.end()) {
      ++m_repeated;
      return known->second;
    }
    const platform::Answer answer = ask();
    m_answers.emplace(std::move(key), answer);
    return answer;
  }

  platform::Prompter& m_prompter;
  std::set<std::string, std::less<>> m_shown;
  std::map<std::string, platform::Answer> m_answers;
  size_t m_repeated = 0;
};

// The records an include file would bring, read into a store of its own.
size_t CountIncludeRecords(const std::filesystem::path& path, const platform::SettingsStore& settings) {
  doc::SurveyStore scratch;
  platform::ScriptedPrompter silent;
  size_t target = 0;
  doc::LoadDocument(path, scratch, doc::ReadMode::Include, target, silent, settings);
  return scratch.records.size();
}

}  // namespace

DocumentImportResult ImportDocument(doc::SurveyStore& store, const std::filesystem::path& path, doc::ReadMode mode,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings) {
  size_t target = 0;
  switch (doc::LoadDocument(path, store, mode, target, prompter, settings)) {
    case doc::ReadStatus::Ok: return DocumentImportResult::Imported;
    case doc::ReadStatus::Refused:
    case doc::ReadStatus::TooNew: return DocumentImportResult::Refused;
    default: return DocumentImportResult::Failed;
  }
}

calc::ComputeOutcome UpdateIncludes(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings,
                                    std::vector<std::filesystem::path>* unread, size_t maxRecords, uint64_t memory) {
  auto& records = store.records;
  records.erase(std::remove_if(records.begin(), records.end(), [](const auto& r) { return r->fromInclude != 0; }),
                records.end());
  store.settings.recordCount = static_cast<uint32_t>(records.size());

  const size_t memoryRecords = RecordsForMemory(memory);
  const size_t limit = std::min(maxRecords, memoryRecords);
  // The reader's own messages are not shown for include files; a file that
  // cannot be read as a document is named once per update instead.
  platform::ScriptedPrompter silent;
  std::vector<std::filesystem::path> reported;
  std::map<std::filesystem::path, size_t> sizes;  // records of each file read so far
  std::optional<std::filesystem::path> refused;   // the file that would pass the limit
  size_t needed = 0;                              // records with every include, once one is refused
  for (size_t position = 0; position < records.size();) {
    const std::string_view name = base::TextOf(records[position]->includeFile);
    size_t target = position + 1;
    if (name.empty()) {
      position = target;
      continue;
    }
    const std::filesystem::path path = base::ResolveStoredName(documentFolder, name);
    if (refused) {
      // Past the limit the remaining files are only counted.
      if (!sizes.contains(path)) sizes[path] = CountIncludeRecords(path, settings);
      needed += sizes[path];
      if (unread) unread->push_back(path);
      position = target;
      continue;
    }
    if (const auto known = sizes.find(path); known != sizes.end() && records.size() + known->second > limit) {
      refused = path;
      needed = records.size() + known->second;
      if (unread) unread->push_back(path);
      position = target;
      continue;
    }
    const doc::ReadStatus status = doc::LoadDocument(path, store, doc::ReadMode::Include, target, silent, settings);
    sizes[path] = target - position - 1;
    if (status == doc::ReadStatus::InvalidFormat &&
        std::find(reported.begin(), reported.end(), path) == reported.end()) {
      reported.push_back(path);
      const bool found = base::FileSource(path).IsOpen();
      prompter.Message((found ? messages::kIncludeNotDocument : messages::kIncludeNotFound) + path.string() +
                           messages::kIncludeRecordsMissing,
                       platform::Icon::Exclamation);
    }
    if (records.size() > limit) {
      // A file read for the first time is taken out again when it passes
      // the limit.
      const auto first = records.begin() + static_cast<std::ptrdiff_t>(position + 1);
      records.erase(first, first + static_cast<std::ptrdiff_t>(target - position - 1));
      needed = records.size() + sizes[path];
      refused = path;
      if (unread) unread->push_back(path);
      target = position + 1;
    }
    position = target;  // records read from the file are not searched for includes
  }
  store.settings.recordCount = static_cast<uint32_t>(records.size());
  if (refused) {
    prompter.Message(memoryRecords < maxRecords ? OutOfMemoryMessage(needed, memoryRecords) + "\n" + refused->string() +
                                                      messages::kIncludeNotRead
                                                : refused->string() + messages::kIncludeTooManyRecords,
                     platform::Icon::Exclamation);
  }
  if (unread) unread->insert(unread->end(), reported.begin(), reported.end());
  if (!records.empty() && store.settings.currentRecordNumber < 1) store.settings.currentRecordNumber = 1;
  OncePrompter once(prompter);
  // The repetition message follows the questions.
  return calc::RunChosenComputeCommand(store, once, calc::LoadBlunderOptions(settings));
}

}  // namespace hp::imports
