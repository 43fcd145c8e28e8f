// "Geräte": a table of fields bound to calc/InstrumentDialog.h, one row per
// instrument.
#include "app/dialogs/InstrumentsDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/SettingsDialog.h"
#include "calc/InstrumentDialog.h"

namespace hp::app {
namespace {

class CInstrumentsDialog final : public CSettingsDialog {
 public:
  CInstrumentsDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, Q("Ger\u00e4te")), m_settings(settings), m_model(settings) {
    m_table = new QTableWidget(doc::kInstrumentCount, calc::kInstrumentColumnCount, this);
    QStringList columns, rows;
    for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
      columns << Q(calc::InstrumentColumnTitle(calc::InstrumentColumnAt(c)));
    }
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      const QString label = Q(calc::InstrumentRowLabel(number));
      rows << QString(label).remove(QLatin1Char('&'));
      // "&1" to "&9": Alt and the digit go to the row.
      if (const qsizetype amp = label.indexOf(QLatin1Char('&')); amp >= 0 && amp + 1 < label.size()) {
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + label.at(amp + 1)), this);
        connect(shortcut, &QShortcut::activated, this, [this, number] { Cell(number, 0)->setFocus(); });
      }
    }
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setVerticalHeaderLabels(rows);
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      for (int c = 0; c < calc::kInstrumentColumnCount; ++c) m_table->setCellWidget(number - 1, c, MakeCell(number, c));
    }
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
    resize(900, 560);
  }

 private:
  QWidget* MakeCell(int number, int position) {
    const calc::InstrumentColumn column = calc::InstrumentColumnAt(position);
    if (calc::IsListColumn(column)) {
      auto* combo = new QComboBox(m_table);
      for (int i = 0; i < calc::ChoiceCount(column); ++i) combo->addItem(Q(calc::ChoiceText(column, i)));
      combo->setCurrentIndex(m_model.Choice(number, column));  // -1 (empty) for a stored value off the list
      return combo;
    }
    if (column == calc::InstrumentColumn::Name) {
      return StoredLineEdit(m_table, m_model.Text(number, column), calc::kInstrumentNameMax);
    }
    auto* edit = new QLineEdit(Q(m_model.Text(number, column)), m_table);
    edit->setAlignment(Qt::AlignRight);
    return edit;
  }

  QWidget* Cell(int number, int position) const { return m_table->cellWidget(number - 1, position); }

  QWidget* FieldWidget(int field) const override {
    if (field < 0) return nullptr;
    const int number = calc::InstrumentOfField(field);
    const calc::InstrumentColumn column = calc::ColumnOfField(field);
    for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
      if (calc::InstrumentColumnAt(c) == column) {
        m_table->scrollTo(m_table->model()->index(number - 1, c));
        return Cell(number, c);
      }
    }
    return nullptr;
  }

  doc::DialogOutcome Store() override {
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
        const calc::InstrumentColumn column = calc::InstrumentColumnAt(c);
        if (auto* combo = qobject_cast<QComboBox*>(Cell(number, c))) {
          m_model.SetChoice(number, column, combo->currentIndex());
        } else if (auto* edit = qobject_cast<QLineEdit*>(Cell(number, c))) {
          m_model.SetText(number, column, ToStored(edit->text()));
        }
      }
    }
    return m_model.Apply(m_settings);
  }

  doc::DocumentSettings& m_settings;
  calc::InstrumentDialogModel m_model;
  QTableWidget* m_table;
};

}  // namespace

bool RunInstrumentsDialog(QWidget* parent, CPlanDoc& doc) {
  CInstrumentsDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

}  // namespace hp::app
