// The "Vermessungsdaten Übersicht" window.
#include "app/dialogs/OverviewDialog.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"

namespace hp::app {
namespace {

constexpr int kCellPadding = 12;    // pixels beside a cell's text (and a sort mark)
constexpr int kMeasuredRows = 200;  // rows whose texts size the columns on opening

using Node = edit::OverviewTree::NodeId;

// One 16-pixel symbol per record kind: references as triangles, stations
// met again as squares and rings, legs and auxiliary entries as lines and
// dots.
QIcon PaintKindIcon(doc::RecordKind kind) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPolygonF triangle({QPointF(8, 2), QPointF(14, 13), QPointF(2, 13)});
  switch (kind) {
    case doc::RecordKind::CoordinateReference:
      p.setPen(QPen(QColor(160, 0, 0), 1.2));
      p.setBrush(QColor(220, 40, 40));
      p.drawPolygon(triangle);
      break;
    case doc::RecordKind::VariableReference:
      p.setPen(QPen(QColor(220, 120, 0), 2));
      p.drawPolygon(triangle);
      break;
    case doc::RecordKind::Connection:
      p.setPen(QPen(QColor(0, 60, 160), 1.2));
      p.setBrush(QColor(60, 120, 220));
      p.drawRect(QRectF(3, 3, 10, 10));
      break;
    case doc::RecordKind::LoopClosure:
      p.setPen(QPen(QColor(0, 130, 0), 2.5));
      p.drawEllipse(QRectF(3, 3, 10, 10));
      break;
    case doc::RecordKind::AuxiliaryPoint:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(120, 120, 120));
      p.drawEllipse(QRectF(5, 5, 6, 6));
      break;
    case doc::RecordKind::AuxiliaryLine:
      p.setPen(QPen(QColor(120, 120, 120), 1.5, Qt::DashLine));
      p.drawLine(QPointF(2, 13), QPointF(14, 3));
      break;
    case doc::RecordKind::SurveyLeg:
      p.setPen(QPen(Qt::black, 1.5));
      p.drawLine(QPointF(2, 13), QPointF(12, 5));
      p.setBrush(Qt::black);
      p.drawEllipse(QRectF(10, 2, 5, 5));
      break;
  }
  return QIcon(pixmap);
}

}  // namespace

QIcon RecordKindIcon(doc::RecordKind kind) {
  static std::array<QIcon, 7> icons;
  QIcon& icon = icons.at(static_cast<size_t>(kind));
  if (icon.isNull()) icon = PaintKindIcon(kind);
  return icon;
}

// ---- Table ----

COverviewTableModel::COverviewTableModel(const edit::RecordsOverview& overview, QObject* parent)
    : QAbstractTableModel(parent), m_overview(overview) {}

int COverviewTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_overview.RowCount());
}

int COverviewTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : edit::kOverviewColumnCount;
}

QVariant COverviewTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto row = static_cast<size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole: return Q(m_overview.CellText(row, index.column()));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(
          Qt::AlignVCenter | (edit::OverviewColumns()[index.column()].rightAligned ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::DecorationRole:
      if (index.column() == 0) return RecordKindIcon(m_overview.RowKind(row));
      return {};
    case Qt::ToolTipRole:
      if (index.column() == 0) return Q(doc::RecordKindText(m_overview.RowKind(row)));
      return {};
    default: return {};
  }
}

QVariant COverviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= edit::kOverviewColumnCount) return {};
  const edit::OverviewColumn& column = edit::OverviewColumns()[section];
  if (role == Qt::DisplayRole) return Q(column.title);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.rightAligned ? Qt::AlignRight : Qt::AlignLeft);
  return {};
}

// ---- Tree ----

COverviewTreeModel::COverviewTreeModel(const edit::RecordsOverview& overview, QObject* parent)
    : QAbstractItemModel(parent), m_overview(overview) {}

QModelIndex COverviewTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  if (!parent.isValid()) return row == 0 ? createIndex(0, 0, quintptr{edit::OverviewTree::kRoot}) : QModelIndex();
  const edit::OverviewTree& tree = m_overview.tree();
  const Node node = NodeOf(parent);
  if (static_cast<size_t>(row) >= tree.ChildCount(node)) return {};
  return createIndex(row, 0, quintptr{tree.Child(node, static_cast<size_t>(row))});
}

