// The import command's flow ("&Importieren..."): what the file dialog
// proposes, which question follows the chosen file, what is remembered in the
// settings, and the import itself with the include update at its end. The
// window shows the dialogs; every decision is made here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/ComputePass.h"
#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::imports {

namespace texts {
inline constexpr const char* kDialogTitle = "Daten importieren";
inline constexpr const char* kFilter =
    "Hollowplan (*.hpn)|*.hpn|PocketTopo (*.txt)|*.txt|Tabelle (*.txt)|*.txt|Alle Dateien (*.*)|*.*|Survex "
    "(*.svx)|*.svx|";
inline constexpr const char* kDefaultExtension = "txt";
inline constexpr const char* kDocumentQuestion = "Datenimport Hollowplan-Format";
inline constexpr const char* kDocumentChoices[] = {"Gesamtes &Dokument überschreiben",
                                                   "Nur &Schriftarten und Farben übernehmen", "Nur &Geräte übernehmen",
                                                   "Nur &Titel und Beschreibung übernehmen"};
inline constexpr const char* kTableQuestion = "Datenimport Tabellenformat";
inline constexpr const char* kTableChoices[] = {"&Daten des Dokuments überschreiben", "Importdaten &anhängen"};
}  // namespace texts

class ImportCommand {
 public:
  enum class Question { None, DocumentParts, TableMode };

  explicit ImportCommand(platform::SettingsStore& settings) : m_settings(settings) {}

  // The file name the dialog proposes: the document's name up to its first
  // point.
  static std::string ProposedFileName(std::string_view documentName);
  // Where the dialog starts: the last import's folder, else the document's.
  std::filesystem::path StartFolder(const std::filesystem::path& documentFolder) const;
  // The file type preset in the dialog (1 to 5, Survex last).
  int FileTypePreset() const;
  // Remembers the chosen file's type and folder for the next import.
  void RememberFile(const std::filesystem::path& file, int fileType);

  // The question the chosen file needs, and its preset choice.
  static Question QuestionFor(const std::filesystem::path& file, const doc::SurveyStore& store);
  int ChoicePreset(Question question) const;
  // What the document question's choice (0 to 3, the batch tool's
  // --hpn-mode) takes from the document.
  static doc::ReadMode DocumentPartsMode(int choice);

  // Imports `file` with the answered `choice` (0 when no question was
  // asked), remembers the choice, then updates the include files, which
  // recomputes. False when the importer refused the file.
  bool Run(doc::SurveyStore& store, const std::filesystem::path& file, Question question, int choice,
           const std::filesystem::path& documentFolder, platform::Prompter& prompter);

  // The compute outcome of the last run's include update.
  const calc::ComputeOutcome& outcome() const { return m_outcome; }

 private:
  platform::SettingsStore& m_settings;
  calc::ComputeOutcome m_outcome;
};

}  // namespace hp::imports
