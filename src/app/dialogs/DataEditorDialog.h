// The survey data editor "Vermessungsdaten bearbeiten". The window moves
// texts between its widgets and the editor model of edit/DataEditor.h, which
// holds every rule; the window only asks the option questions (the dialogs
// of OptionChoiceDialog.h) and opens the neighbouring dialogs (calculator,
// distance, include update, files).
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "app/DialogBase.h"
#include "app/dialogs/FollowUp.h"
#include "app/dialogs/OptionChoiceDialog.h"
#include "doc/Station.h"
#include "edit/DataEditor.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hp::app {

class CPlanDoc;

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
FollowUp RunDataEditor(QWidget* parent, CPlanDoc& doc, int startRecord, const doc::SurveyRecord** marked = nullptr,
                       bool coordinates = false);
// The editor opened to show `station` (the drawing's "&Daten bearbeiten").
FollowUp RunDataEditorAtStation(QWidget* parent, CPlanDoc& doc, const doc::StationId& station,
                                const doc::SurveyRecord** marked = nullptr);

}  // namespace hp::app
