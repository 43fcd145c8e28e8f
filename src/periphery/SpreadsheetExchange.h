// The spreadsheet exchange: the document's records handed to a spreadsheet
// program as table text in a per-user working folder ("Bearbeiten in
// &Excel") and read back from there, replacing the records ("&Laden aus
// Excel"). The spreadsheet program does the editing; this module only writes
// and reads the table file, notes beside it which document it was written
// for, and asks the desktop to open it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "periphery/SheetOrigin.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace hp::periphery {

namespace texts {
inline constexpr std::string_view kEditCommand = "Bearbeiten in &Excel";
inline constexpr std::string_view kEditStatus = "Vermessungsdaten in Excel bearbeiten.";
inline constexpr std::string_view kLoadCommand = "&Laden aus Excel";
inline constexpr std::string_view kLoadStatus = "Vermessungsdaten aus Excel laden.";
inline constexpr std::string_view kNotSentQuestion =
    "Die Vermessungsdaten wurden noch nicht nach Excel übertragen. Sollen sie wirklich geladen werden?";
inline constexpr std::string_view kEmptyTable =
    "Die Tabelle ist leer. Die Vermessungsdaten des Dokuments bleiben unverändert.";
// %1 the table file.
inline constexpr std::string_view kNoTable =
    "Es gibt keine Tabelle aus Excel zum Laden: „%1“ fehlt oder ist keine Datei. "
    "Übertragen Sie die Vermessungsdaten zuerst mit „Bearbeiten in Excel“.";
// %1 when the table was written, %2 the document it was written for, %3 the loading document.
inline constexpr std::string_view kOtherDocument =
    "Die Tabelle in Excel wurde am %1 für das Dokument „%2“ geschrieben, nicht für „%3“. "
    "Sie wird nicht geladen, die Vermessungsdaten von „%3“ bleiben unverändert.\n"
    "Laden Sie die Tabelle in „%2“, oder übertragen Sie zuerst mit „Bearbeiten in Excel“ "
    "die Daten dieses Dokuments.";
// %1 when the table was written, %2 the loading document, %3 kSavedSince or kNotSavedSince.
inline constexpr std::string_view kThisDocumentQuestion =
    "Die Tabelle in Excel wurde am %1 für dieses Dokument („%2“) geschrieben und %3.\n"
    "Sollen die Vermessungsdaten des Dokuments durch die Tabelle ersetzt werden?";
// %1 when the spreadsheet last saved the table.
inline constexpr std::string_view kSavedSince = "in Excel zuletzt am %1 gespeichert";
inline constexpr std::string_view kNotSavedSince = "seitdem nicht mehr gespeichert";
// %1 when the table was last saved, %2 the loading document; followed by
// kLoadAnyway, or by kNotSentQuestion while nothing was sent.
inline constexpr std::string_view kUnknownWriter =
    "Es ist nicht vermerkt, für welches Dokument die Tabelle in Excel geschrieben wurde (zuletzt gespeichert am "
    "%1). Stammt sie aus einem anderen Dokument, ersetzt sie die Vermessungsdaten von „%2“ durch dessen "
    "Daten.\n";
inline constexpr std::string_view kLoadAnyway = "Soll sie trotzdem geladen werden?";
// An unsaved document's title in these messages.
inline constexpr std::string_view kUnsaved = "%1 (nicht gespeichert)";
inline constexpr std::string_view kTableFile = "Hollowplan.txt";
inline constexpr std::string_view kWorkbook = "Hollowplan.xls";
// Beside the table: which document it was written for (SheetOrigin).
inline constexpr std::string_view kOriginFile = "Hollowplan.herkunft";
}  // namespace texts

// The working folder: the application-data folder, then "Hollowplan", then
// "Hollowplan 22", both created when missing. Nothing when there is no
// application-data folder or the sub-folders cannot be made.
std::optional<std::filesystem::path> WorkingFolder(const platform::Paths& paths);

// What one command did.
enum class ExchangeResult {
  NoFolder,     // no working folder: nothing more was done
  WriteFailed,  // the table could not be written (its message was shown)
  OpenFailed,   // written, but the desktop opened nothing
  Opened,       // written and handed to the spreadsheet program
  Cancelled,    // the question before loading was answered with Cancel
  Refused,      // the import refused the table (its message was shown); the records are unchanged
  Loaded,       // the records were replaced, the include files read again and the survey computed
};

// The exchange of one open document; the sent flag and the window identity
// live as long as it does.
class SpreadsheetExchange {
 public:
  // Draws a random identity for this window, so that tables written for two
  // unsaved documents (or two program instances) are told apart.
  SpreadsheetExchange();

  // "Bearbeiten in &Excel": sets the sent flag, copies the workbook from the
  // program folder into the working folder when it is there (replacing an
  // older copy), writes the table file (include mode 0: records read from
  // include files stay out, the records naming the files stay in), notes
  // beside it that it was written for `document` by this window, and opens
  // the workbook, or the table file itself when no workbook is installed.
  // The note of an earlier table is removed before the table is written; a
  // note that cannot be written leaves the table without one (loading then
  // warns).
  ExchangeResult Edit(const doc::SurveyStore& store, const SheetDocument& document,
                      const platform::SettingsStore& settings, const platform::Paths& paths, platform::Shell& shell,
                      platform::Prompter& prompter);

  // "&Laden aus Excel": imports the table file with mode 0 (replacing the
  // records; a file the import refuses leaves them as they were), then reads
  // the include files again and computes. `documentFolder` resolves include
  // names. Before that:
  // - a missing table, or one without a single character but blanks (a
  //   failed save), is refused with its message;
  // - a table written for another document (another file, or another window
  //   of an unsaved document) is refused with a message naming both;
  // - a table written for this document loads at once when this window sent
  //   or loaded before, and otherwise after a question naming the document,
  //   when the table was written and when the spreadsheet last saved it;
  // - a table without a note of its document loads only after a warning.
  // Cancel ends the command; past the questions the sent flag is set.
  ExchangeResult Load(doc::SurveyStore& store, const SheetDocument& document,
                      const std::filesystem::path& documentFolder, const platform::SettingsStore& settings,
                      const platform::Paths& paths, platform::Prompter& prompter);

  // After the document was saved (perhaps under a new name): a table this
  // window wrote is noted for the file now, so it still loads after the
  // document is closed and opened again.
  void DocumentSaved(const SheetDocument& document);

  bool sent() const { return m_sent; }
  // The compute outcome of the last load's include update.
  const calc::ComputeOutcome& outcome() const { return m_outcome; }

 private:
  // The refusals and questions before loading the table in `folder`: the
  // result that ends the command, or nothing when the table may be loaded.
  std::optional<ExchangeResult> Check(const std::filesystem::path& folder, const SheetDocument& document,
                                      platform::Prompter& prompter) const;

  bool m_sent = false;
  std::string m_window;
  // The working folder of the last table this window wrote.
  std::filesystem::path m_wroteIn;
  calc::ComputeOutcome m_outcome;
};

}  // namespace hp::periphery
