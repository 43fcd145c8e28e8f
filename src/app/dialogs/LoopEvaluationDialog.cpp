// The "Ringschlussauswertung" window.
#include "app/dialogs/LoopEvaluationDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/BlunderPage.h"
#include "calc/BlunderSettings.h"
#include "calc/LoopQuality.h"

namespace hp::app {
namespace {

// A ring in the colour of the loop's quality; an adjusted loop's ring is
// closed, a reported one open, one moved at its variable reference carries a
// triangle.
QIcon PaintLoopIcon(int kind, const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, 2.5));
  if (kind == 2) {
    p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 300 * 16);
  } else {
    p.drawEllipse(QRectF(3, 3, 10, 10));
    if (kind == 3) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 40, 40));
      p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(12, 11), QPointF(4, 11)}));
    }
  }
  return QIcon(pixmap);
}

}  // namespace

QColor LoopIconColour(bool withinTolerance) { return withinTolerance ? QColor(0, 130, 0) : QColor(210, 30, 30); }

QIcon LoopIcon(int kind, bool withinTolerance) {
  static std::array<QIcon, 6> icons;  // kinds 0, 2, 3, each within and beyond
  const size_t slot = (kind == 2 ? 1 : kind == 3 ? 2 : 0) * 2 + (withinTolerance ? 0 : 1);
  if (icons[slot].isNull()) icons[slot] = PaintLoopIcon(kind, LoopIconColour(withinTolerance));
  return icons[slot];
}

CLoopRowsModel::CLoopRowsModel(const std::vector<calc::LoopRow>& rows, bool network, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows), m_columns(edit::LoopColumns(network)), m_network(network) {}

int CLoopRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CLoopRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CLoopRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const calc::LoopRow& row = m_rows[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: {
      const auto column = static_cast<size_t>(index.column());
      return column < row.cells.size() ? Q(row.cells[column]) : QString();
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(
          Qt::AlignVCenter |
          (m_columns[static_cast<size_t>(index.column())].rightAligned ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::DecorationRole:
      if (index.column() == 0) return LoopIcon(row.kind, row.withinTolerance);
      return {};
    case Qt::ToolTipRole:
      if (index.column() == 0 && m_network) {
        return row.withinTolerance ? QStringLiteral("Normierter Ringschlussfehler unter der Verdachtsschwelle")
                                   : QStringLiteral("Normierter Ringschlussfehler über der Verdachtsschwelle");
      }
      if (index.column() == 0) {
        return row.withinTolerance ? QStringLiteral("Ringschlussfehler innerhalb der Suchtoleranz")
                                   : QStringLiteral("Ringschlussfehler größer als die Suchtoleranz");
      }
      return {};
    default: return {};
  }
}

QVariant CLoopRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= m_columns.size()) return {};
  const edit::OverviewColumn& column = m_columns[static_cast<size_t>(section)];
  if (role == Qt::DisplayRole) return Q(column.title);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.rightAligned ? Qt::AlignRight : Qt::AlignLeft);
  return {};
}

