// The records overview window ("Vermessungsdaten Übersicht"): the tree of
// caves and passages beside the table of all records, both read from the
// overview model in edit/ (rows formatted only when shown).
#pragma once

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <QIcon>

#include "app/DialogBase.h"
#include "app/dialogs/FollowUp.h"
#include "edit/RecordsOverview.h"

class QTableView;
class QTreeView;

namespace hp::app {

class CPlanDoc;

// The symbol of a record kind in the tree and the table's first column.
QIcon RecordKindIcon(doc::RecordKind kind);

// The table: one row per record, 32 columns.
class COverviewTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  COverviewTableModel(const edit::RecordsOverview& overview, QObject* parent);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const edit::RecordsOverview& m_overview;
};

// The tree: the cadastre entry as the one top-level node; a node's internal
// id is its node in the overview's tree.
class COverviewTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  COverviewTreeModel(const edit::RecordsOverview& overview, QObject* parent);
  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  QModelIndex IndexOf(edit::OverviewTree::NodeId node) const;
  static edit::OverviewTree::NodeId NodeOf(const QModelIndex& index);

 private:
  const edit::RecordsOverview& m_overview;
};

class COverviewDialog : public CDialogBase {
  Q_OBJECT

 public:
  COverviewDialog(QWidget* parent, CPlanDoc& doc);
  FollowUp followUp() const { return m_followUp; }

  QTableView* table() const { return m_table; }
  QTreeView* tree() const { return m_tree; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitColumnWidths();
  void ShowInTable();
  void ShowInTree();
  void OnSwitch();
  void Finish(const FollowUp& followUp);
  void Redraw(bool needed);

  CPlanDoc& m_doc;
  edit::RecordsOverview m_overview;
  COverviewTableModel* m_tableModel = nullptr;
  COverviewTreeModel* m_treeModel = nullptr;
  QTableView* m_table = nullptr;
  QTreeView* m_tree = nullptr;
  FollowUp m_followUp;
};

// Shows the overview of the document (modal) and tells what opens next:
// nothing after "Be&enden", the editor at the current record after
// "&Bearbeiten" or a double click on a row or record node, the loop closure
// evaluation after "&Ringschluss".
FollowUp RunOverviewDialog(QWidget* parent, CPlanDoc& doc);

}  // namespace hp::app
