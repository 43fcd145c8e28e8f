// Records overview: table texts, cave and passage tree, selection state; the
// loop closure evaluation list's selection and follow-ups.
#include "edit/RecordsOverview.h"

#include <algorithm>
#include <unordered_map>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "calc/ComputeCommand.h"
#include "calc/ComputePass.h"
#include "calc/NetworkAdjustment.h"
#include "doc/DocumentSettings.h"

namespace hp::edit {

bool SetCurrentRecord(doc::SurveyStore& store, int number) {
  const long long count = static_cast<long long>(store.records.size());
  const long long held = count == 0 ? 0 : std::clamp<long long>(number, 1, count);
  const auto next = static_cast<uint32_t>(held);
  if (store.settings.currentRecordNumber == next) return false;
  store.settings.currentRecordNumber = next;
  return true;
}

bool CurrentRecordShownIn(const doc::Worksheet& worksheet) {
  if (worksheet.crosshair() == 0) return false;
  // The red-green view draws no marks.
  const doc::DisplayType type = worksheet.displayType();
  return doc::IsDrawnType(type) && type != doc::DisplayType::RedGreen;
}

namespace {

bool ChangeCurrent(doc::SurveyStore& store, int number) {
  return SetCurrentRecord(store, number) && store.currentWorksheet != nullptr &&
         CurrentRecordShownIn(*store.currentWorksheet);
}

// The current record number held to the list (0 with no records).
int HeldCurrent(const doc::SurveyStore& store) {
  if (store.records.empty()) return 0;
  const uint32_t current = store.settings.currentRecordNumber;
  if (current < 1) return 1;
  return current > store.records.size() ? static_cast<int>(store.records.size()) : static_cast<int>(current);
}

template <size_t N>
std::string Utf8(const char (&field)[N]) {
  return base::Cp1252ToUtf8(base::TextOf(field));
}

std::string Station(const doc::StationId& station) { return base::Cp1252ToUtf8(doc::StationText(station)); }

std::string Plain(double value) { return base::FormatShown(value); }
std::string Rounded(double value) { return base::FormatShown(base::RoundHundredths(value)); }

}  // namespace

// ---- Table ----

const std::array<OverviewColumn, kOverviewColumnCount>& OverviewColumns() {
  static const std::array<OverviewColumn, kOverviewColumnCount> columns = {{
      {"Satz", 60, false},
      {"Referenz", 70, false},
      {"Messpunkt", 70, false},
      {"Start", 60, true},
      {"Ende", 60, true},
      {"Länge", 55, true},
      {"Azimut", 55, true},
      {"Neigung", 55, true},
      {"Links", 55, true},
      {"Rechts", 55, true},
      {"Oben", 55, true},
      {"Unten", 55, true},
      {"Gerät", 45, true},
      {"Richtung", 60, true},
      {"Ring", 45, true},
      {"Farbe", 45, true},
      {"Ebene", 50, true},
      {"Datum", 70, true},
      {"Vermesser", 65, true},
      {"Bezeichnung", 100, false},
      {"Material", 150, false},
      {"Maßnahmen", 150, false},
      {"Bemerkung", 150, false},
      {"Datei/URL", 300, false},
      {"Include-Datei", 300, false},
      {"Ref X", 70, true},
      {"Ref Y", 70, true},
      {"Ref Z", 55, true},
      {"X", 70, true},
      {"Y", 70, true},
      {"Z", 55, true},
      {"Weg", 55, true},
  }};
  return columns;
}

std::string OverviewCellText(const doc::SurveyRecord& r, int number, int column) {
  switch (column) {
    case 0: return " " + std::to_string(number);
    case 1: return Station(doc::RefStationOf(r));
    case 2: return Station(doc::StationOf(r));
    case 3: return Plain(r.tapeStart);
    case 4: return Plain(r.tapeEnd);
    case 5: return Plain(r.length);
    case 6: return Plain(r.azimuth);
    case 7: return Plain(r.inclination);
    case 8: return Plain(r.left);
    case 9: return Plain(r.right);
    case 10: return Plain(r.up);
    case 11: return Plain(r.down);
    case 12: return std::to_string(r.instrument);
    case 13: return base::DecimalComma(base::FormatFixed(r.direction, 1));
    case 14: return std::to_string(r.ring);
    case 15: return std::to_string(r.colour);
    case 16: return std::to_string(r.level);
    case 17: return Utf8(r.date);
    case 18: return std::to_string(r.surveyor);
    case 19: return Utf8(r.description);
    case 20: return Utf8(r.material);
    case 21: return Utf8(r.measures);
    case 22: return Utf8(r.remark);
    case 23: return Utf8(r.fileUrl);
    case 24: return Utf8(r.includeFile);
    case 25: return Rounded(r.refX);
    case 26: return Rounded(r.refY);
    case 27: return Rounded(r.refZ);
    case 28: return Rounded(r.x);
    case 29: return Rounded(r.y);
    case 30: return Rounded(r.z);
    case 31: return Rounded(r.pathLength);
    default: return {};
  }
}

// ---- Tree ----

void OverviewTree::Build(const doc::SurveyStore& store, const std::vector<doc::RecordKind>& kinds) {
  m_caves.clear();
  m_groups.clear();
  const size_t count = store.records.size();
  std::unordered_map<int32_t, size_t> caveGroup;
  std::unordered_map<uint64_t, size_t> passageGroup;
  // Record nodes follow the group nodes, whose number is known only at the
  // end: remember each record's passage group and number them afterwards.
  std::vector<size_t> recordGroup(count);
  m_recordRow.assign(count, 0);
  std::vector<std::vector<size_t>> passageRecords;  // by group index
  for (size_t i = 0; i < count; ++i) {
    const doc::SurveyRecord& r = *store.records[i];
    const int number = static_cast<int>(i + 1);
    const bool reference = kinds[i] == doc::RecordKind::CoordinateReference;
    auto cave = caveGroup.find(r.cave);
    if (cave == caveGroup.end()) {
      Group g;
      g.cave = r.cave;
      g.isCave = true;
      g.openedByReference = reference;
      g.recordNumber = number;
      g.row = static_cast<uint32_t>(m_caves.size());
      cave = caveGroup.emplace(r.cave, m_groups.size()).first;
      m_caves.push_back(GroupNode(m_groups.size()));
      m_groups.push_back(std::move(g));
      passageRecords.emplace_back();
    }
    const uint64_t key =
        (static_cast<uint64_t>(static_cast<uint32_t>(r.cave)) << 32) | static_cast<uint32_t>(r.passage);
    auto passage = passageGroup.find(key);
    if (passage == passageGroup.end()) {
      Group g;
      g.cave = r.cave;
      g.passage = r.passage;
      g.openedByReference = reference;
      g.recordNumber = number;
      g.parent = GroupNode(cave->second);
      g.row = static_cast<uint32_t>(m_groups[cave->second].children.size());
      m_groups[cave->second].children.push_back(GroupNode(m_groups.size()));
      passage = passageGroup.emplace(key, m_groups.size()).first;
      m_groups.push_back(std::move(g));
      passageRecords.emplace_back();
    }
    recordGroup[i] = passage->second;
    m_recordRow[i] = static_cast<uint32_t>(passageRecords[passage->second].size());
    passageRecords[passage->second].push_back(i);
  }
  m_recordParent.resize(count);
  for (size_t i = 0; i < count; ++i) m_recordParent[i] = GroupNode(recordGroup[i]);
  for (size_t g = 0; g < m_groups.size(); ++g) {
    if (m_groups[g].isCave) continue;
    auto& children = m_groups[g].children;
    children.reserve(passageRecords[g].size());
    for (const size_t i : passageRecords[g]) children.push_back(RecordNode(i));
  }
}

OverviewNodeType OverviewTree::Type(NodeId node) const {
  if (node == kRoot) return OverviewNodeType::Root;
  if (node <= m_groups.size()) return GroupOf(node).isCave ? OverviewNodeType::Cave : OverviewNodeType::Passage;
  return OverviewNodeType::Record;
}

size_t OverviewTree::ChildCount(NodeId node) const {
  if (node == kRoot) return m_caves.size();
  if (node <= m_groups.size()) return GroupOf(node).children.size();
  return 0;
}

OverviewTree::NodeId OverviewTree::Child(NodeId node, size_t row) const {
  return node == kRoot ? m_caves[row] : GroupOf(node).children[row];
}

OverviewTree::NodeId OverviewTree::Parent(NodeId node) const {
  if (node == kRoot) return kRoot;
  if (node <= m_groups.size()) return GroupOf(node).parent;
  return m_recordParent[node - 1 - m_groups.size()];
}

size_t OverviewTree::RowInParent(NodeId node) const {
  if (node == kRoot) return 0;
  if (node <= m_groups.size()) return GroupOf(node).row;
  return m_recordRow[node - 1 - m_groups.size()];
}

int OverviewTree::RecordNumber(NodeId node) const {
  if (node == kRoot) return 0;
  if (node <= m_groups.size()) return GroupOf(node).recordNumber;
  return static_cast<int>(node - m_groups.size());
}

OverviewTree::NodeId OverviewTree::NodeOfRecord(int number) const {
  if (number < 1 || static_cast<size_t>(number) > m_recordParent.size()) return kRoot;
  return RecordNode(static_cast<size_t>(number - 1));
}

std::string OverviewTree::Label(const doc::SurveyStore& store, NodeId node) const {
  switch (Type(node)) {
    case OverviewNodeType::Root:
      return std::to_string(store.settings.cadastreNumber) + ": " + Utf8(store.settings.cadastreDesignation);
    case OverviewNodeType::Cave:
    case OverviewNodeType::Passage: {
      const Group& g = GroupOf(node);
      std::string text = std::to_string(g.isCave ? g.cave : g.passage);
      if (g.openedByReference) {
        const std::string description = Utf8(store.records[g.recordNumber - 1]->description);
        if (!description.empty()) text += ": " + description;
      }
      return text;
    }
    case OverviewNodeType::Record: {
      const doc::SurveyRecord& r = *store.records[RecordNumber(node) - 1];
      std::string text = Station(doc::StationOf(r));
      const std::string description = Utf8(r.description);
      if (!description.empty()) text += ", " + description;
      return text;
    }
  }
  return {};
}

// ---- Window state ----

RecordsOverview::RecordsOverview(doc::SurveyStore& store)
    : m_store(store), m_kinds(doc::ClassifyRecords(store.records)) {
  m_tree.Build(store, m_kinds);
  const int current = HeldCurrent(store);
  SetCurrentRecord(store, current);
  m_tableSelection = m_treeSelection = current;
  m_treeSelectionIsRecord = current != 0;
}

std::string RecordsOverview::CellText(size_t row, int column) const {
  return OverviewCellText(*m_store.records[row], static_cast<int>(row + 1), column);
}

doc::RecordKind RecordsOverview::NodeKind(OverviewTree::NodeId node) const {
  return m_kinds[static_cast<size_t>(m_tree.RecordNumber(node) - 1)];
}

std::optional<size_t> RecordsOverview::CurrentRow() const {
  const int current = HeldCurrent(m_store);
  if (current == 0) return std::nullopt;
  return static_cast<size_t>(current - 1);
}

std::optional<OverviewTree::NodeId> RecordsOverview::CurrentNode() const {
  const int current = HeldCurrent(m_store);
  if (current == 0) return std::nullopt;
  return m_tree.NodeOfRecord(current);
}

bool RecordsOverview::MakeCurrent(int number) { return ChangeCurrent(m_store, number); }

bool RecordsOverview::SelectTableRow(size_t row) {
  if (row >= m_store.records.size()) return false;
  m_tableSelection = static_cast<int>(row + 1);
  return MakeCurrent(m_tableSelection);
}

bool RecordsOverview::SelectTreeNode(OverviewTree::NodeId node) {
  if (node >= m_tree.NodeCount()) return false;
  m_treeSelection = m_tree.RecordNumber(node);
  m_treeSelectionIsRecord = m_tree.Type(node) == OverviewNodeType::Record;
  return MakeCurrent(m_treeSelection);
}

bool RecordsOverview::Focus(Control control) {
  m_lastFocus = control;
  return MakeCurrent(control == Control::Table ? m_tableSelection : m_treeSelection);
}

FollowUp RecordsOverview::Edit() const {
  return {FollowUp::Next::Editor, static_cast<int>(m_store.settings.currentRecordNumber)};
}

FollowUp RecordsOverview::DoubleClickNode(OverviewTree::NodeId node) {
  if (node >= m_tree.NodeCount() || m_tree.Type(node) != OverviewNodeType::Record) return {};
  SelectTreeNode(node);
  return Edit();
}

// ---- Loop closure evaluation list ----

LoopEvaluationStart StartLoopEvaluation(doc::SurveyStore& store, platform::Prompter& prompter,
                                        const calc::BlunderOptions& accuracy) {
  LoopEvaluationStart start;
  if (store.settings.computedCurrent == 0) {
    const calc::ComputeOutcome outcome = calc::RunChosenComputeCommand(store, prompter, accuracy);
    if (store.settings.computedCurrent == 0) {
      if (outcome.loadRecord) start.editRecord = outcome.recordNumber;
      return start;
    }
  }
  if (doc::NetworkAdjustmentChosen(store.settings)) {
    // The adjusted coordinates are current; the list is every independent
    // loop of the network, each closed by its own readings.
    const std::vector<calc::BlunderLoop> loops = calc::NetworkLoops(store, accuracy);
    std::vector<calc::LoopRow> rows;
    rows.reserve(loops.size());
    for (size_t i = 0; i < loops.size(); ++i) rows.push_back(calc::MakeNetworkLoopRow(loops[i], i + 1));
    start.rows = std::move(rows);
    start.network = true;
    return start;
  }
  std::vector<calc::LoopResult> results;
  const calc::ComputeOutcome outcome = calc::RunChosenComputeCommand(store, prompter, accuracy, &results);
  if (outcome.loadRecord) {
    // The user asked to see a faulty record rather than the list.
    start.editRecord = outcome.recordNumber;
    return start;
  }
  std::vector<calc::LoopRow> rows;
  rows.reserve(results.size());
  for (const calc::LoopResult& result : results) {
    rows.push_back(calc::MakeLoopRow(result, store.settings.searchToleranceLength));
  }
  start.rows = std::move(rows);
  return start;
}

const std::vector<OverviewColumn>& LoopColumns(bool network) {
  static const std::vector<OverviewColumn> rings = [] {
    const std::vector<std::string>& headings = calc::LoopColumnHeadings();
    const int widths[9] = {55, 135, 60, 55, 55, 55, 55, 55, 55};
    std::vector<OverviewColumn> result;
    for (size_t i = 0; i < headings.size(); ++i) result.push_back({headings[i], widths[i], i >= 2});
    return result;
  }();
  static const std::vector<std::string> networkHeadings = calc::NetworkLoopColumnHeadings();
  static const std::vector<OverviewColumn> loops = [] {
    std::vector<OverviewColumn> result;
    for (const std::string& heading : networkHeadings) result.push_back({heading, 60, true});
    return result;
  }();
  return network ? loops : rings;
}

bool LoopEvaluationList::SelectRow(size_t row) {
  if (row >= m_rows.size()) return false;
  return ChangeCurrent(m_store, m_rows[row].recordNumber);
}

FollowUp LoopEvaluationList::Edit() const {
  return {FollowUp::Next::Editor, static_cast<int>(m_store.settings.currentRecordNumber)};
}

}  // namespace hp::edit
