// The Survex import's entry point: reading the project, the limits, the
// notes, and the records joining the document.
#include "import/SurvexReader.h"

#include <algorithm>
#include <cctype>

#include "base/FixedText.h"
#include "calc/LegReduction.h"
#include "import/SurvexNames.h"
#include "import/SurvexParser.h"

namespace hp::imports {
namespace {

// Notes shown one by one; the rest are counted.
constexpr size_t kShownNotes = 20;

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

bool IsSurvexFile(const std::filesystem::path& path, std::string_view firstLine) {
  if (LowerExtension(path) == ".svx") return true;
  while (!firstLine.empty() && (firstLine.front() == ' ' || firstLine.front() == '\t')) firstLine.remove_prefix(1);
  std::string word;
  for (const char c : firstLine.substr(0, 12)) word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* command : {"*begin", "*include", "*title", "*data", "*units", "*equate", "*fix", "*calibrate"}) {
    if (word.starts_with(command)) return true;
  }
  return false;
}

bool ImportSurvex(doc::SurveyStore& store, const std::filesystem::path& path, TableImportMode mode,
                  platform::Prompter& prompter, size_t maxRecords, uint64_t memory) {
  const auto refuse = [&](const std::string& message) {
    prompter.Message(message, platform::Icon::Exclamation);
    return false;
  };
  survex::Survey survey;
  std::string failure;
  if (!survex::ReadProject(path, survey, failure)) return refuse(failure + messages::kImportNotDone);
  if (survey.legs.empty() && survey.fixes.empty()) {
    return refuse(path.string() + "\nDiese Survex-Datei enthält keine Messzüge." + messages::kImportNotDone);
  }
  const bool append = mode == TableImportMode::Append;
  const size_t kept = append ? store.records.size() : 0;
  const size_t needed = kept + survex::RecordCount(survey);
  const size_t memoryRecords = RecordsForMemory(memory);
  if (needed > std::min(maxRecords, memoryRecords)) {
    if (memoryRecords < maxRecords) return refuse(OutOfMemoryMessage(needed, memoryRecords) + messages::kImportNotDone);
    return refuse(messages::kTooManyRecords);
  }

  std::array<bool, 9> usedSurveyors{};
  std::array<bool, doc::kInstrumentCount> usedInstruments{};
  if (append) {
    for (const auto& record : store.records) {
      if (record->surveyor >= 0 && record->surveyor <= 8) usedSurveyors[static_cast<size_t>(record->surveyor)] = true;
      if (const auto index = calc::InstrumentIndex(*record)) usedInstruments[static_cast<size_t>(*index)] = true;
    }
  }
  std::vector<std::unique_ptr<doc::SurveyRecord>> records =
      survex::MakeRecords(survey, store.settings, usedSurveyors, usedInstruments, survey.notes);
  if (!append) store.records.clear();
  for (auto& record : records) store.records.push_back(std::move(record));
  // Survex data knows no ring numbers: its loops are adjusted as a network.
  if (!append) doc::ChooseNetworkAdjustment(store.settings, true);
  if (!append && !survey.title.empty()) base::SetText(store.settings.title, survey.title);
  if (!append && survey.utmZone > 0) {
    // The document's grid is the one the fixes were converted into.
    store.settings.utmZone = static_cast<uint32_t>(survey.utmZone);
    store.settings.utmBand[0] = survey.utmBand;
  }
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.computedCurrent = 0;

  if (!survey.notes.empty()) {
    std::string text = path.string() + "\nNicht alles wurde übernommen:";
    for (size_t i = 0; i < survey.notes.size() && i < kShownNotes; ++i) text += "\n" + survey.notes[i];
    if (survey.notes.size() > kShownNotes) {
      text += "\n… und " + GroupedNumber(survey.notes.size() - kShownNotes) + " weitere Hinweise.";
    }
    prompter.Message(text, platform::Icon::Exclamation);
  }
  return true;
}

}  // namespace hp::imports
