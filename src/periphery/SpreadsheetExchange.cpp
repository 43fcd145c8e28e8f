// The spreadsheet exchange's two commands.
#include "periphery/SpreadsheetExchange.h"

#include <fstream>
#include <system_error>

#include "export/ExportFile.h"
#include "import/DocumentImport.h"
#include "import/TextImport.h"

namespace hp::periphery {

namespace {

// Whether a file holds nothing but blanks and line ends; false when it
// cannot be read (the import reports that).
bool HoldsNothing(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  for (char c; in.get(c);) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return in.eof();
}

}  // namespace

std::optional<std::filesystem::path> WorkingFolder(const platform::Paths& paths) {
  const std::filesystem::path appData = paths.AppDataFolder();
  if (appData.empty()) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(appData, error)) return std::nullopt;
  const std::filesystem::path folder = appData / "Hollowplan" / "Hollowplan 22";
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  return folder;
}

ExchangeResult SpreadsheetExchange::Edit(const doc::SurveyStore& store, const platform::SettingsStore& settings,
                                         const platform::Paths& paths, platform::Shell& shell,
                                         platform::Prompter& prompter) {
  m_sent = true;
  const auto folder = WorkingFolder(paths);
  if (!folder) return ExchangeResult::NoFolder;
  std::error_code error;
  const std::filesystem::path workbook = *folder / texts::kWorkbook;
  const std::filesystem::path installed = paths.ProgramFolder() / texts::kWorkbook;
  bool haveWorkbook = false;
  if (std::filesystem::is_regular_file(installed, error)) {
    haveWorkbook = std::filesystem::copy_file(installed, workbook,
                                              std::filesystem::copy_options::overwrite_existing, error);
  }
  const std::filesystem::path table = *folder / texts::kTableFile;
  if (store.currentWorksheet == nullptr) return ExchangeResult::WriteFailed;
  const exports::ExportContext context{store, *store.currentWorksheet, settings, {}, 0};
  if (!exports::ExportFile(table, context, prompter)) return ExchangeResult::WriteFailed;
  return shell.Open((haveWorkbook ? workbook : table).string()) ? ExchangeResult::Opened
                                                                  : ExchangeResult::OpenFailed;
}

ExchangeResult SpreadsheetExchange::Load(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                                         const platform::SettingsStore& settings, const platform::Paths& paths,
                                         platform::Prompter& prompter) {
  if (!m_sent && prompter.AskOkCancel(texts::kNotSentQuestion, platform::Icon::Question) ==
                     platform::Answer::Cancel)
    return ExchangeResult::Cancelled;
  m_sent = true;
  const auto folder = WorkingFolder(paths);
  if (!folder) return ExchangeResult::NoFolder;
  const std::filesystem::path table = *folder / texts::kTableFile;
  std::error_code error;
  if (std::filesystem::is_regular_file(table, error) && HoldsNothing(table)) {
    prompter.Message(texts::kEmptyTable, platform::Icon::Exclamation);
    return ExchangeResult::Refused;
  }
  if (!imports::ImportTable(store, table, 0, prompter)) return ExchangeResult::Refused;
  m_outcome = imports::UpdateIncludes(store, documentFolder, prompter, settings);
  return ExchangeResult::Loaded;
}

}  // namespace hp::periphery
