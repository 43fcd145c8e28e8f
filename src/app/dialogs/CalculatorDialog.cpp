// The windows of the survey data calculator and the station distance.
#include "app/dialogs/CalculatorDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/QtText.h"
#include "base/NumberFormat.h"

namespace hp::app {
namespace {

using calc::CalcField;

QLabel* Label(QWidget* parent, std::string_view text, QWidget* buddy = nullptr) {
  auto* label = new QLabel(Q(text), parent);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

}  // namespace

CCalculatorDialog::CCalculatorDialog(AppContext& app, QWidget* parent, calc::SurveyCalculator& calculator)
    : CDialogBase(app, parent, Q(calc::kCalculatorCaption)), m_calculator(calculator) {
  auto* polar = new QGridLayout;
  QLineEdit* length = AddField(CalcField::Length);
  QLineEdit* azimuth = AddField(CalcField::Azimuth);
  QLineEdit* inclination = AddField(CalcField::Inclination);
  polar->addWidget(Label(this, calc::kCalculatorLength, length), 0, 0);
  polar->addWidget(length, 0, 1);
  polar->addWidget(Label(this, calc::kCalculatorAzimuth, azimuth), 1, 0);
  polar->addWidget(azimuth, 1, 1);
  polar->addWidget(Label(this, calc::kCalculatorInclination, inclination), 2, 0);
  polar->addWidget(inclination, 2, 1);

  QLineEdit* startReading = AddField(CalcField::StartReading);
  QLineEdit* endReading = AddField(CalcField::EndReading);
  QLineEdit* startHeight = AddField(CalcField::StartHeight);
  QLineEdit* endHeight = AddField(CalcField::EndHeight);
  QLineEdit* corrected = AddField(CalcField::CorrectedLength);
  QLineEdit* horizontal = AddField(CalcField::Horizontal);
  m_down = new QCheckBox(Q(calc::kCalculatorDown), this);
  polar->addWidget(Label(this, calc::kCalculatorReadings, startReading), 3, 0);
  polar->addWidget(startReading, 3, 1);
  polar->addWidget(endReading, 3, 2);
  polar->addWidget(Label(this, calc::kCalculatorHeights, startHeight), 4, 0);
  polar->addWidget(startHeight, 4, 1);
  polar->addWidget(endHeight, 4, 2);
  polar->addWidget(Label(this, calc::kCalculatorCorrected, corrected), 5, 0);
  polar->addWidget(corrected, 5, 1);
  polar->addWidget(Label(this, calc::kCalculatorHorizontal, horizontal), 6, 0);
  polar->addWidget(horizontal, 6, 1);
  polar->addWidget(m_down, 6, 2);

  auto* coordinates = new QGroupBox(Q(calc::kCalculatorCoordinates), this);
  auto* xyz = new QGridLayout(coordinates);
  const std::pair<CalcField, const char*> axes[] = {{CalcField::X, "X"}, {CalcField::Y, "Y"}, {CalcField::Z, "Z"}};
  int row = 0;
  for (const auto& [field, name] : axes) {
    QLineEdit* edit = AddField(field);
    xyz->addWidget(Label(coordinates, name, edit), row, 0);
    xyz->addWidget(edit, row++, 1);
  }

  m_reverse = new QCheckBox(Q(calc::kCalculatorReverse), this);
  connect(m_reverse, &QCheckBox::clicked, this, [this](bool checked) { m_calculator.SetReverse(checked); });
  connect(m_down, &QCheckBox::clicked, this, [this] {
    m_calculator.ToggleDown();
    ShowValues();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(polar);
  layout->addWidget(coordinates);
  layout->addWidget(m_reverse);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  ShowValues();
}

QLineEdit* CCalculatorDialog::AddField(CalcField field) {
  auto* edit = new QLineEdit(this);
  edit->setAlignment(Qt::AlignRight);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textEdited, this, [this] { m_calculator.MarkChanged(); });
  m_fields.emplace_back(edit, field);
  return edit;
}

void CCalculatorDialog::ShowValues() {
  for (const auto& [edit, field] : m_fields) edit->setText(Q(m_calculator.Text(field)));
  m_down->setChecked(m_calculator.Values().down);
  m_reverse->setChecked(m_calculator.Values().reverse);
}

bool CCalculatorDialog::LeaveField(QLineEdit* edit) {
  for (const auto& [candidate, field] : m_fields) {
    if (candidate != edit) continue;
    const auto refusal = m_calculator.Leave(field, edit->text().toStdString());
    ShowValues();
    if (!refusal) return true;
    app().prompter.Message(refusal->message, platform::Icon::Exclamation);
    QTimer::singleShot(0, edit, [edit] {
      edit->setFocus();
      edit->selectAll();
    });
    return false;
  }
  return true;
}

bool CCalculatorDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit != nullptr && event->type() == QEvent::FocusIn) {
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, edit, &QLineEdit::selectAll);
  } else if (edit != nullptr && event->type() == QEvent::FocusOut && !m_closing) {
    // Switching windows or opening the field's context menu is no leaving.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && m_calculator.Changed()) {
      LeaveField(edit);
    }
  }
  return CDialogBase::eventFilter(watched, event);
}

