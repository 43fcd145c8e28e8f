// The window of the worksheet dialog.
#include "app/dialogs/WorksheetSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/PlanDoc.h"
#include "app/QtText.h"

namespace hp::app {

CWorksheetSettingsDialog::CWorksheetSettingsDialog(AppContext& app, const draw::WorksheetOptions& initial,
                                                   QWidget* parent,
                                                   std::function<void(const draw::WorksheetOptions&)> store)
    : CDialogBase(app, parent, Q(draw::sheet::kCaption)), m_store(std::move(store)) {
  namespace t = draw::sheet;
  const auto check = [this](std::string_view text) { return new QCheckBox(Q(text), this); };
  const auto edit = [this] {
    auto* line = new QLineEdit(this);
    // Every Windows-1252 character is one UTF-16 unit, so this is the stored limit.
    line->setMaxLength(draw::kWorksheetTextMaxLength);
    return line;
  };

  m_title = edit();
  m_title2 = edit();
  m_pageLabel = edit();
  auto* defaultLabel = new QPushButton(Q(t::kDefaultButton), this);
  connect(defaultLabel, &QPushButton::clicked, this, [this] {
    draw::WorksheetOptions o = options();
    draw::SetDefaultPageLabel(o);
    m_pageLabel->setText(FromStored(o.pageLabel));
  });
  m_titleAndPageLabel = check(t::kTitleAndPageLabel);
  m_frame = check(t::kFrame);
  m_axisLabels = check(t::kAxisLabels);
  m_gridCrosses = check(t::kGridCrosses);
  m_subSheetDivision = check(t::kSubSheetDivision);
  m_northArrow = check(t::kNorthArrow);
  m_northArrowSize = new QComboBox(this);
  m_heightLabels = check(t::kHeightLabels);
  m_heightLabelStep = new QSpinBox(this);
  m_heightLabelStep->setRange(0, draw::kMaxHeightLabelStep);
  m_heightLabelStep->setSpecialValueText(Q(t::kAutomatic));

  auto* grid = new QGridLayout;
  auto* titleLabel = new QLabel(Q(t::kTitle), this);
  titleLabel->setBuddy(m_title);
  grid->addWidget(titleLabel, 0, 0);
  grid->addWidget(m_title, 0, 1, 1, 2);
  grid->addWidget(m_title2, 1, 1, 1, 2);
  auto* pageLabel = new QLabel(Q(t::kPageLabel), this);
  pageLabel->setBuddy(m_pageLabel);
  grid->addWidget(pageLabel, 2, 0);
  grid->addWidget(m_pageLabel, 2, 1);
  grid->addWidget(defaultLabel, 2, 2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(m_titleAndPageLabel, 0, 0);
  boxes->addWidget(m_frame, 1, 0);
  boxes->addWidget(m_axisLabels, 2, 0);
  boxes->addWidget(m_gridCrosses, 3, 0);
  boxes->addWidget(m_subSheetDivision, 4, 0);
  boxes->addWidget(m_northArrow, 0, 1);
  boxes->addWidget(m_northArrowSize, 0, 2);
  boxes->addWidget(m_heightLabels, 1, 1);
  boxes->addWidget(m_heightLabelStep, 1, 2);

  QDialogButtonBox* buttons = AddHelpButton(MakeOkCancelButtons());
  QPushButton* apply = buttons->addButton(Q(draw::kApplyButtonText), QDialogButtonBox::ApplyRole);
  connect(apply, &QPushButton::clicked, this, [this] {
    if (m_store) m_store(options());
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(boxes);
  layout->addWidget(buttons);

  connect(m_northArrow, &QCheckBox::toggled, this, &CWorksheetSettingsDialog::UpdateEnabling);
  connect(m_heightLabels, &QCheckBox::toggled, this, &CWorksheetSettingsDialog::UpdateEnabling);
  setOptions(initial);
}

draw::WorksheetOptions CWorksheetSettingsDialog::options() const {
  draw::WorksheetOptions o;
  o.title = ToStored(m_title->text());
  o.title2 = ToStored(m_title2->text());
  o.pageLabel = ToStored(m_pageLabel->text());
  o.titleAndPageLabel = m_titleAndPageLabel->isChecked();
  o.frame = m_frame->isChecked();
  o.axisLabels = m_axisLabels->isChecked();
  o.gridCrosses = m_gridCrosses->isChecked();
  o.subSheetDivision = m_subSheetDivision->isChecked();
  o.northArrow = m_northArrow->isChecked();
  o.northArrowSize = m_northArrowSize->currentData().toInt();
  o.heightLabels = m_heightLabels->isChecked();
  o.heightLabelStep = m_heightLabelStep->value();
  return o;
}

void CWorksheetSettingsDialog::setOptions(const draw::WorksheetOptions& o) {
  m_title->setText(FromStored(o.title));
  m_title2->setText(FromStored(o.title2));
  m_pageLabel->setText(FromStored(o.pageLabel));
  m_titleAndPageLabel->setChecked(o.titleAndPageLabel);
  m_frame->setChecked(o.frame);
  m_axisLabels->setChecked(o.axisLabels);
  m_gridCrosses->setChecked(o.gridCrosses);
  m_subSheetDivision->setChecked(o.subSheetDivision);
  m_northArrow->setChecked(o.northArrow);
  m_northArrowSize->clear();
  for (int size : draw::NorthArrowSizeChoices(o.northArrowSize))
    m_northArrowSize->addItem(QString::fromStdString(draw::SizeChoiceText(size)), size);
  m_northArrowSize->setCurrentIndex(std::max(0, m_northArrowSize->findData(o.northArrowSize)));
  m_heightLabels->setChecked(o.heightLabels);
  m_heightLabelStep->setValue(o.heightLabelStep);
  UpdateEnabling();
}

void CWorksheetSettingsDialog::UpdateEnabling() {
  const draw::WorksheetOptions o = options();
  m_northArrowSize->setEnabled(draw::IsNorthArrowSizeEnabled(o));
  m_heightLabelStep->setEnabled(draw::IsHeightLabelStepEnabled(o));
}

void CWorksheetSettingsDialog::accept() {
  if (m_store) m_store(options());
  CDialogBase::accept();
}

bool RunWorksheetSettingsDialog(QWidget* parent, CPlanDoc& doc,
                                std::function<void(const draw::WorksheetChange&)> applied) {
  CWorksheetSettingsDialog* shown = nullptr;
  CWorksheetSettingsDialog dialog(
      doc.app(), draw::LoadWorksheetOptions(doc.worksheet()), parent, [&](const draw::WorksheetOptions& options) {
        const draw::WorksheetChange change = draw::ApplyWorksheetOptions(options, doc.worksheet());
        if (change.modified) doc.setModified();
        if (applied) applied(change);
        doc.UpdateAllViews();
        shown->setOptions(draw::LoadWorksheetOptions(doc.worksheet()));
      });
  shown = &dialog;
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace hp::app