QModelIndex COverviewTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const Node node = NodeOf(child);
  if (node == edit::OverviewTree::kRoot) return {};
  return IndexOf(m_overview.tree().Parent(node));
}

int COverviewTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return 1;
  if (parent.column() != 0) return 0;
  return static_cast<int>(m_overview.tree().ChildCount(NodeOf(parent)));
}

int COverviewTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant COverviewTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Node node = NodeOf(index);
  const edit::OverviewNodeType type = m_overview.tree().Type(node);
  switch (role) {
    case Qt::DisplayRole: return Q(m_overview.NodeLabel(node));
    case Qt::DecorationRole: {
      const QStyle* style = QApplication::style();
      switch (type) {
        case edit::OverviewNodeType::Root: return style->standardIcon(QStyle::SP_DriveHDIcon);
        case edit::OverviewNodeType::Cave: return style->standardIcon(QStyle::SP_DirIcon);
        case edit::OverviewNodeType::Passage: return style->standardIcon(QStyle::SP_DirOpenIcon);
        case edit::OverviewNodeType::Record: return RecordKindIcon(m_overview.NodeKind(node));
      }
      return {};
    }
    case Qt::ToolTipRole:
      if (type == edit::OverviewNodeType::Record) return Q(doc::RecordKindText(m_overview.NodeKind(node)));
      return {};
    default: return {};
  }
}

QModelIndex COverviewTreeModel::IndexOf(Node node) const {
  if (node == edit::OverviewTree::kRoot) return createIndex(0, 0, quintptr{edit::OverviewTree::kRoot});
  return createIndex(static_cast<int>(m_overview.tree().RowInParent(node)), 0, quintptr{node});
}

Node COverviewTreeModel::NodeOf(const QModelIndex& index) { return static_cast<Node>(index.internalId()); }

// ---- Window ----

// Each column starts at its own width, widened where the font needs more
// room for the heading or for the texts of the first rows (dates, stations).
void COverviewDialog::FitColumnWidths() {
  const QFontMetrics header(m_table->horizontalHeader()->font());
  const QFontMetrics cells(m_table->font());
  const int margin = 2 * m_table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_table) + kCellPadding;
  const int rows = std::min(m_tableModel->rowCount(), kMeasuredRows);
  for (int column = 0; column < edit::kOverviewColumnCount; ++column) {
    const int own = edit::OverviewColumns()[column].width;
    int text = header.horizontalAdvance(m_tableModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int row = 0; row < rows; ++row) {
      text = std::max(text, cells.horizontalAdvance(m_tableModel->index(row, column).data().toString()));
    }
    // Long free texts keep to twice their width; the rest shows on hovering.
    m_table->setColumnWidth(column, std::max(own, std::min(text + margin, 2 * own)));
  }
}