void CCalculatorDialog::accept() {
  // OK pressed with Enter inside an edited field: that entry counts too.
  if (m_calculator.Changed()) {
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit != nullptr && !LeaveField(edit)) return;
  }
  m_closing = true;
  CDialogBase::accept();
}

void CCalculatorDialog::reject() {
  m_closing = true;
  CDialogBase::reject();
}

bool RunSurveyCalculator(AppContext& app, QWidget* parent, const doc::SurveyStore& store, doc::SurveyRecord& record) {
  calc::SurveyCalculator calculator(record, store.settings);
  CCalculatorDialog dialog(app, parent, calculator);
  if (dialog.exec() != QDialog::Accepted) return false;
  calculator.Apply(record);
  return true;
}

void RunStationDistanceDialog(AppContext& app, QWidget* parent, const doc::SurveyStore& store,
                              const doc::SurveyRecord& current, const doc::SurveyRecord* marked) {
  const calc::StationDistance d = calc::ComputeStationDistance(current, marked, store.settings);
  CDialogBase dialog(app, parent, Q(calc::kDistanceCaption));
  const auto shown = [&dialog](const QString& text) {
    auto* field = new QLineEdit(text, &dialog);
    field->setReadOnly(true);
    return field;
  };
  const auto number = [&shown](double value) {
    QLineEdit* field = shown(Q(base::FormatShown(value)));
    field->setAlignment(Qt::AlignRight);
    return field;
  };

  auto* stations = new QGridLayout;
  stations->addWidget(Label(&dialog, calc::kStationCave), 0, 1);
  stations->addWidget(Label(&dialog, calc::kStationPassage), 0, 2);
  stations->addWidget(Label(&dialog, calc::kStationPoint), 0, 3);
  const struct {
    std::string_view label;
    int32_t cave, passage;
    const std::string& point;
  } rows[] = {{calc::kDistanceReference, d.referenceCave, d.referencePassage, d.referencePoint},
              {calc::kDistanceStation, d.cave, d.passage, d.point}};
  int row = 1;
  for (const auto& r : rows) {
    QLineEdit* cave = shown(QString::number(r.cave));
    stations->addWidget(Label(&dialog, r.label, cave), row, 0);
    stations->addWidget(cave, row, 1);
    stations->addWidget(shown(QString::number(r.passage)), row, 2);
    stations->addWidget(shown(FromStored(r.point)), row++, 3);
  }
  stations->addWidget(Label(&dialog, calc::kDistanceInstrument), row, 0);
  stations->addWidget(shown(FromStored(d.instrument)), row, 1, 1, 3);

  auto* values = new QGridLayout;
  const std::pair<std::string_view, double> figures[] = {
      {"X", d.x},
      {"Y", d.y},
      {"Z", d.z},
      {calc::kDistanceHorizontal, d.horizontal},
      {calc::kCalculatorLength, d.length},
      {calc::kCalculatorAzimuth, d.azimuth},
      {calc::kCalculatorInclination, d.inclination},
  };
  row = 0;
  for (const auto& [label, value] : figures) {
    values->addWidget(Label(&dialog, label), row, 0);
    values->addWidget(number(value), row++, 1);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  dialog.AddHelpButton(buttons);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(stations);
  layout->addLayout(values);
  layout->addWidget(buttons);
  dialog.exec();
}

}  // namespace hp::app
