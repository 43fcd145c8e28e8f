// The spreadsheet exchange's two commands.
#include "periphery/SpreadsheetExchange.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <random>
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

// `text` with "%1", "%2", ... replaced by the arguments; the arguments are
// inserted as they stand and never read as placeholders themselves.
std::string Filled(std::string_view text, std::initializer_list<std::string_view> arguments) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && static_cast<size_t>(next - '1') < arguments.size()) {
      out += arguments.begin()[next - '1'];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A document as the messages name it: its full file name, or its window
// title while it was never saved.
std::string Named(const std::filesystem::path& path, std::string_view title) {
  return path.empty() ? Filled(texts::kUnsaved, {title}) : path.string();
}

std::string RandomIdentity() {
  std::random_device random;
  std::string identity;
  char digits[9];
  for (int i = 0; i < 4; ++i) {
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(random()));
    identity += digits;
  }
  return identity;
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

SpreadsheetExchange::SpreadsheetExchange() : m_window(RandomIdentity()) {}

ExchangeResult SpreadsheetExchange::Edit(const doc::SurveyStore& store, const SheetDocument& document,
                                         const platform::SettingsStore& settings, const platform::Paths& paths,
                                         platform::Shell& shell, platform::Prompter& prompter) {
  m_sent = true;
  const auto folder = WorkingFolder(paths);
  if (!folder) return ExchangeResult::NoFolder;
  std::error_code error;
  const std::filesystem::path workbook = *folder / texts::kWorkbook;
  const std::filesystem::path installed = paths.ProgramFolder() / texts::kWorkbook;
  bool haveWorkbook = false;
  if (std::filesystem::is_regular_file(installed, error)) {
    haveWorkbook =
        std::filesystem::copy_file(installed, workbook, std::filesystem::copy_options::overwrite_existing, error);
  }
  const std::filesystem::path table = *folder / texts::kTableFile;
  if (store.currentWorksheet == nullptr) return ExchangeResult::WriteFailed;
  // The older note goes first: a new table whose note could not be written
  // must not pass for the older table's document.
  const std::filesystem::path originFile = *folder / texts::kOriginFile;
  std::filesystem::remove(originFile, error);
  const exports::ExportContext context{store, *store.currentWorksheet, settings, {}, exports::TableIncludes::Without};
  if (!exports::ExportFile(table, context, prompter)) return ExchangeResult::WriteFailed;
  if (const auto written = ModificationTime(table)) {
    WriteSheetOrigin(originFile, {document.path, document.title, m_window, *written});
    m_wroteIn = *folder;
  }
  return shell.Open((haveWorkbook ? workbook : table).string()) ? ExchangeResult::Opened : ExchangeResult::OpenFailed;
}

ExchangeResult SpreadsheetExchange::Load(doc::SurveyStore& store, const SheetDocument& document,
                                         const std::filesystem::path& documentFolder,
                                         const platform::SettingsStore& settings, const platform::Paths& paths,
                                         platform::Prompter& prompter) {
  const auto folder = WorkingFolder(paths);
  if (!folder) return ExchangeResult::NoFolder;
  if (const auto stop = Check(*folder, document, prompter)) return *stop;
  m_sent = true;
  if (!imports::ImportTable(store, *folder / texts::kTableFile, imports::TableImportMode::Replace, prompter))
    return ExchangeResult::Refused;
  m_outcome = imports::UpdateIncludes(store, documentFolder, prompter, settings);
  return ExchangeResult::Loaded;
}

std::optional<ExchangeResult> SpreadsheetExchange::Check(const std::filesystem::path& folder,
                                                         const SheetDocument& document,
                                                         platform::Prompter& prompter) const {
  const std::filesystem::path table = folder / texts::kTableFile;
  std::error_code error;
  if (!std::filesystem::is_regular_file(table, error)) {
    prompter.Message(Filled(texts::kNoTable, {table.string()}), platform::Icon::Exclamation);
    return ExchangeResult::Refused;
  }
  if (HoldsNothing(table)) {
    prompter.Message(texts::kEmptyTable, platform::Icon::Exclamation);
    return ExchangeResult::Refused;
  }
  const auto origin = ReadSheetOrigin(folder / texts::kOriginFile);
  const std::string name = Named(document.path, document.title);
  const auto saved = ModificationTime(table);
  std::string question;
  platform::Icon icon = platform::Icon::Question;
  switch (OwnerOf(origin, document, m_window)) {
    case SheetOwner::OtherDocument:
      prompter.Message(
          Filled(texts::kOtherDocument, {ShownTime(origin->written), Named(origin->document, origin->title), name}),
          platform::Icon::Stop);
      return ExchangeResult::Refused;
    case SheetOwner::ThisDocument:
      // The usual round trip of this window asks nothing.
      if (m_sent) return std::nullopt;
      question = Filled(texts::kThisDocumentQuestion,
                        {ShownTime(origin->written), name,
                         saved && *saved != origin->written ? Filled(texts::kSavedSince, {ShownTime(*saved)})
                                                            : std::string(texts::kNotSavedSince)});
      break;
    case SheetOwner::Unknown:
      question = Filled(texts::kUnknownWriter, {ShownTime(saved.value_or(std::chrono::system_clock::now())), name});
      question += m_sent ? texts::kLoadAnyway : texts::kNotSentQuestion;
      icon = platform::Icon::Exclamation;
      break;
  }
  if (prompter.AskOkCancel(question, icon) == platform::Answer::Cancel) return ExchangeResult::Cancelled;
  return std::nullopt;
}

void SpreadsheetExchange::DocumentSaved(const SheetDocument& document) {
  if (m_wroteIn.empty()) return;
  const std::filesystem::path originFile = m_wroteIn / texts::kOriginFile;
  auto origin = ReadSheetOrigin(originFile);
  if (!origin || origin->window != m_window) return;
  origin->document = document.path;
  origin->title = document.title;
  WriteSheetOrigin(originFile, *origin);
}

}  // namespace hp::periphery
