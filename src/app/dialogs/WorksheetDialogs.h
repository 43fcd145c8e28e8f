// The dialogs of the worksheet commands ("Arbeits&blatt" menu) and
// one function per command that the main window calls: it shows the dialog
// or question, carries the command out through doc/WorksheetCommands.h and
// does the document's follow-up. Each returns whether the document changed.
#pragma once

#include <QString>
#include <QStringList>

#include "app/DialogBase.h"
#include "doc/SurveyStore.h"

class QLineEdit;
class QListWidget;

namespace hp::app {

class CPlanDoc;

enum class WorksheetDialogKind {
  Select,  // "Arbeitsblatt auswählen": list of all worksheets
  New,     // "Arbeitsblatt neuanlegen": name + "einfügen vor Arbeitsblatt"
  Copy,    // "Arbeitsblatt kopieren": name + "kopieren vor Arbeitsblatt"
  Move,    // "Arbeitsblatt verschieben": "verschieben vor Arbeitsblatt"
  Rename,  // "Arbeitsblatt umbenennen": name
};

struct WorksheetDialogOptions {
  WorksheetDialogKind kind = WorksheetDialogKind::Select;
  QString name;         // New, Copy, Rename
  QStringList entries;  // Select: the sheet designations; New, Copy, Move: followed by "(Ende)"
  int selection = 0;    // position in `entries`
};

// The dialog's contents for the store: its texts and default selection.
WorksheetDialogOptions WorksheetDialogOptionsFor(WorksheetDialogKind kind, const doc::SurveyStore& store);
QString WorksheetDialogCaption(WorksheetDialogKind kind);

class CWorksheetDialog : public CDialogBase {
  Q_OBJECT

 public:
  CWorksheetDialog(AppContext& app, const WorksheetDialogOptions& options, QWidget* parent);
  // The entered name and the selected entry (the preset one when the user
  // cleared the selection).
  WorksheetDialogOptions options() const;

  // Keeps the dialog open with the name field focused while the name is one
  // no worksheet may have.
  void accept() override;

 private:
  WorksheetDialogOptions m_options;
  QLineEdit* m_name = nullptr;
  QListWidget* m_list = nullptr;
};

// The commands. Disabled commands (doc::IsWorksheetCommandEnabled) do
// nothing and return false.
bool RunSelectWorksheet(QWidget* parent, CPlanDoc& doc);
bool PreviousWorksheet(CPlanDoc& doc);
bool NextWorksheet(CPlanDoc& doc);
bool RunNewWorksheet(QWidget* parent, CPlanDoc& doc);
bool RunCopyWorksheet(QWidget* parent, CPlanDoc& doc);
bool RunMoveWorksheet(QWidget* parent, CPlanDoc& doc);
bool RunRenameWorksheet(QWidget* parent, CPlanDoc& doc);
bool RunDeleteWorksheet(CPlanDoc& doc);
bool RunRestoreWorksheet(CPlanDoc& doc);
bool RunResetWorksheet(CPlanDoc& doc);

}  // namespace hp::app
