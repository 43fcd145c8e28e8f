// The survey data editor "Vermessungsdaten bearbeiten" with its option
// dialogs "Datensatz anlegen" and "Datensatz suchen". The window moves texts
// between its widgets and the editor model of edit/DataEditor.h, which holds
// every rule; the window only asks the option questions and opens the
// neighbouring dialogs (calculator, distance, include update, files).
#pragma once

#include <QStringList>
#include <map>
#include <memory>
#include <optional>

#include "app/DialogBase.h"
#include "app/dialogs/FollowUp.h"
#include "doc/Station.h"
#include "edit/DataEditor.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QButtonGroup;

namespace hp::app {

class CPlanDoc;

// A choice among a few placements or directions with one check box below
// ("Datensatz anlegen", "Datensatz suchen").
class COptionChoiceDialog : public CDialogBase {
  Q_OBJECT

 public:
  COptionChoiceDialog(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices,
                      int preset, const QString& checkText, bool checked);
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

class CDataEditorDialog : public CDialogBase {
  Q_OBJECT

 public:
  // `marked` is the document's marked record (may be null).
  CDataEditorDialog(QWidget* parent, CPlanDoc& doc, const doc::SurveyRecord** marked);
  ~CDataEditorDialog() override;

  edit::DataEditor& editor() { return *m_editor; }
  // Shows the form as the model has it.
  void Refresh();
  // The button a follow-up asked for when the window closed.
  FollowUp followUp() const { return m_followUp; }

  QPushButton* button(edit::Button b) const { return m_buttons.at(b); }
  QWidget* field(edit::Field f) const { return m_fields.at(f); }

  void reject() override;
  // The editor's "Koordinaten" button: the coordinates dialog on the shown
  // record.
  void Coordinates();

 private:
  void BuildFields();
  QWidget* BuildButtons(bool wide);
  void Arrange(bool wide);
  QPushButton* AddButton(edit::Button b, const char* text);
  QLineEdit* AddEdit(edit::Field f);
  QComboBox* AddCombo(edit::Field f);
  void FillCombo(edit::Field f, const std::vector<edit::Choice>& choices);
  void ShowField(edit::Field f);
  void MarkField(std::optional<edit::Field> f);
  void FocusAfterStart();
  void Clicked(edit::Button b);
  void New();
  void SearchStart();
  void Calculator();
  void UpdateIncludes();
  void ChooseFile(edit::Field f);
  void OpenFile(edit::Field f);
  void Finish(FollowUp::Next next);

  CPlanDoc& m_doc;
  const doc::SurveyRecord** m_marked;
  std::unique_ptr<edit::DataEditor> m_editor;
  std::map<edit::Field, QWidget*> m_fields;
  std::map<edit::Button, QPushButton*> m_buttons;
  std::map<edit::Field, QGroupBox*> m_groups;
  QLineEdit *m_number = nullptr, *m_type = nullptr, *m_include = nullptr, *m_status = nullptr;
  QLabel* m_count = nullptr;
  QGroupBox *m_refGroup = nullptr, *m_stationGroup = nullptr, *m_lineGroup = nullptr, *m_sectionGroup = nullptr,
            *m_infoGroup = nullptr, *m_refCoordGroup = nullptr, *m_coordGroup = nullptr;
  std::vector<QPushButton*> m_fileButtons;
  FollowUp m_followUp;
};

// The editor on record `startRecord` (from 1; 0 opens the record a failed
// compute pass asked to load, else the document's current record). Returns
// what opens next: nothing, the records overview or the loop closure
// evaluation.
// With `coordinates` the coordinates dialog opens at once over the editor
// (after placing a station on the map was cancelled).
FollowUp RunDataEditor(QWidget* parent, CPlanDoc& doc, int startRecord,
                       const doc::SurveyRecord** marked = nullptr, bool coordinates = false);
// The editor opened to show `station` (the drawing's "&Daten bearbeiten").
FollowUp RunDataEditorAtStation(QWidget* parent, CPlanDoc& doc, const doc::StationId& station,
                                const doc::SurveyRecord** marked = nullptr);

}  // namespace hp::app