COverviewDialog::COverviewDialog(QWidget* parent, CPlanDoc& doc)
    : CDialogBase(doc.app(), parent, QStringLiteral("Vermessungsdaten Übersicht")), m_doc(doc),
      m_overview(doc.store()) {
  const bool compact = app().settings.GetInt("Settings", "SmallDisplay", 0) != 0;

  m_tree = new QTreeView(this);
  m_treeModel = new COverviewTreeModel(m_overview, this);
  m_tree->setModel(m_treeModel);
  m_tree->setHeaderHidden(true);
  m_tree->setUniformRowHeights(true);
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);

  m_table = new QTableView(this);
  m_tableModel = new COverviewTableModel(m_overview, this);
  m_table->setModel(m_tableModel);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setWordWrap(false);
  m_table->setContextMenuPolicy(Qt::CustomContextMenu);
  m_table->verticalHeader()->hide();
  m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
  FitColumnWidths();

  auto* splitter = new QSplitter(compact ? Qt::Vertical : Qt::Horizontal, this);
  splitter->addWidget(m_tree);
  splitter->addWidget(m_table);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, compact ? 2 : 3);

  auto* switchButton = new QPushButton(QStringLiteral("&Wechseln"), this);
  auto* editButton = new QPushButton(QStringLiteral("&Bearbeiten"), this);
  auto* loopButton = new QPushButton(QStringLiteral("&Ringschluss"), this);
  auto* closeButton = new QPushButton(QStringLiteral("Be&enden"), this);
  auto* helpButton = MakeHelpButton();
  for (QPushButton* button : {switchButton, editButton, loopButton, closeButton}) button->setAutoDefault(false);

  QBoxLayout* buttons = compact ? static_cast<QBoxLayout*>(new QVBoxLayout) : new QHBoxLayout;
  if (!compact) buttons->addStretch();
  for (QPushButton* button : {switchButton, editButton, loopButton, closeButton, helpButton}) {
    buttons->addWidget(button);
  }
  if (compact) buttons->addStretch();
  QBoxLayout* layout = compact ? static_cast<QBoxLayout*>(new QHBoxLayout(this)) : new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);
  resize(compact ? QSize(720, 460) : QSize(1100, 640));
  if (!compact) splitter->setSizes({260, 840});

  connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (current.isValid()) Redraw(m_overview.SelectTableRow(static_cast<size_t>(current.row())));
  });
  connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (current.isValid()) Redraw(m_overview.SelectTreeNode(COverviewTreeModel::NodeOf(current)));
  });
  connect(m_table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) Finish(m_overview.Edit());
  });
  connect(m_tree, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (!index.isValid()) return;
    const FollowUp next = m_overview.DoubleClickNode(COverviewTreeModel::NodeOf(index));
    if (next.next != FollowUp::Next::Nothing) Finish(next);
  });
  connect(m_table, &QWidget::customContextMenuRequested, this, [this] {
    Redraw(m_overview.Focus(edit::RecordsOverview::Control::Table));
    OnSwitch();
  });
  connect(m_tree, &QWidget::customContextMenuRequested, this, [this] {
    Redraw(m_overview.Focus(edit::RecordsOverview::Control::Tree));
    OnSwitch();
  });
  connect(switchButton, &QPushButton::clicked, this, &COverviewDialog::OnSwitch);
  connect(editButton, &QPushButton::clicked, this, [this] { Finish(m_overview.Edit()); });
  connect(loopButton, &QPushButton::clicked, this, [this] { Finish(m_overview.LoopEvaluation()); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

  // The current record selected and shown in both; the table has the focus.
  ShowInTree();
  ShowInTable();
  m_table->installEventFilter(this);
  m_tree->installEventFilter(this);
  setTabOrder(m_table, m_tree);
  m_table->setFocus();
}

bool COverviewDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == m_table) Redraw(m_overview.Focus(edit::RecordsOverview::Control::Table));
    if (watched == m_tree) Redraw(m_overview.Focus(edit::RecordsOverview::Control::Tree));
  }
  return CDialogBase::eventFilter(watched, event);
}

void COverviewDialog::ShowInTable() {
  const auto row = m_overview.CurrentRow();
  if (!row) return;
  const QModelIndex index = m_tableModel->index(static_cast<int>(*row), 0);
  m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  m_table->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void COverviewDialog::ShowInTree() {
  const auto node = m_overview.CurrentNode();
  const QModelIndex index = m_treeModel->IndexOf(node.value_or(edit::OverviewTree::kRoot));
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) m_tree->expand(up);
  m_tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void COverviewDialog::OnSwitch() {
  if (m_overview.Switch() == edit::RecordsOverview::Control::Tree) {
    ShowInTree();
    m_tree->setFocus();
  } else {
    ShowInTable();
    m_table->setFocus();
  }
}

void COverviewDialog::Finish(const FollowUp& followUp) {
  m_followUp = followUp;
  accept();
}

void COverviewDialog::Redraw(bool needed) {
  if (needed) m_doc.UpdateAllViews();
}

FollowUp RunOverviewDialog(QWidget* parent, CPlanDoc& doc) {
  COverviewDialog dialog(parent, doc);
  dialog.exec();
  return dialog.followUp();
}

}  // namespace hp::app