CLoopEvaluationDialog::CLoopEvaluationDialog(QWidget* parent, CPlanDoc& doc, std::vector<calc::LoopRow> rows,
                                             bool network)
    : CDialogBase(doc.app(), parent, QStringLiteral("Ringschlussauswertung")), m_doc(doc),
      m_evaluation(doc.store(), std::move(rows)), m_network(network) {
  m_list = new QTableView(this);
  m_list->setModel(new CLoopRowsModel(m_evaluation.rows(), network, this));
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->setWordWrap(false);
  m_list->verticalHeader()->hide();
  m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
  // A column is at least as wide as its heading needs in the font in use.
  int width = 0;
  const std::vector<edit::OverviewColumn>& columns = edit::LoopColumns(network);
  for (size_t column = 0; column < columns.size(); ++column) {
    const int section = static_cast<int>(column);
    const int columnWidth = std::max(columns[column].width, m_list->horizontalHeader()->sectionSizeHint(section));
    m_list->setColumnWidth(section, columnWidth);
    width += columnWidth;
  }

  auto* showButton = new QPushButton(QStringLiteral("&Zeigen"), this);
  auto* editButton = new QPushButton(QStringLiteral("&Bearbeiten"), this);
  auto* overviewButton = new QPushButton(QStringLiteral("Über&sicht"), this);
  auto* closeButton = new QPushButton(QStringLiteral("Be&enden"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {showButton, editButton, overviewButton, closeButton}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addWidget(MakeHelpButton());
  // The ring-marked loops (or, with the network adjustment, every loop of
  // the network) on the first page; the search for blunders over every loop
  // of the network on the second.
  auto* pages = new QTabWidget(this);
  pages->addTab(m_list, QStringLiteral("&Ringschlüsse"));
  m_blunders = new CBlunderPage(pages, m_doc);
  pages->addTab(m_blunders, QStringLiteral("&Fehlersuche"));
  m_pages = pages;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages, 1);
  layout->addLayout(buttons);
  resize(width + 60, 480);
  // A suspect becomes the current record as a loop row does, so that
  // "&Bearbeiten" opens it too.
  connect(m_blunders, &CBlunderPage::selectRecord, this, [this](int number) {
    if (edit::SetCurrentRecord(m_doc.store(), number) && m_doc.store().currentWorksheet != nullptr &&
        edit::CurrentRecordShownIn(*m_doc.store().currentWorksheet)) {
      m_doc.UpdateAllViews();
    }
  });
  connect(m_blunders, &CBlunderPage::editRecord, this, [this](int number) {
    edit::SetCurrentRecord(m_doc.store(), number);
    Finish({FollowUp::Next::Editor, number});
  });

  connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (current.isValid() && m_evaluation.SelectRow(static_cast<size_t>(current.row()))) m_doc.UpdateAllViews();
  });
  connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) Finish(m_evaluation.Edit());
  });
  connect(showButton, &QPushButton::clicked, this, [this] {
    if (m_pages->currentWidget() == m_blunders) m_blunders->ShowCurrentSuspect();
    else ShowCurrentLoop();
  });
  connect(editButton, &QPushButton::clicked, this, [this] { Finish(m_evaluation.Edit()); });
  connect(overviewButton, &QPushButton::clicked, this, [this] { Finish(m_evaluation.Overview()); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CLoopEvaluationDialog::ShowCurrentLoop() {
  const int row = m_list->currentIndex().row();
  if (row < 0 || static_cast<size_t>(row) >= m_evaluation.rows().size()) return;
  const doc::SurveyStore& store = m_doc.store();
  if (m_network) {
    m_doc.ShowLegs(calc::LoopRecords(store, calc::LoadBlunderOptions(m_doc.app().settings), static_cast<size_t>(row)));
    return;
  }
  const int closing = m_evaluation.rows()[static_cast<size_t>(row)].recordNumber;
  if (closing >= 1) m_doc.ShowLegs(calc::RingRecords(store, static_cast<size_t>(closing) - 1));
}

void CLoopEvaluationDialog::Finish(const FollowUp& followUp) {
  m_followUp = followUp;
  accept();
}

FollowUp RunLoopEvaluationDialog(QWidget* parent, CPlanDoc& doc) {
  edit::LoopEvaluationStart start =
      edit::StartLoopEvaluation(doc.store(), doc.app().prompter, calc::LoadBlunderOptions(doc.app().settings));
  doc.setModified();
  doc.UpdateAllViews();
  if (!start.rows) {
    if (start.editRecord > 0) return {FollowUp::Next::Editor, start.editRecord};
    return {};
  }
  CLoopEvaluationDialog dialog(parent, doc, std::move(*start.rows), start.network);
  dialog.exec();
  return dialog.followUp();
}

}  // namespace hp::app
