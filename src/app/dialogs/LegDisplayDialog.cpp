// The window of the leg display dialog.
#include "app/dialogs/LegDisplayDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "draw/LineColours.h"

namespace hp::app {

namespace {

void Select(QComboBox* box, int value) { box->setCurrentIndex(std::max(0, box->findData(value))); }

}  // namespace

CLegDisplayDialog::CLegDisplayDialog(AppContext& app, const draw::LegDisplayOptions& initial, QWidget* parent,
                                     std::function<void(const draw::LegDisplayOptions&)> store)
    : CDialogBase(app, parent, Q(draw::legs::kCaption)), m_store(std::move(store)) {
  namespace t = draw::legs;
  const auto check = [this](std::string_view text) { return new QCheckBox(Q(text), this); };

  m_colourMode = new QComboBox(this);
  for (int mode = 0; mode < draw::kLineColourModeCount; ++mode)
    m_colourMode->addItem(Q(draw::LineColourModeText(mode)), mode);
  m_manualRange = check(t::kManualRange);
  m_max = new QLineEdit(this);
  m_min = new QLineEdit(this);
  m_lineWidth = new QSpinBox(this);
  m_lineWidth->setRange(draw::kMinLineWidth, draw::kMaxLineWidth);
  m_blackBackground = check(t::kBlackBackground);
  m_pointsInStandardColour = check(t::kPointsInStandardColour);
  m_auxiliaryLines = check(t::kAuxiliaryLines);
  m_crossSections = check(t::kCrossSections);
  m_crossSectionsInStandardColour = check(t::kCrossSectionsInStandardColour);
  m_passageMarking = check(t::kPassageMarking);
  m_crosshair = check(t::kCrosshair);

  m_numbering = check(t::kNumbering);
  m_numberingKind = new QComboBox(this);
  for (int kind = 1; kind <= draw::kNumberingKindCount; ++kind)
    m_numberingKind->addItem(Q(draw::NumberingKindText(kind)), kind);
  m_descriptionOverrides = check(t::kDescriptionOverrides);
  m_stationMark = check(t::kStationMark);
  m_stationMarkKind = new QComboBox(this);
  for (int kind = 1; kind <= draw::kStationMarkKindCount; ++kind)
    m_stationMarkKind->addItem(Q(draw::StationMarkText(kind)), kind);
  m_labelAngle = new QComboBox(this);
  for (int index = 0; index < draw::kLabelAngleCount; ++index)
    m_labelAngle->addItem(QString::fromStdString(draw::LabelAngleText(index)), index);
  m_markCoordinateReferences = check(t::kMarkCoordinateReference);
  m_fileSymbol = check(t::kFileSymbol);

  auto* grid = new QGridLayout;
  const auto labelled = [&](int row, int column, std::string_view text, QWidget* field) {
    auto* label = new QLabel(Q(text), this);
    label->setBuddy(field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
  };
  // Left: the legs; right: the stations and their labels.
  labelled(0, 0, t::kLineColour, m_colourMode);
  grid->addWidget(m_manualRange, 1, 0, 1, 2);
  labelled(2, 0, t::kMaximum, m_max);
  labelled(3, 0, t::kMinimum, m_min);
  labelled(4, 0, t::kLineWidth, m_lineWidth);
  int row = 5;
  for (QCheckBox* box : {m_blackBackground, m_auxiliaryLines, m_crossSections, m_crossSectionsInStandardColour,
                         m_passageMarking, m_crosshair})
    grid->addWidget(box, row++, 0, 1, 2);

  grid->addWidget(m_numbering, 0, 2);
  grid->addWidget(m_numberingKind, 0, 3);
  grid->addWidget(m_descriptionOverrides, 1, 2, 1, 2);
  labelled(2, 2, t::kLabelAngle, m_labelAngle);
  grid->addWidget(m_stationMark, 3, 2);
  grid->addWidget(m_stationMarkKind, 3, 3);
  row = 4;
  for (QCheckBox* box : {m_pointsInStandardColour, m_markCoordinateReferences, m_fileSymbol})
    grid->addWidget(box, row++, 2, 1, 2);

  QDialogButtonBox* buttons = AddHelpButton(MakeOkCancelButtons());
  QPushButton* apply = buttons->addButton(Q(draw::kApplyButtonText), QDialogButtonBox::ApplyRole);
  connect(apply, &QPushButton::clicked, this, [this] { Store(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  for (QCheckBox* box : {m_manualRange, m_numbering, m_stationMark})
    connect(box, &QCheckBox::toggled, this, &CLegDisplayDialog::UpdateEnabling);
  connect(m_colourMode, &QComboBox::currentIndexChanged, this, &CLegDisplayDialog::UpdateEnabling);
  setOptions(initial);
}

draw::LegDisplayOptions CLegDisplayDialog::options() const {
  draw::LegDisplayOptions o;
  o.lineColourMode = m_colourMode->currentData().toInt();
  o.manualRange = m_manualRange->isChecked();
  o.rangeMax = m_max->text().toStdString();
  o.rangeMin = m_min->text().toStdString();
  o.blackBackground = m_blackBackground->isChecked();
  o.pointsInStandardColour = m_pointsInStandardColour->isChecked();
  o.lineWidth = m_lineWidth->value();
  o.numbering = m_numbering->isChecked();
  o.numberingKind = m_numberingKind->currentData().toInt();
  o.descriptionOverrides = m_descriptionOverrides->isChecked();
  o.stationMark = m_stationMark->isChecked();
  o.stationMarkKind = m_stationMarkKind->currentData().toInt();
  o.labelAngleIndex = m_labelAngle->currentData().toInt();
  o.crosshair = m_crosshair->isChecked();
  o.fileSymbol = m_fileSymbol->isChecked();
  o.markCoordinateReferences = m_markCoordinateReferences->isChecked();
  o.passageMarking = m_passageMarking->isChecked();
  o.auxiliaryLines = m_auxiliaryLines->isChecked();
  o.crossSections = m_crossSections->isChecked();
  o.crossSectionsInStandardColour = m_crossSectionsInStandardColour->isChecked();
  return o;
}

void CLegDisplayDialog::setOptions(const draw::LegDisplayOptions& o) {
  Select(m_colourMode, o.lineColourMode);
  m_manualRange->setChecked(o.manualRange);
  m_max->setText(QString::fromStdString(o.rangeMax));
  m_min->setText(QString::fromStdString(o.rangeMin));
  m_blackBackground->setChecked(o.blackBackground);
  m_pointsInStandardColour->setChecked(o.pointsInStandardColour);
  m_lineWidth->setValue(o.lineWidth);
  m_numbering->setChecked(o.numbering);
  Select(m_numberingKind, o.numberingKind);
  m_descriptionOverrides->setChecked(o.descriptionOverrides);
  m_stationMark->setChecked(o.stationMark);
  Select(m_stationMarkKind, o.stationMarkKind);
  Select(m_labelAngle, o.labelAngleIndex);
  m_crosshair->setChecked(o.crosshair);
  m_fileSymbol->setChecked(o.fileSymbol);
  m_markCoordinateReferences->setChecked(o.markCoordinateReferences);
  m_passageMarking->setChecked(o.passageMarking);
  m_auxiliaryLines->setChecked(o.auxiliaryLines);
  m_crossSections->setChecked(o.crossSections);
  m_crossSectionsInStandardColour->setChecked(o.crossSectionsInStandardColour);
  UpdateEnabling();
}

void CLegDisplayDialog::UpdateEnabling() {
  const draw::LegDisplayOptions o = options();
  m_manualRange->setEnabled(draw::IsManualRangeEnabled(o));
  m_max->setEnabled(draw::IsRangeEnabled(o));
  m_min->setEnabled(draw::IsRangeEnabled(o));
  m_numberingKind->setEnabled(draw::IsNumberingKindEnabled(o));
  m_stationMarkKind->setEnabled(draw::IsStationMarkKindEnabled(o));
}

bool CLegDisplayDialog::Store() {
  const draw::LegDisplayOptions o = options();
  if (const auto fault = draw::CheckLegDisplayOptions(o)) {
    app().prompter.Message(fault->message, platform::Icon::Exclamation);
    QLineEdit* field = fault->field == draw::LegDisplayField::RangeMax ? m_max : m_min;
    field->setFocus();
    field->selectAll();
    return false;
  }
  if (m_store) m_store(o);
  return true;
}

void CLegDisplayDialog::accept() {
  if (Store()) CDialogBase::accept();
}

bool RunLegDisplayDialog(QWidget* parent, CPlanDoc& doc, std::function<void(const draw::WorksheetChange&)> applied) {
  CLegDisplayDialog* shown = nullptr;
  CLegDisplayDialog dialog(
      doc.app(), draw::LoadLegDisplayOptions(doc.worksheet()), parent, [&](const draw::LegDisplayOptions& options) {
        const draw::LegDisplayApplied result = draw::ApplyLegDisplayOptions(options, doc.worksheet());
        if (result.fault) return;
        if (result.change.modified) doc.setModified();
        if (applied) applied(result.change);
        doc.UpdateAllViews();
        // Show what was stored (limited values, the range as shown for it).
        shown->setOptions(draw::LoadLegDisplayOptions(doc.worksheet()));
      });
  shown = &dialog;
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace hp::app
