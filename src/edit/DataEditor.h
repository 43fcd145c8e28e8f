// The survey data editor "Vermessungsdaten bearbeiten": the model behind its
// window. It walks the document's record list with the cave / passage /
// point navigation, shows one record in the form, creates new records in the
// six placements, saves a record through the check before saving and the
// computation of that record alone, searches, deletes, marks records, and
// runs the full compute pass when it closes. The window only moves texts
// between its widgets and this class and asks the questions of the two
// option dialogs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc/BlunderSettings.h"
#include "calc/ComputePass.h"
#include "doc/History.h"
#include "doc/Station.h"
#include "doc/SurveyStore.h"
#include "edit/DataEditorForm.h"
#include "edit/RecordSearch.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::edit {

enum class EditorMode { Browse, New, Search };

enum class Button {
  // Navigation: "<<", "H<", "G<", "P<", "<", "Ref", ">", ">P", ">G", ">H", ">>".
  First,
  CaveBack,
  PassageBack,
  PointBack,
  Previous,
  Ref,
  Next,
  PointForward,
  PassageForward,
  CaveForward,
  Last,
  New,
  Save,
  Cancel,
  Search,
  SearchStart,
  SearchOn,
  Delete,
  Compute,
  Options,
  Calculator,
  Mark,
  Unmark,
  Distance,
  Include,
  Coordinates,
  Overview,
  LoopEvaluation,
  Close,
};
bool IsNavigation(Button button);

// The four remembered modes (section "Settings").
struct EditorSettings {
  int placement = 5;              // "ModusNeu", a Placement
  bool autoNew = true;            // "AutoNeu"
  int searchDirection = 0;        // "ModusSuchen", a SearchDirection
  bool autoSearch = true;         // "AutoSuchen"
  calc::BlunderOptions accuracy;  // the reading accuracies of the network adjustment

  // Values outside their ranges read as the defaults.
  static EditorSettings Load(const platform::SettingsStore& program);
  void Save(platform::SettingsStore& program) const;
};

class DataEditor {
 public:
  // `marked` is the document's marked record (may be null: no marking).
  DataEditor(doc::SurveyStore& store, platform::Prompter& prompter, EditorSettings settings,
             const doc::SurveyRecord** marked = nullptr);

  // Records saved, created and deleted become steps of `history` (none:
  // they are carried out alone).
  void SetHistory(doc::History* history);
  // Whether this editor took a step since SetHistory.
  bool tookSteps() const { return m_history != nullptr && m_history->taken() != m_takenAtStart; }

  // Shows record `number` (from 1; brought into the list). The window's
  // computed flag starts as the document's `computedCurrent`.
  void Open(int number);
  // Opens on the first record whose measured station is `station`; "&Weiter"
  // then finds the next one.
  void OpenAtStation(const doc::StationId& station);

  EditorMode mode() const { return m_mode; }
  int number() const { return m_mode == EditorMode::New ? m_newNumber : m_number; }  // 0 with no records
  int count() const { return static_cast<int>(m_store.records.size()); }
  const RecordForm& form() const { return m_form; }
  std::string_view statusText() const { return m_status; }
  std::string_view typeText() const { return m_type; }
  std::string_view includeText() const { return m_include; }
  bool formEnabled() const { return m_mode != EditorMode::Browse || count() > 0; }
  bool Enabled(Button button) const;
  bool searchActive() const { return m_searchActive; }
  bool computed() const { return m_computed; }
  Button lastNavigation() const { return m_lastNavigation; }
  // The record shown (null in the new and search modes and with no records).
  const doc::SurveyRecord* current() const;
  EditorSettings& settings() { return m_settings; }
  const doc::SurveyStore& store() const { return m_store; }

  // A navigation button; nothing with an empty list or outside browsing.
  void Navigate(Button button);
  // The user changed a field.
  void Edit(Field field, std::string text);

  // "&Neu": whether "Datensatz anlegen" must be asked first; then one of
  // the two starts (the second stores the choice).
  bool NewNeedsPlacement() const { return count() > 0 && !m_placementAsked; }
  void StartNew();
  void StartNew(Placement placement, bool autoNew);

  // "S&peichern". A refused entry is told and its field returned.
  std::optional<Field> Save();
  // "Abbrechen": back to the current record.
  void Cancel();

  // "&Suchen": the form becomes a search form.
  void BeginSearch();
  // "&Suchstart" after "Datensatz suchen" (the choice is stored).
  std::optional<Field> StartSearch(SearchDirection direction, bool autoSearch);
  // "&Weiter".
  void ContinueSearch();

  // "Lös&chen" after its question; false when the user kept the record.
  bool Delete();
  // "Be&rechnen": the document's compute command.
  calc::ComputeOutcome Compute();
  // "Markieren" / "Aufheben".
  void Mark();
  void Unmark();
  bool marked() const { return m_marked != nullptr && *m_marked != nullptr; }
  // Shows the current record again after the records were changed from
  // outside (the include update).
  void Reload(int number);

  // "&Umrechnen": the record as the form now has it, for the survey data
  // calculator; nothing (after the message) when an entry is refused, with
  // `refused` naming the field.
  std::optional<doc::SurveyRecord> FormRecord(std::optional<Field>& refused);
  // The calculator's length, azimuth and inclination into the form; its
  // state is saved with the record.
  void TakeCalculation(const doc::SurveyRecord& calculated);
  // "Koordinaten": the converted station and reference coordinates into the
  // form (the reference coordinates are saved, the station's are computed).
  void TakeCoordinates(const doc::SurveyRecord& converted);
  // Before the editor closes to place the shown record on the map: saves a
  // changed or new record as "Speichern" does, so coordinates just taken
  // are kept. The number (from 1) of the record to place; 0 when there is
  // none or it was not saved (`refused` then names a refused field).
  int SaveForPlacement(std::optional<Field>& refused);

  // Closing: stores the modes and the current record number and, when
  // records were saved or deleted since the last full pass, runs it. False
  // when the window stays open (the pass asked to load a record, or ended
  // with messages without being cancelled).
  bool Close(platform::SettingsStore& program);

 private:
  void Show();
  void ShowEmptyForm(std::string_view status);
  size_t Index() const { return static_cast<size_t>(m_number - 1); }
  void Go(size_t index);
  void EndSeries() { m_placementAsked = false; }
  void RecordsChanged();
  void Remember(std::unique_ptr<doc::Change> step);
  void SettingsIntoLastStep();
  std::string TypeOf(size_t index) const;

  doc::SurveyStore& m_store;
  platform::Prompter& m_prompter;
  EditorSettings m_settings;
  const doc::SurveyRecord** m_marked;
  doc::History* m_history = nullptr;
  std::size_t m_takenAtStart = 0;  // the history's steps when the editor opened

  EditorMode m_mode = EditorMode::Browse;
  int m_number = 0;
  RecordForm m_form, m_shown;
  std::string m_status, m_type, m_include;
  bool m_computed = true;
  bool m_placementAsked = false;
  Button m_lastNavigation = Button::Next;

  // The record being created and its number.
  doc::SurveyRecord m_newRecord;
  int m_newNumber = 0;

  std::optional<doc::CalculatorState> m_calculation;  // saved with the record

  RecordSearch m_search;
  SearchDirection m_direction = SearchDirection::FromStart;
  bool m_searchActive = false;
  bool m_stationSearch = false;
};

}  // namespace hp::edit
