// The worksheet commands on the store.
#include "doc/WorksheetCommands.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "base/Cp1252.h"

namespace hp::doc {
namespace {

int Count(const SurveyStore& store) { return static_cast<int>(store.worksheets.size()); }

int ClampBefore(const SurveyStore& store, int before) { return std::clamp(before, 0, Count(store)); }

// Selects `index` and derives the current position as the reader does, so
// that it never refers to a position of a destroyed or refilled list.
void MakeCurrent(SurveyStore& store, int index) {
  store.SelectWorksheet(index);
  const Worksheet& current = *store.currentWorksheet;
  store.currentPosition = current.positions.empty() ? nullptr : current.positions.back().get();
}

void Insert(SurveyStore& store, std::unique_ptr<Worksheet> worksheet, int before) {
  const int at = ClampBefore(store, before);
  store.worksheets.insert(store.worksheets.begin() + at, std::move(worksheet));
  store.settings.worksheetCount = static_cast<uint32_t>(store.worksheets.size());
  MakeCurrent(store, at);
}

bool Asked(platform::Prompter& prompter, std::string_view text) {
  return prompter.AskOkCancel(text, platform::Icon::Question) == platform::Answer::Ok;
}

}  // namespace

int CurrentWorksheetPosition(const SurveyStore& store) {
  const int index = store.IndexOf(store.currentWorksheet);
  if (index < 0) throw std::logic_error("the current worksheet is not in the worksheet list");
  return index;
}

bool IsWorksheetCommandEnabled(WorksheetCommand command, const SurveyStore& store) {
  if (store.currentWorksheet == nullptr) return false;
  const int count = Count(store);
  const int current = CurrentWorksheetPosition(store);
  switch (command) {
    case WorksheetCommand::Select:
    case WorksheetCommand::Move:
    case WorksheetCommand::Delete: return count >= 2;
    case WorksheetCommand::Previous: return current > 0;
    case WorksheetCommand::Next: return current < count - 1;
    case WorksheetCommand::Reset:
      // The survey protocol has no sheet settings to reset.
      return store.currentWorksheet->displayType() != DisplayType::Protocol;
    case WorksheetCommand::Restore:
    case WorksheetCommand::New:
    case WorksheetCommand::Rename:
    case WorksheetCommand::Copy: return true;
  }
  return false;
}

std::vector<std::string> WorksheetNames(const SurveyStore& store) {
  std::vector<std::string> names;
  names.reserve(store.worksheets.size() + 1);
  for (const auto& ws : store.worksheets) names.push_back(base::Cp1252ToUtf8(ws->sheetDesignation()));
  return names;
}

std::vector<std::string> WorksheetNamesWithEnd(const SurveyStore& store) {
  std::vector<std::string> names = WorksheetNames(store);
  names.emplace_back(kEndEntry);
  return names;
}

std::string CurrentWorksheetName(const SurveyStore& store) {
  return base::Cp1252ToUtf8(store.currentWorksheet->sheetDesignation());
}

int DefaultNewPosition(const SurveyStore& store) { return CurrentWorksheetPosition(store); }
int DefaultCopyPosition(const SurveyStore& store) { return CurrentWorksheetPosition(store) + 1; }
int DefaultMovePosition(const SurveyStore& store) { return CurrentWorksheetPosition(store) + 1; }

std::string CopyNameProposal(const SurveyStore& store) {
  const std::string name = CurrentWorksheetName(store);
  if (name.find(kCopyNamePrefix) != std::string::npos) return name;
  return std::string(kCopyNamePrefix) + name;
}

std::string StoredSheetName(std::string_view nameUtf8) {
  std::string stored = base::Utf8ToCp1252(nameUtf8);
  if (stored.size() > kSheetNameLength) stored.resize(kSheetNameLength);
  return stored;
}

bool IsSheetNameAccepted(std::string_view nameUtf8) {
  const std::string stored = StoredSheetName(nameUtf8);
  // The field ends at the first zero byte; blanks alone name nothing either.
  const std::string_view kept = std::string_view(stored).substr(0, stored.find('\0'));
  return kept.find_first_not_of(" \t") != std::string_view::npos;
}

int MovedPosition(int current, int before) { return current < before ? before - 1 : before; }

bool SelectWorksheetAt(SurveyStore& store, int index) {
  if (index < 0 || index >= Count(store) || index == CurrentWorksheetPosition(store)) return false;
  MakeCurrent(store, index);
  return true;
}

bool SelectPreviousWorksheet(SurveyStore& store) {
  return SelectWorksheetAt(store, CurrentWorksheetPosition(store) - 1);
}

bool SelectNextWorksheet(SurveyStore& store) { return SelectWorksheetAt(store, CurrentWorksheetPosition(store) + 1); }

bool NewWorksheet(SurveyStore& store, std::string_view nameUtf8, int before, bool& resetFlag) {
  if (!IsSheetNameAccepted(nameUtf8)) return false;
  auto worksheet = std::make_unique<Worksheet>();
  InitWorksheet(*worksheet);
  worksheet->setSheetDesignation(StoredSheetName(nameUtf8));
  Insert(store, std::move(worksheet), before);
  resetFlag = true;
  return true;
}

bool CopyWorksheet(SurveyStore& store, std::string_view nameUtf8, int before) {
  if (!IsSheetNameAccepted(nameUtf8)) return false;
  auto copy = std::make_unique<Worksheet>(*store.currentWorksheet);
  copy->setSheetDesignation(StoredSheetName(nameUtf8));
  Insert(store, std::move(copy), before);
  return true;
}

bool MoveWorksheet(SurveyStore& store, int before) {
  const int current = CurrentWorksheetPosition(store);
  const int target = MovedPosition(current, ClampBefore(store, before));
  if (target == current) return false;
  auto& list = store.worksheets;
  std::unique_ptr<Worksheet> moving = std::move(list[static_cast<size_t>(current)]);
  list.erase(list.begin() + current);
  list.insert(list.begin() + target, std::move(moving));
  MakeCurrent(store, target);
  return true;
}

bool RenameWorksheet(SurveyStore& store, std::string_view nameUtf8) {
  if (!IsSheetNameAccepted(nameUtf8)) return false;
  const std::string stored = StoredSheetName(nameUtf8);
  // The field cuts at the first zero byte, so compare what it will hold.
  const std::string_view kept = std::string_view(stored).substr(0, stored.find('\0'));
  if (store.currentWorksheet->sheetDesignation() == kept) return false;
  store.currentWorksheet->setSheetDesignation(kept);
  return true;
}

std::string DeleteQuestion(const SurveyStore& store) {
  std::string text(worksheet_messages::kDeleteQuestion);
  text.replace(text.find("%s"), 2, CurrentWorksheetName(store));
  return text;
}

bool DeleteWorksheet(SurveyStore& store) {
  if (Count(store) < 2) return false;
  const int current = CurrentWorksheetPosition(store);
  store.currentWorksheet = nullptr;
  store.currentPosition = nullptr;
  store.worksheets.erase(store.worksheets.begin() + current);
  store.settings.worksheetCount = static_cast<uint32_t>(store.worksheets.size());
  MakeCurrent(store, std::min(current, Count(store) - 1));
  return true;
}

bool AskAndDeleteWorksheet(SurveyStore& store, platform::Prompter& prompter) {
  if (!IsWorksheetCommandEnabled(WorksheetCommand::Delete, store)) return false;
  if (!Asked(prompter, DeleteQuestion(store))) return false;
  return DeleteWorksheet(store);
}

void RestoreWorksheet(SurveyStore& store, const Worksheet& backup) {
  Worksheet& current = *store.currentWorksheet;
  if (&current == &backup) return;
  // Worksheet's copy assignment keeps the vector object and refills it.
  current = backup;
  store.currentPosition = current.positions.empty() ? nullptr : current.positions.back().get();
}

bool AskAndRestoreWorksheet(SurveyStore& store, const Worksheet& backup, platform::Prompter& prompter) {
  if (!Asked(prompter, worksheet_messages::kRestoreQuestion)) return false;
  RestoreWorksheet(store, backup);
  return true;
}

void ResetWorksheet(Worksheet& worksheet, bool& resetFlag) {
  worksheet.setZoomPercent(100.0);
  worksheet.setViewDistance(0.0);
  worksheet.setMarginLeft(20);
  worksheet.setMarginRight(20);
  worksheet.setMarginTop(20);
  worksheet.setMarginBottom(20);
  worksheet.setAutomaticScale(1);
  worksheet.setLandscape(0);       // i16 at 1632
  worksheet.setPrintSubSheets(0);  // i32 at 2678
  worksheet.setCentreOnPage(1);    // i32 at 2822
  resetFlag = true;
}

bool AskAndResetWorksheet(SurveyStore& store, platform::Prompter& prompter, bool& resetFlag) {
  if (!IsWorksheetCommandEnabled(WorksheetCommand::Reset, store)) return false;
  // The camera view resets without asking.
  if (store.currentWorksheet->displayType() != DisplayType::Animation &&
      !Asked(prompter, worksheet_messages::kResetQuestion)) {
    return false;
  }
  ResetWorksheet(*store.currentWorksheet, resetFlag);
  return true;
}

}  // namespace hp::doc
