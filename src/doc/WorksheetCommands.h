// The worksheet commands of a document ("Arbeits&blatt" menu):
// select, previous, next, new, copy, move, rename, delete, restore and
// reset, their enabling rules, and the texts and default selections their
// dialogs show. The functions work on the store alone; the caller shows the
// dialogs and, when a function reports a change, does the document's
// follow-up (drawing cache discarded, modified, worksheet list refilled,
// backup refreshed, views redrawn).
//
// Positions count from 0. A "before" position p in [0, count] names the
// worksheet the new, copied or moved one is put in front of; p == count is
// the list's last entry "(Ende)". Names are UTF-8 at this interface and are
// stored in Windows-1252, cut to kSheetNameLength characters.
//
// After every function that changes which worksheet is current or replaces
// the current worksheet's positions, `currentWorksheetIndex`,
// `currentWorksheet` and `currentPosition` (the last position of the current
// worksheet, as after reading) are derived anew, so no reference is left to a
// destroyed worksheet or position.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "platform/Prompter.h"

namespace hp::doc {

// The sheet designation field holds 82 bytes; names are cut to 80 characters.
inline constexpr size_t kSheetNameLength = 80;
inline constexpr std::string_view kNewWorksheetName = "<Blattbezeichnung>";
inline constexpr std::string_view kCopyNamePrefix = "Kopie von ";  // with the blank
inline constexpr std::string_view kEndEntry = "(Ende)";

namespace worksheet_messages {
inline constexpr std::string_view kDeleteQuestion = "Soll das Arbeitsblatt %s wirklich gelöscht werden?";
inline constexpr std::string_view kRestoreQuestion = "Änderungen im Arbeitsblatt wirklich verwerfen?";
inline constexpr std::string_view kResetQuestion = "Arbeitsblatt wirklich zurücksetzen?";
// A worksheet is chosen by its name: new, copied and renamed ones need one.
inline constexpr std::string_view kEnterSheetName = "Geben Sie einen Namen für das Arbeitsblatt ein.";
}  // namespace worksheet_messages

// The commands with their menu command ids.
enum class WorksheetCommand {
  Select = 32802,
  Previous = 32809,
  Next = 32808,
  Restore = 32818,
  Reset = 6024,
  New = 1015,
  Rename = 32807,
  Copy = 32803,
  Move = 32804,
  Delete = 32805,
};

// Enabling rules: select, move and delete need at least two worksheets;
// previous is off on the first, next on the last; reset is off for display
// type 6. The others are always on (while a worksheet is current).
bool IsWorksheetCommandEnabled(WorksheetCommand command, const SurveyStore& store);

// Position of the current worksheet (from 0).
int CurrentWorksheetPosition(const SurveyStore& store);

// --- Dialog contents -------------------------------------------------------

// The sheet designations of all worksheets in list order, as UTF-8.
std::vector<std::string> WorksheetNames(const SurveyStore& store);
// The same followed by the entry "(Ende)" (the lists of new, copy and move).
std::vector<std::string> WorksheetNamesWithEnd(const SurveyStore& store);
// The current worksheet's sheet designation as UTF-8.
std::string CurrentWorksheetName(const SurveyStore& store);

// Default selections: new inserts before the current worksheet, copy and
// move before the one after it ("(Ende)" when the current is the last).
int DefaultNewPosition(const SurveyStore& store);
int DefaultCopyPosition(const SurveyStore& store);
int DefaultMovePosition(const SurveyStore& store);

// "Kopie von " followed by the current name; the name alone when it already
// contains "Kopie von ".
std::string CopyNameProposal(const SurveyStore& store);

// The name as it is stored: UTF-8 to Windows-1252 (characters the code page
// lacks become "?"), first kSheetNameLength characters.
std::string StoredSheetName(std::string_view nameUtf8);

// Whether a name may name a worksheet: it keeps at least one character
// other than blanks once stored. New, copy and rename refuse other names
// (kEnterSheetName) and change nothing.
bool IsSheetNameAccepted(std::string_view nameUtf8);

// Where a worksheet at `current` ends up when moved before `before`:
// before - 1 when current < before, else before.
int MovedPosition(int current, int before);

// --- Commands --------------------------------------------------------------
// Each returns whether the worksheet list, a name or the current worksheet
// changed (then the caller does the document's follow-up).

// Makes the worksheet at `index` current. False (nothing done) for the
// current index or an index outside the list (e.g. -1 for no selection).
bool SelectWorksheetAt(SurveyStore& store, int index);
// currentWorksheetIndex - 1 / + 1; false on the first / last worksheet.
bool SelectPreviousWorksheet(SurveyStore& store);
bool SelectNextWorksheet(SurveyStore& store);

// Creates a worksheet with the worksheet defaults and the given name, puts
// it before position `before` (clamped to [0, count]), makes it current and
// sets `resetFlag` (the document's reset flag). False (nothing done) for a
// name IsSheetNameAccepted refuses.
bool NewWorksheet(SurveyStore& store, std::string_view nameUtf8, int before, bool& resetFlag);

// Copies the current worksheet (image and every animation position), names
// the copy, puts it before `before` (clamped) and makes it current. False
// (nothing done) for a name IsSheetNameAccepted refuses.
bool CopyWorksheet(SurveyStore& store, std::string_view nameUtf8, int before);

// Moves the current worksheet with its positions before `before` (clamped);
// it stays current at MovedPosition. False when that is where it already is
// or there is only one worksheet.
bool MoveWorksheet(SurveyStore& store, int before);

// Stores the name (StoredSheetName) in the current worksheet. False when the
// stored name does not change or is refused (IsSheetNameAccepted). Also the
// main window's editable list.
bool RenameWorksheet(SurveyStore& store, std::string_view nameUtf8);

// The delete question with the current name filled in (UTF-8).
std::string DeleteQuestion(const SurveyStore& store);
// Destroys the current worksheet and its positions; the worksheet now at
// the same position becomes current, or the new last one. False (nothing
// done) when it is the only worksheet.
bool DeleteWorksheet(SurveyStore& store);
// The command: disabled with one worksheet; asks DeleteQuestion (OK/Cancel).
bool AskAndDeleteWorksheet(SurveyStore& store, platform::Prompter& prompter);

// Copies the backup's image and positions into the current worksheet; the
// worksheet keeps its own position list object, which is refilled.
void RestoreWorksheet(SurveyStore& store, const Worksheet& backup);
// The command: asks kRestoreQuestion (OK/Cancel); true when restored.
bool AskAndRestoreWorksheet(SurveyStore& store, const Worksheet& backup, platform::Prompter& prompter);

// Resets the current worksheet's view: zoom 100 %, view distance 0, the four
// page margins 20 mm, automatic scale on, landscape (i16 at 1632) 0, print
// sub-sheets (i32 at 2678) 0, centre on page (i32 at 2822) 1; sets
// `resetFlag`.
void ResetWorksheet(Worksheet& worksheet, bool& resetFlag);
// The command: disabled for display type 6; asks kResetQuestion (OK/Cancel)
// unless the display type is 5. True when reset (the worksheet list and the
// current worksheet stay; the caller marks the document modified and
// redraws).
bool AskAndResetWorksheet(SurveyStore& store, platform::Prompter& prompter, bool& resetFlag);

}  // namespace hp::doc
