// The records overview ("Vermessungsdaten Übersicht"): the texts of its
// 32-column table, its tree of caves and passages under the cadastre entry,
// and the window's selection state. Also the few rules it shares with the
// loop closure evaluation list: which record becomes current, when the views
// redraw, and which window follows when one of them closes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/BlunderSettings.h"
#include "calc/LoopEvaluation.h"
#include "doc/Station.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::edit {

// What opens after the overview or the loop closure evaluation closed.
struct FollowUp {
  enum class Next { Nothing, Editor, LoopEvaluation, Overview };
  Next next = Next::Nothing;
  int recordNumber = 0;  // for Editor: the record to show (from 1)

  friend bool operator==(const FollowUp&, const FollowUp&) = default;
};

// Makes record `number` (from 1) the document's current record, held to
// 1..count (0 with no records). True when the number changed.
bool SetCurrentRecord(doc::SurveyStore& store, int number);

// Whether a change of the current record redraws the views: the worksheet
// marks the current record (crosshair) in one of the display types 0 to 3,
// 5 or 7.
bool CurrentRecordShownIn(const doc::Worksheet& worksheet);

// ---- Table ----

inline constexpr int kOverviewColumnCount = 32;

struct OverviewColumn {
  std::string_view title;  // UTF-8
  int width;               // initial width in pixels
  bool rightAligned;
};

const std::array<OverviewColumn, kOverviewColumnCount>& OverviewColumns();

// The text (UTF-8) of one cell: `column` from 0, `number` the record's
// number (from 1).
std::string OverviewCellText(const doc::SurveyRecord& record, int number, int column);

// ---- Tree ----

enum class OverviewNodeType { Root, Cave, Passage, Record };

// The tree: the root (node 0), then one node per cave and per passage in the
// order their first record appears, then one node per record. A cave node
// holds every record of that cave number, a passage node every record of that
// cave and passage number, in list order, wherever they stand in the list.
class OverviewTree {
 public:
  using NodeId = uint32_t;
  static constexpr NodeId kRoot = 0;

  void Build(const doc::SurveyStore& store, const std::vector<doc::RecordKind>& kinds);

  size_t NodeCount() const { return 1 + m_groups.size() + m_recordParent.size(); }
  OverviewNodeType Type(NodeId node) const;
  size_t ChildCount(NodeId node) const;
  NodeId Child(NodeId node, size_t row) const;
  NodeId Parent(NodeId node) const;  // the root is its own parent
  size_t RowInParent(NodeId node) const;
  // The record a node stands for: its own, or the one that opens a cave or
  // passage; 0 for the root.
  int RecordNumber(NodeId node) const;
  NodeId NodeOfRecord(int number) const;  // number from 1
  // "%ld: %s" for the root, the number (": " and the opening coordinate
  // reference's description) for caves and passages, the station (", " and
  // the description) for records. UTF-8.
  std::string Label(const doc::SurveyStore& store, NodeId node) const;

 private:
  struct Group {
    int32_t cave = 0;
    int32_t passage = 0;
    bool isCave = false;
    bool openedByReference = false;  // the opening record is a coordinate reference
    int recordNumber = 0;            // the opening record
    NodeId parent = kRoot;
    uint32_t row = 0;
    std::vector<NodeId> children;
  };
  NodeId GroupNode(size_t group) const { return static_cast<NodeId>(1 + group); }
  NodeId RecordNode(size_t index) const { return static_cast<NodeId>(1 + m_groups.size() + index); }
  const Group& GroupOf(NodeId node) const { return m_groups[node - 1]; }

  std::vector<NodeId> m_caves;  // children of the root
  std::vector<Group> m_groups;
  std::vector<NodeId> m_recordParent;  // per record: its passage node
  std::vector<uint32_t> m_recordRow;   // per record: its row under the passage
};

// ---- Window state ----

// The overview window's logic: the table and the tree, what is selected in
// each, which had the focus last, and what each control's action does to the
// document's current record and which window follows.
class RecordsOverview {
 public:
  enum class Control { Table, Tree };

  // Fills table and tree from the records in list order and selects the
  // document's current record in both (held to the list).
  explicit RecordsOverview(doc::SurveyStore& store);

  size_t RowCount() const { return m_store.records.size(); }
  std::string CellText(size_t row, int column) const;
  doc::RecordKind RowKind(size_t row) const { return m_kinds[row]; }
  const OverviewTree& tree() const { return m_tree; }
  std::string NodeLabel(OverviewTree::NodeId node) const { return m_tree.Label(m_store, node); }
  doc::RecordKind NodeKind(OverviewTree::NodeId node) const;  // of a record node

  // Row of the table and node of the tree that show the current record
  // (nothing with no records).
  std::optional<size_t> CurrentRow() const;
  std::optional<OverviewTree::NodeId> CurrentNode() const;

  // Selections; each returns true when the views are to be redrawn.
  bool SelectTableRow(size_t row);
  bool SelectTreeNode(OverviewTree::NodeId node);
  bool Focus(Control control);

  // "&Wechseln" or a right click: the control that is to show the current
  // record and get the focus.
  Control Switch() const { return m_lastFocus == Control::Table ? Control::Tree : Control::Table; }

  FollowUp Edit() const;                                // "&Bearbeiten", double click on a row
  FollowUp DoubleClickNode(OverviewTree::NodeId node);  // the editor only for a record node
  FollowUp LoopEvaluation() const { return {FollowUp::Next::LoopEvaluation, 0}; }

  int tableSelection() const { return m_tableSelection; }
  int treeSelection() const { return m_treeSelection; }
  Control lastFocus() const { return m_lastFocus; }
  bool treeSelectionIsRecord() const { return m_treeSelectionIsRecord; }

 private:
  bool MakeCurrent(int number);

  doc::SurveyStore& m_store;
  std::vector<doc::RecordKind> m_kinds;
  OverviewTree m_tree;
  int m_tableSelection = 0;
  int m_treeSelection = 0;
  Control m_lastFocus = Control::Table;
  bool m_treeSelectionIsRecord = false;
};

// ---- Loop closure evaluation list ----

// The loop closure evaluation command up to the list: computes when the
// stored results are not current, then computes with the loop results
// collected. `rows` is empty when the list is not to be shown; `editRecord`
// names a record when the user asked, in a computation message, to see it in
// the editor.
struct LoopEvaluationStart {
  std::optional<std::vector<calc::LoopRow>> rows;
  int editRecord = 0;
  bool network = false;  // the rows are every loop of the network, as the document adjusts it
};
LoopEvaluationStart StartLoopEvaluation(doc::SurveyStore& store, platform::Prompter& prompter,
                                        const calc::BlunderOptions& accuracy = {});

// The evaluation list's columns: headings, initial widths, alignment; those
// of the ring-marked loops, or those of the network's loops.
const std::vector<OverviewColumn>& LoopColumns(bool network = false);

// The evaluation list's logic: selecting a row makes its closing record
// current; the two follow-up buttons keep the selected record.
class LoopEvaluationList {
 public:
  LoopEvaluationList(doc::SurveyStore& store, std::vector<calc::LoopRow> rows)
      : m_store(store), m_rows(std::move(rows)) {}

  const std::vector<calc::LoopRow>& rows() const { return m_rows; }
  // True when the views are to be redrawn.
  bool SelectRow(size_t row);
  FollowUp Edit() const;                                               // "&Bearbeiten", double click
  FollowUp Overview() const { return {FollowUp::Next::Overview, 0}; }  // "Über&sicht"

 private:
  doc::SurveyStore& m_store;
  std::vector<calc::LoopRow> m_rows;
};

}  // namespace hp::edit
