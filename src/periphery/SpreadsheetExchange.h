// The spreadsheet exchange: the document's records handed to a spreadsheet
// program as table text in a per-user working folder ("Bearbeiten in
// &Excel") and read back from there, replacing the records ("&Laden aus
// Excel"). The spreadsheet program does the editing; this module only writes
// and reads the table file and asks the desktop to open it.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::periphery {

namespace texts {
inline constexpr std::string_view kEditCommand = "Bearbeiten in &Excel";
inline constexpr std::string_view kEditStatus = "Vermessungdaten in Excel bearbeiten.";
inline constexpr std::string_view kLoadCommand = "&Laden aus Excel";
inline constexpr std::string_view kLoadStatus = "Vermessungdaten aus Excel laden.";
inline constexpr std::string_view kNotSentQuestion =
    "Die Vermessungsdaten wurden noch nicht nach Excel übertragen. Sollen sie wirklich geladen werden?";
inline constexpr std::string_view kEmptyTable =
    "Die Tabelle ist leer. Die Vermessungsdaten des Dokuments bleiben unverändert.";
inline constexpr std::string_view kTableFile = "Hollowplan.txt";
inline constexpr std::string_view kWorkbook = "Hollowplan.xls";
}  // namespace texts

// The working folder: the application-data folder, then "Hollowplan", then
// "Hollowplan 22", both created when missing. Nothing when there is no
// application-data folder or the sub-folders cannot be made.
std::optional<std::filesystem::path> WorkingFolder(const platform::Paths& paths);

// What one command did.
enum class ExchangeResult {
  NoFolder,      // no working folder: nothing more was done
  WriteFailed,   // the table could not be written (its message was shown)
  OpenFailed,    // written, but the desktop opened nothing
  Opened,        // written and handed to the spreadsheet program
  Cancelled,     // the question before loading was answered with Cancel
  Refused,       // the import refused the table (its message was shown); the records are unchanged
  Loaded,        // the records were replaced, the include files read again and the survey computed
};

// The exchange of one open document; the sent flag lives as long as it does.
class SpreadsheetExchange {
 public:
  // "Bearbeiten in &Excel": sets the sent flag, copies the workbook from the
  // program folder into the working folder when it is there (replacing an
  // older copy), writes the table file (include mode 0: records read from
  // include files stay out, the records naming the files stay in) and opens
  // the workbook, or the table file itself when no workbook is installed.
  ExchangeResult Edit(const doc::SurveyStore& store, const platform::SettingsStore& settings,
                      const platform::Paths& paths, platform::Shell& shell, platform::Prompter& prompter);

  // "&Laden aus Excel": asks first while nothing was sent, sets the sent
  // flag, imports the table file with mode 0 (replacing the records; a file
  // the import refuses leaves them as they were), then reads the include
  // files again and computes. `documentFolder` resolves include names. A
  // table file without a single character but blanks (a failed save) is
  // refused with its message instead of emptying the document.
  ExchangeResult Load(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                      const platform::SettingsStore& settings, const platform::Paths& paths,
                      platform::Prompter& prompter);

  bool sent() const { return m_sent; }
  // The compute outcome of the last load's include update.
  const calc::ComputeOutcome& outcome() const { return m_outcome; }

 private:
  bool m_sent = false;
  calc::ComputeOutcome m_outcome;
};

}  // namespace hp::periphery
