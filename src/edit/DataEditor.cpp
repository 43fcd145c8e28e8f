// The survey data editor's model.
#include "edit/DataEditor.h"

#include <algorithm>
#include <memory>

#include "base/FixedText.h"
#include "calc/ComputeCommand.h"
#include "doc/DocumentChanges.h"
#include "doc/DocumentSettings.h"
#include "edit/DataEditorTexts.h"

namespace hp::edit {
namespace {

bool SameCave(const doc::SurveyRecord& a, const doc::SurveyRecord& b) { return a.cave == b.cave; }
bool SamePassage(const doc::SurveyRecord& a, const doc::SurveyRecord& b) {
  return a.cave == b.cave && a.passage == b.passage;
}
bool HasPoint(const doc::SurveyRecord& r) { return r.point[0] != 0; }

}  // namespace

bool IsNavigation(Button b) { return static_cast<int>(b) <= static_cast<int>(Button::Last); }

EditorSettings EditorSettings::Load(const platform::SettingsStore& program) {
  EditorSettings s;
  const int placement = program.GetInt(texts::kSection, texts::kPlacementValue, s.placement);
  const int direction = program.GetInt(texts::kSection, texts::kDirectionValue, s.searchDirection);
  if (placement >= 0 && placement < kPlacementCount) s.placement = placement;
  if (direction >= 0 && direction < kSearchDirectionCount) s.searchDirection = direction;
  s.autoNew = program.GetInt(texts::kSection, texts::kAutoNewValue, 1) != 0;
  s.autoSearch = program.GetInt(texts::kSection, texts::kAutoSearchValue, 1) != 0;
  s.accuracy = calc::LoadBlunderOptions(program);
  return s;
}

void EditorSettings::Save(platform::SettingsStore& program) const {
  program.SetInt(texts::kSection, texts::kPlacementValue, placement);
  program.SetInt(texts::kSection, texts::kDirectionValue, searchDirection);
  program.SetInt(texts::kSection, texts::kAutoNewValue, autoNew ? 1 : 0);
  program.SetInt(texts::kSection, texts::kAutoSearchValue, autoSearch ? 1 : 0);
}

DataEditor::DataEditor(doc::SurveyStore& store, platform::Prompter& prompter, EditorSettings settings,
                       const doc::SurveyRecord** marked)
    : m_store(store), m_prompter(prompter), m_settings(settings), m_marked(marked) {}

void DataEditor::Open(int number) {
  m_computed = m_store.settings.computedCurrent != 0;
  m_mode = EditorMode::Browse;
  m_number = count() == 0 ? 0 : std::clamp(number, 1, count());
  Show();
}

void DataEditor::OpenAtStation(const doc::StationId& station) {
  Open(static_cast<int>(m_store.settings.currentRecordNumber));
  m_search = RecordSearch::ForStation(station);
  m_direction = SearchDirection::FromStart;
  m_stationSearch = true;
  const auto found = SearchFromStart(m_store.records, m_store.settings, m_search, m_direction, 0);
  m_searchActive = found.has_value();
  if (!found) {
    m_prompter.Message(texts::kStationNotFound, platform::Icon::Information);
    return;
  }
  Go(*found);
}

const doc::SurveyRecord* DataEditor::current() const {
  if (m_mode != EditorMode::Browse || m_number < 1 || m_number > count()) return nullptr;
  return m_store.records[Index()].get();
}

bool DataEditor::Enabled(Button b) const {
  switch (m_mode) {
    case EditorMode::New: return b == Button::Save || b == Button::Cancel;
    case EditorMode::Search: return b == Button::SearchStart || b == Button::Cancel || b == Button::Options;
    case EditorMode::Browse: break;
  }
  if (b == Button::New || b == Button::Overview || b == Button::LoopEvaluation || b == Button::Close) return true;
  if (count() == 0) return false;
  switch (b) {
    case Button::Cancel: return m_status == texts::kChanging;
    case Button::SearchStart: return false;
    case Button::SearchOn: return m_searchActive;
    case Button::Unmark: return marked();
    case Button::Mark: return m_marked != nullptr;
    default: return true;
  }
}

void DataEditor::ShowEmptyForm(std::string_view status) {
  m_form = RecordForm{};
  m_shown = m_form;
  m_status = status;
  m_type.clear();
  m_include.clear();
}

std::string DataEditor::TypeOf(size_t index) const {
  const auto& records = m_store.records;
  const doc::SurveyRecord& r = *records[index];
  bool repeated = false;
  if (HasPoint(r) && !doc::IsSelfReference(r)) {
    const doc::StationId station = doc::StationOf(r);
    for (size_t i = 0; i < index && !repeated; ++i) {
      const doc::SurveyRecord& e = *records[i];
      repeated = e.cave == r.cave && e.passage == r.passage && doc::StationOf(e) == station;
    }
  }
  return std::string(doc::RecordKindText(doc::ClassifyRecord(r, repeated)));
}

void DataEditor::Show() {
  m_mode = EditorMode::Browse;
  m_calculation.reset();
  if (count() == 0) {
    m_number = 0;
    ShowEmptyForm(texts::kNoRecords);
    return;
  }
  m_number = std::clamp(m_number, 1, count());
  doc::SurveyRecord& r = *m_store.records[Index()];
  CorrectRanges(r);
  m_form = ShowRecord(r);
  m_shown = m_form;
  m_status = texts::kViewing;
  m_type = TypeOf(Index());
  m_include = r.fromInclude ? std::string(texts::kFromInclude) : std::string();
}

void DataEditor::Go(size_t index) {
  m_number = static_cast<int>(index) + 1;
  Show();
}

void DataEditor::Navigate(Button b) {
  if (m_mode != EditorMode::Browse || count() == 0 || !IsNavigation(b)) return;
  EndSeries();
  m_lastNavigation = b;
  const auto& records = m_store.records;
  const size_t last = records.size() - 1;
  size_t i = std::min(Index(), last);
  const doc::SurveyRecord& from = *records[i];
  switch (b) {
    case Button::First: i = 0; break;
    case Button::Last: i = last; break;
    case Button::Previous: i = i > 0 ? i - 1 : 0; break;
    case Button::Next: i = std::min(i + 1, last); break;
    case Button::CaveBack:
    case Button::PassageBack: {
      const auto same = b == Button::CaveBack ? SameCave : SamePassage;
      if (i > 0) --i;
      while (i > 0 && same(*records[i - 1], *records[i])) --i;
      break;
    }
    case Button::PointBack:
      do {
        if (i > 0) --i;
      } while (i > 0 && !HasPoint(*records[i]));
      break;
    case Button::PointForward:
      do {
        if (i < last) ++i;
      } while (i < last && !HasPoint(*records[i]));
      break;
    case Button::CaveForward:
    case Button::PassageForward: {
      const auto same = b == Button::CaveForward ? SameCave : SamePassage;
      while (i < last && same(*records[i], from)) ++i;
      break;
    }
    case Button::Ref: {
      const doc::StationId reference = doc::RefStationOf(from);
      for (size_t k = 0; k <= last; ++k) {
        const doc::SurveyRecord& r = *records[k];
        if (doc::SameStation(doc::RefStationOf(r), reference) || doc::SameStation(doc::StationOf(r), reference)) {
          i = k;
          break;
        }
      }
      break;
    }
    default: break;
  }
  Go(i);
}

void DataEditor::Edit(Field field, std::string text) {
  m_form[field] = std::move(text);
  if (m_mode == EditorMode::Browse && count() > 0 && m_form != m_shown) m_status = texts::kChanging;
}

void DataEditor::StartNew() {
  if (m_mode != EditorMode::Browse) return;
  if (count() == 0) {
    // The first record of a document: at the end, pre-filled as far as
    // there is anything, and the next ones follow at once.
    m_settings.placement = static_cast<int>(Placement::AtEndPrefilled);
    m_settings.autoNew = true;
    m_placementAsked = true;
    m_newNumber = 1;
    m_newRecord = NewRecord(Placement::AtEnd, nullptr);
    m_type = doc::RecordKindText(doc::RecordKind::CoordinateReference);
  } else {
    const auto placement = static_cast<Placement>(m_settings.placement);
    m_newNumber = NewRecordNumber(placement, m_number, count());
    m_newRecord = NewRecord(placement, m_store.records[Index()].get());
    const bool reference =
        placement == Placement::Before || placement == Placement::After || placement == Placement::AtEnd;
    m_type = doc::RecordKindText(reference ? doc::RecordKind::CoordinateReference : doc::RecordKind::AuxiliaryPoint);
  }
  m_mode = EditorMode::New;
  m_calculation.reset();
  m_form = ShowRecord(m_newRecord);
  m_shown = m_form;
  m_status = texts::kCreating;
  m_include.clear();
}

void DataEditor::StartNew(Placement placement, bool autoNew) {
  m_settings.placement = static_cast<int>(placement);
  m_settings.autoNew = autoNew;
  m_placementAsked = true;
  StartNew();
}

void DataEditor::SetHistory(doc::History* history) {
  m_history = history;
  m_takenAtStart = history != nullptr ? history->taken() : 0;
}

void DataEditor::Remember(std::unique_ptr<doc::Change> step) {
  if (m_history != nullptr) m_history->Push(std::move(step));
}

void DataEditor::SettingsIntoLastStep() {
  // The editor's last step leaves the document as the editor closes it.
  if (m_history != nullptr && m_history->taken() != m_takenAtStart && m_history->Top() != nullptr)
    m_history->Top()->TakeSettingsAfter(m_store.settings);
}

void DataEditor::RecordsChanged() {
  m_computed = false;
  m_store.settings.computedCurrent = 0;
  m_store.settings.recordCount = static_cast<uint32_t>(m_store.records.size());
}

std::optional<Field> DataEditor::Save() {
  if (m_mode == EditorMode::Search || (m_mode == EditorMode::Browse && count() == 0)) return std::nullopt;
  const bool isNew = m_mode == EditorMode::New;
  int number = isNew ? m_newNumber : m_number;
  doc::SurveyRecord record = isNew ? m_newRecord : *m_store.records[Index()];
  if (auto fault = TakeForm(m_form, m_shown, m_store.settings, record)) {
    m_prompter.Message(fault->message, platform::Icon::Exclamation);
    return fault->field;
  }
  if (m_calculation) record.calculator = *m_calculation;
  if (!calc::CheckRecordBeforeSave(m_store, record, number, m_prompter)) return std::nullopt;

  auto& records = m_store.records;
  if (isNew) number = std::clamp(number, 1, count() + 1);
  Remember(doc::SpliceRecords(m_store, isNew ? doc::NewRecordName(number) : doc::ChangeRecordName(number),
                              static_cast<size_t>(number - 1), isNew ? 0 : 1, {record}));
  RecordsChanged();
  // The saved record alone; a head reference the pass puts in front of the
  // list moves it one number down.
  calc::Computation computation(m_store, m_prompter);
  computation.currentNumber = number;
  computation.ComputeRecords(number, false);
  number = computation.currentNumber;
  m_store.settings.recordCount = static_cast<uint32_t>(records.size());

  m_number = number;
  Show();
  if (isNew && m_settings.autoNew) {
    StartNew();
  } else {
    EndSeries();
    if (m_searchActive && m_settings.autoSearch) ContinueSearch();
  }
  return std::nullopt;
}

void DataEditor::Cancel() {
  EndSeries();
  Show();
}

void DataEditor::BeginSearch() {
  if (m_mode != EditorMode::Browse || count() == 0) return;
  EndSeries();
  ShowEmptyForm(texts::kSearching);
  m_mode = EditorMode::Search;
}

std::optional<Field> DataEditor::StartSearch(SearchDirection direction, bool autoSearch) {
  if (m_mode != EditorMode::Search) return std::nullopt;
  m_settings.searchDirection = static_cast<int>(direction);
  m_settings.autoSearch = autoSearch;
  RecordSearch search;
  if (auto fault = RecordSearch::FromForm(m_form, search)) {
    m_prompter.Message(fault->message, platform::Icon::Exclamation);
    return fault->field;
  }
  m_search = std::move(search);
  m_direction = direction;
  m_stationSearch = false;
  const auto found = SearchFromStart(m_store.records, m_store.settings, m_search, direction, Index());
  m_searchActive = found.has_value();
  if (!found) {
    Show();
    m_prompter.Message(texts::kNotFound, platform::Icon::Information);
    return std::nullopt;
  }
  Go(*found);
  return std::nullopt;
}

void DataEditor::ContinueSearch() {
  if (m_mode != EditorMode::Browse || !m_searchActive || count() == 0) return;
  const auto found = SearchOn(m_store.records, m_store.settings, m_search, m_direction, Index());
  if (!found) {
    m_prompter.Message(m_stationSearch ? texts::kNoMoreStations : texts::kNoMoreFound, platform::Icon::Information);
    return;
  }
  Go(*found);
}

bool DataEditor::Delete() {
  if (m_mode != EditorMode::Browse || count() == 0) return false;
  if (m_prompter.AskOkCancel(texts::kReallyDelete, platform::Icon::Question) != platform::Answer::Ok) return false;
  EndSeries();
  auto& records = m_store.records;
  const size_t index = Index();
  if (m_marked && *m_marked == records[index].get()) *m_marked = nullptr;
  Remember(doc::SpliceRecords(m_store, doc::DeleteRecordName(m_number), index, 1, {}));
  // The next record takes its place, or the previous one after the last.
  m_number = records.empty() ? 0 : static_cast<int>(std::min(index, records.size() - 1)) + 1;
  RecordsChanged();
  Show();
  return true;
}

calc::ComputeOutcome DataEditor::Compute() {
  m_store.settings.recordCount = static_cast<uint32_t>(count());
  m_store.settings.currentRecordNumber = static_cast<uint32_t>(m_number);
  const calc::ComputeOutcome outcome = calc::RunChosenComputeCommand(m_store, m_prompter, m_settings.accuracy);
  m_number = static_cast<int>(m_store.settings.currentRecordNumber);
  m_computed = m_store.settings.computedCurrent != 0;
  Show();
  return outcome;
}

void DataEditor::Mark() {
  if (m_marked && current()) *m_marked = current();
}

void DataEditor::Unmark() {
  if (m_marked) *m_marked = nullptr;
}

void DataEditor::Reload(int number) {
  EndSeries();
  m_number = number;
  m_computed = m_store.settings.computedCurrent != 0;
  Show();
}

std::optional<doc::SurveyRecord> DataEditor::FormRecord(std::optional<Field>& refused) {
  refused.reset();
  if (m_mode == EditorMode::Search || (m_mode == EditorMode::Browse && count() == 0)) return std::nullopt;
  doc::SurveyRecord record = m_mode == EditorMode::New ? m_newRecord : *m_store.records[Index()];
  if (auto fault = TakeForm(m_form, m_shown, m_store.settings, record)) {
    m_prompter.Message(fault->message, platform::Icon::Exclamation);
    refused = fault->field;
    return std::nullopt;
  }
  if (m_calculation) record.calculator = *m_calculation;
  return record;
}

void DataEditor::TakeCalculation(const doc::SurveyRecord& calculated) {
  const RecordForm shown = ShowRecord(calculated);
  for (const Field f : {Field::Length, Field::Azimuth, Field::Inclination}) Edit(f, shown[f]);
  m_calculation = calculated.calculator;
  if (m_mode == EditorMode::Browse) m_status = texts::kChanging;
}

void DataEditor::TakeCoordinates(const doc::SurveyRecord& converted) {
  const RecordForm shown = ShowRecord(converted);
  for (const Field f : {Field::RefX, Field::RefY, Field::RefZ, Field::X, Field::Y, Field::Z}) Edit(f, shown[f]);
  if (m_mode == EditorMode::Browse) m_status = texts::kChanging;
}

int DataEditor::SaveForPlacement(std::optional<Field>& refused) {
  refused.reset();
  if (m_mode == EditorMode::Search || (m_mode == EditorMode::Browse && count() == 0)) return 0;
  const bool isNew = m_mode == EditorMode::New;
  if (isNew || m_status == texts::kChanging) {
    const int before = count();
    refused = Save();
    // A save declined after its question leaves the record as it was.
    const bool saved = isNew ? count() > before : m_status != texts::kChanging;
    if (refused || !saved) return 0;
  }
  return m_number;
}

bool DataEditor::Close(platform::SettingsStore& program) {
  m_settings.Save(program);
  if (m_mode != EditorMode::Browse) Cancel();
  m_store.settings.recordCount = static_cast<uint32_t>(count());
  m_store.settings.currentRecordNumber = static_cast<uint32_t>(m_number);
  SettingsIntoLastStep();
  if (m_computed) return true;
  if (doc::NetworkAdjustmentChosen(m_store.settings)) {
    // The document's own compute command, as "Be&rechnen" runs it: the
    // network is adjusted as a whole, not loop by loop.
    const calc::ComputeOutcome outcome = Compute();
    if (outcome.loadRecord && outcome.recordNumber > 0) {
      m_number = outcome.recordNumber;
      m_store.settings.currentRecordNumber = static_cast<uint32_t>(m_number);
      Show();
    }
    SettingsIntoLastStep();
    return !outcome.loadRecord && (m_computed || outcome.aborted);
  }
  calc::Computation computation(m_store, m_prompter);
  computation.currentNumber = m_number;
  const int result = computation.ComputeAll();
  m_computed = computation.computed;
  m_store.settings.computedCurrent = computation.computed ? 1 : 0;
  m_store.settings.recordCount = static_cast<uint32_t>(count());
  m_number = count() == 0 ? 0 : computation.currentNumber;
  m_store.settings.currentRecordNumber = static_cast<uint32_t>(m_number);
  SettingsIntoLastStep();
  Show();
  return result != 1 && (computation.computed || computation.aborted);
}

}  // namespace hp::edit
