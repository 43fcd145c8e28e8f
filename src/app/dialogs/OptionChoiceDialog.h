// The data editor's option dialogs "Datensatz anlegen" and "Datensatz
// suchen": where a new record goes and which way a search runs, each with
// the choice whether it starts at once next time.
#pragma once

#include <QStringList>

#include "app/DialogBase.h"
#include "edit/DataEditor.h"

class QButtonGroup;
class QCheckBox;

namespace hp::app {

// A choice among a few placements or directions with one check box below
// ("Datensatz anlegen", "Datensatz suchen").
class COptionChoiceDialog : public CDialogBase {
  Q_OBJECT

 public:
  COptionChoiceDialog(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices, int preset,
                      const QString& checkText, bool checked);
  int choice() const;
  bool checked() const;

 private:
  QButtonGroup* m_group;
  QCheckBox* m_check;
};

// "Datensatz anlegen" / "Datensatz suchen" with the editor's remembered
// choice; false on "Abbrechen".
bool AskPlacement(AppContext& app, QWidget* parent, edit::EditorSettings& settings);
bool AskSearchDirection(AppContext& app, QWidget* parent, edit::EditorSettings& settings);

}  // namespace hp::app
