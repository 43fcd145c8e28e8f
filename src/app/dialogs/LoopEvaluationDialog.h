// The loop closure evaluation ("Ringschlussauswertung"): computes the
// document with the loop results collected and lists one row per result;
// the rows come from calc/, the selection and follow-ups from edit/.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <vector>

#include "app/DialogBase.h"
#include "app/dialogs/FollowUp.h"
#include "edit/RecordsOverview.h"

class QTabWidget;
class QTableView;

namespace hp::app {

class CPlanDoc;
class CBlunderPage;

// The symbol of a result: its shape tells the kind (0 adjusted, 2 reported
// only, 3 variable reference), its colour whether the misclosure is within
// the search tolerance (green) or beyond it (red); for a loop of the network,
// whether its normalised misclosure stays below the blunder finder's threshold.
QIcon LoopIcon(int kind, bool withinTolerance);
QColor LoopIconColour(bool withinTolerance);

class CLoopRowsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `network`: the rows are the network's loops, with their own columns.
  CLoopRowsModel(const std::vector<calc::LoopRow>& rows, bool network, QObject* parent);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::vector<calc::LoopRow>& m_rows;
  const std::vector<edit::OverviewColumn>& m_columns;
  bool m_network;
};

class CLoopEvaluationDialog : public CDialogBase {
  Q_OBJECT

 public:
  // `network`: the rows are every loop of the network (the document's
  // network adjustment) rather than the ring-marked loops.
  CLoopEvaluationDialog(QWidget* parent, CPlanDoc& doc, std::vector<calc::LoopRow> rows, bool network = false);
  FollowUp followUp() const { return m_followUp; }
  QTableView* list() const { return m_list; }
  QTabWidget* pages() const { return m_pages; }
  CBlunderPage* blunders() const { return m_blunders; }
  // "&Zeigen": the views highlight the current row's loop.
  void ShowCurrentLoop();

 private:
  void Finish(const FollowUp& followUp);

  CPlanDoc& m_doc;
  edit::LoopEvaluationList m_evaluation;
  QTableView* m_list = nullptr;
  QTabWidget* m_pages = nullptr;
  CBlunderPage* m_blunders = nullptr;
  FollowUp m_followUp;
  bool m_network = false;
};

// The command "Ring&schlussauswertung...": computes (first without, then
// with the loop results collected; the document is then modified and
// redrawn) and shows the list (modal). Tells what opens next: nothing (also
// when a computation message kept the list from opening), the editor at the
// chosen record ("&Bearbeiten", a double click, or a computation message
// answered with the wish to see its record), or the overview ("Über&sicht").
FollowUp RunLoopEvaluationDialog(QWidget* parent, CPlanDoc& doc);

}  // namespace hp::app
