// The page "Fehlersuche".
#include "app/dialogs/BlunderPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "base/NumberFormat.h"
#include "calc/BlunderTable.h"

namespace hp::app {
namespace {

QTableWidget* MakeTable(QWidget* parent, const std::vector<std::string>& headings) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
  QStringList labels;
  for (const std::string& heading : headings) labels << Q(heading);
  table->setHorizontalHeaderLabels(labels);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  return table;
}

void SetRow(QTableWidget* table, int row, const std::vector<std::string>& cells, size_t leftColumns) {
  for (size_t column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(Q(cells[column]));
    item->setTextAlignment(Qt::AlignVCenter | (column < leftColumns ? Qt::AlignLeft : Qt::AlignRight));
    table->setItem(row, static_cast<int>(column), item);
  }
}

QString Shown(double value) { return Q(base::DecimalComma(base::FormatFixed(value, 2))); }

// The window's suspect table has one column more than the batch tool's: the
// mark of explanations that are equally good.
std::vector<std::string> SuspectHeadings() {
  std::vector<std::string> headings = calc::BlunderSuspectHeadings();
  headings.emplace_back("Hinweis");
  return headings;
}

QString EqualRanks(const std::vector<size_t>& others) {
  QStringList ranks;
  for (const size_t other : others) ranks << QString::number(other + 1);
  return QStringLiteral("Erklärt die Schleifen ebenso gut wie Rang %1.").arg(ranks.join(QStringLiteral(", ")));
}

}  // namespace

CBlunderPage::CBlunderPage(QWidget* parent, CPlanDoc& doc)
    : QWidget(parent), m_doc(doc), m_options(calc::LoadBlunderOptions(doc.app().settings)) {
  m_loops = MakeTable(this, calc::BlunderLoopHeadings());
  m_suspects = MakeTable(this, SuspectHeadings());
  m_sigmaLength = new QLineEdit(Shown(m_options.sigmaLength), this);
  m_sigmaAngle = new QLineEdit(Shown(m_options.sigmaAngle), this);
  auto* search = new QPushButton(QStringLiteral("S&uchen"), this);
  search->setAutoDefault(false);

  auto* accuracy = new QHBoxLayout;
  auto* lengthLabel = new QLabel(QStringLiteral("Genauigkeit &Länge (m):"), this);
  lengthLabel->setBuddy(m_sigmaLength);
  auto* angleLabel = new QLabel(QStringLiteral("Genauigkeit &Winkel (°):"), this);
  angleLabel->setBuddy(m_sigmaAngle);
  accuracy->addWidget(lengthLabel);
  accuracy->addWidget(m_sigmaLength);
  accuracy->addWidget(angleLabel);
  accuracy->addWidget(m_sigmaAngle);
  accuracy->addWidget(search);
  accuracy->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(accuracy);
  layout->addWidget(new QLabel(QStringLiteral("Schleifen:"), this));
  layout->addWidget(m_loops, 1);
  layout->addWidget(new QLabel(QStringLiteral("Verdächtige Messwerte:"), this));
  layout->addWidget(m_suspects, 1);

  connect(search, &QPushButton::clicked, this, [this] { Search(); });
  for (QLineEdit* field : {m_sigmaLength, m_sigmaAngle}) {
    connect(field, &QLineEdit::returnPressed, this, [this] { Search(); });
  }
  connect(m_suspects, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row >= 0 && static_cast<size_t>(row) < m_report.suspects.size()) {
      Q_EMIT editRecord(static_cast<int>(m_report.suspects[static_cast<size_t>(row)].record) + 1);
    }
  });
  connect(m_suspects, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (row >= 0 && static_cast<size_t>(row) < m_report.suspects.size()) {
      Q_EMIT selectRecord(static_cast<int>(m_report.suspects[static_cast<size_t>(row)].record) + 1);
    }
  });
  m_report = calc::FindBlunders(m_doc.store(), m_options);
  Fill();
}

void CBlunderPage::ShowCurrentSuspect() {
  const int row = m_suspects->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= m_report.suspects.size()) return;
  m_doc.ShowLegs({m_report.suspects[static_cast<size_t>(row)].record});
}

bool CBlunderPage::Search() {
  const auto length = base::ParseNumber(m_sigmaLength->text().toStdString());
  const auto angle = base::ParseNumber(m_sigmaAngle->text().toStdString());
  if (!length || !(*length > 0) || !angle || !(*angle > 0)) {
    m_doc.app().prompter.Message("Bitte für beide Genauigkeiten eine Zahl größer als 0 eingeben.",
                                 platform::Icon::Exclamation);
    return false;
  }
  m_options = {*length, *angle};
  calc::SaveBlunderOptions(m_doc.app().settings, m_options);
  m_report = calc::FindBlunders(m_doc.store(), m_options);
  Fill();
  return true;
}

void CBlunderPage::Fill() {
  m_loops->setRowCount(static_cast<int>(m_report.loops.size()));
  for (size_t i = 0; i < m_report.loops.size(); ++i) {
    SetRow(m_loops, static_cast<int>(i), calc::BlunderLoopCells(m_report.loops[i], i + 1), 0);
  }
  const std::vector<std::vector<size_t>> equal = calc::EquivalentSuspects(m_report);
  m_suspects->setRowCount(static_cast<int>(m_report.suspects.size()));
  for (size_t i = 0; i < m_report.suspects.size(); ++i) {
    std::vector<std::string> cells = calc::BlunderSuspectCells(m_doc.store(), m_report.suspects[i], i + 1);
    cells.emplace_back(equal[i].empty() ? "" : calc::kEquivalentMark);
    const int row = static_cast<int>(i);
    SetRow(m_suspects, row, cells, 5);
    QTableWidgetItem* mark = m_suspects->item(row, static_cast<int>(cells.size()) - 1);
    mark->setTextAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    if (!equal[i].empty()) mark->setToolTip(EqualRanks(equal[i]));
  }
  m_loops->resizeColumnsToContents();
  m_suspects->resizeColumnsToContents();
}

}  // namespace hp::app
