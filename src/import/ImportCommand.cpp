// The import command's flow.
#include "import/ImportCommand.h"

#include <algorithm>
#include <cctype>

#include "import/DocumentImport.h"
#include "import/TextImport.h"

namespace hp::imports {
namespace {

constexpr const char* kSection = "Settings";

bool EndsWithHpn(const std::filesystem::path& file) {
  std::string name = file.string();
  if (name.size() < 3) return false;
  name = name.substr(name.size() - 3);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name == "hpn";
}

}  // namespace

std::string ImportCommand::ProposedFileName(std::string_view documentName) {
  return std::string(documentName.substr(0, documentName.find('.')));
}

std::filesystem::path ImportCommand::StartFolder(const std::filesystem::path& documentFolder) const {
  const std::string last = m_settings.GetString(kSection, "ImportDir", "");
  return last.empty() ? documentFolder : std::filesystem::path(last);
}

int ImportCommand::FileTypePreset() const { return std::clamp(m_settings.GetInt(kSection, "OpenExtention", 1), 1, 5); }

void ImportCommand::RememberFile(const std::filesystem::path& file, int fileType) {
  m_settings.SetInt(kSection, "OpenExtention", fileType);
  m_settings.SetString(kSection, "ImportDir", file.parent_path().string());
}

ImportCommand::Question ImportCommand::QuestionFor(const std::filesystem::path& file, const doc::SurveyStore& store) {
  if (EndsWithHpn(file)) return Question::DocumentParts;
  return store.records.empty() ? Question::None : Question::TableMode;
}

int ImportCommand::ChoicePreset(Question question) const {
  switch (question) {
    case Question::DocumentParts: return std::clamp(m_settings.GetInt(kSection, "ImportHPN", 0), 0, 3);
    case Question::TableMode: return std::clamp(m_settings.GetInt(kSection, "ImportTAB", 0), 0, 1);
    case Question::None: break;
  }
  return 0;
}

doc::ReadMode ImportCommand::DocumentPartsMode(int choice) {
  // In the order texts::kDocumentChoices shows them.
  constexpr doc::ReadMode kParts[] = {doc::ReadMode::ImportWhole, doc::ReadMode::ImportFontsColours,
                                      doc::ReadMode::ImportInstruments, doc::ReadMode::ImportTitle};
  return kParts[std::clamp(choice, 0, 3)];
}

bool ImportCommand::Run(doc::SurveyStore& store, const std::filesystem::path& file, Question question, int choice,
                        const std::filesystem::path& documentFolder, platform::Prompter& prompter) {
  bool imported = false;
  if (question == Question::DocumentParts) {
    choice = std::clamp(choice, 0, 3);
    m_settings.SetInt(kSection, "ImportHPN", choice);
    imported =
        ImportDocument(store, file, DocumentPartsMode(choice), prompter, m_settings) != DocumentImportResult::Failed;
  } else {
    if (question == Question::TableMode) {
      choice = std::clamp(choice, 0, 1);
      m_settings.SetInt(kSection, "ImportTAB", choice);
    } else {
      choice = 0;
    }
    imported = ImportTable(store, file, choice == 1 ? TableImportMode::Append : TableImportMode::Replace, prompter);
  }
  m_outcome = UpdateIncludes(store, documentFolder, prompter, m_settings);
  return imported;
}

}  // namespace hp::imports
