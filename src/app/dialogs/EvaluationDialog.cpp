// The "Datenauswertung" window.
#include "app/dialogs/EvaluationDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/PlanDoc.h"
#include "base/NumberFormat.h"

namespace hp::app {

QString EvaluationCellText(size_t row, double value) {
  return QString::fromStdString(calc::EvaluationCellText(row, value));
}

CEvaluationDialog::CEvaluationDialog(AppContext& app, QWidget* parent, const calc::SurveyEvaluation& evaluation)
    : CDialogBase(app, parent, QStringLiteral("Datenauswertung")) {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Sichtbare Messzüge"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Alle Messzüge"), this), 0, 2);
  const auto visible = calc::EvaluationRowValues(evaluation.visible);
  const auto all = calc::EvaluationRowValues(evaluation.all);
  const auto& labels = calc::EvaluationRowLabels();
  for (size_t row = 0; row < labels.size(); ++row) {
    const int line = static_cast<int>(row) + 1;
    auto* caption = new QLabel(QString::fromUtf8(labels[row].data(), static_cast<qsizetype>(labels[row].size())), this);
    grid->addWidget(caption, line, 0);
    const double values[2] = {visible[row], all[row]};
    for (int column = 0; column < 2; ++column) {
      auto* field = new QLineEdit(EvaluationCellText(row, values[column]), this);
      field->setReadOnly(true);
      field->setAlignment(Qt::AlignRight);
      grid->addWidget(field, line, column + 1);
      if (column == 0) caption->setBuddy(field);
    }
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  AddHelpButton(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void RunEvaluationDialog(QWidget* parent, CPlanDoc& doc, double heightOffset, double referencePath) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const calc::SurveyEvaluation evaluation =
      calc::EvaluateSurvey(doc.store(), doc.worksheet(), heightOffset, referencePath);
  QApplication::restoreOverrideCursor();
  CEvaluationDialog dialog(doc.app(), parent, evaluation);
  dialog.exec();
}

}  // namespace hp::app
