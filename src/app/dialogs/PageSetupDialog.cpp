// The window of the page setup dialog.
#include "app/dialogs/PageSetupDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/QtText.h"

namespace hp::app {

CPageSetupDialog::CPageSetupDialog(AppContext& app, const draw::PageSetupOptions& initial, doc::DisplayType displayType,
                                   QWidget* parent, Store store, Centre centre)
    : CDialogBase(app, parent, Q(draw::page::kCaption)), m_store(std::move(store)), m_centre(std::move(centre)) {
  namespace t = draw::page;
  m_scale = new QComboBox(this);
  m_scale->setEditable(true);
  for (const std::string& choice : draw::ScaleChoices()) m_scale->addItem(QString::fromStdString(choice));
  m_fitScale = new QCheckBox(Q(t::kFitScale), this);
  m_fitScale->setEnabled(draw::IsFitScaleEnabled(displayType));
  m_overview = new QRadioButton(Q(t::kOverview), this);
  m_subSheets = new QRadioButton(Q(t::kSubSheets), this);
  m_portrait = new QRadioButton(Q(t::kPortrait), this);
  m_landscape = new QRadioButton(Q(t::kLandscape), this);
  auto* printed = new QButtonGroup(this);
  printed->addButton(m_overview);
  printed->addButton(m_subSheets);
  auto* orientation = new QButtonGroup(this);
  orientation->addButton(m_portrait);
  orientation->addButton(m_landscape);
  m_centreOnPage = new QCheckBox(Q(t::kCentreOnPage), this);
  const auto margin = [this] {
    auto* box = new QSpinBox(this);
    box->setRange(0, draw::kMaxMarginMm);
    return box;
  };
  m_left = margin(), m_right = margin(), m_top = margin(), m_bottom = margin();

  auto* scaleLabel = new QLabel(Q(t::kScale), this);
  scaleLabel->setBuddy(m_scale);
  auto* top = new QGridLayout;
  top->addWidget(scaleLabel, 0, 0);
  top->addWidget(m_scale, 0, 1);
  top->addWidget(m_fitScale, 1, 1);
  top->addWidget(m_overview, 2, 0);
  top->addWidget(m_subSheets, 2, 1);

  auto* margins = new QGroupBox(Q(t::kMargins), this);
  auto* marginGrid = new QGridLayout(margins);
  const std::pair<std::string_view, QSpinBox*> fields[] = {
      {t::kLeft, m_left}, {t::kRight, m_right}, {t::kTop, m_top}, {t::kBottom, m_bottom}};
  int row = 0;
  for (const auto& [text, box] : fields) {
    auto* label = new QLabel(Q(text), margins);
    label->setBuddy(box);
    marginGrid->addWidget(label, row / 2, (row % 2) * 2);
    marginGrid->addWidget(box, row / 2, (row % 2) * 2 + 1);
    ++row;
  }
  auto* orientationRow = new QHBoxLayout;
  orientationRow->addWidget(m_portrait);
  orientationRow->addWidget(m_landscape);

  auto* centreButton = new QPushButton(Q(t::kCentreGraphic), this);
  auto* resetButton = new QPushButton(Q(t::kReset), this);
  connect(centreButton, &QPushButton::clicked, this, [this] {
    draw::PageSetupOptions o = options();
    if (const auto fault = m_centre ? m_centre(o) : std::nullopt) {
      ShowFault(*fault);
      return;
    }
    setOptions(o);
  });
  connect(resetButton, &QPushButton::clicked, this, [this] { setOptions(draw::DefaultPageSetup()); });
  auto* extraButtons = new QHBoxLayout;
  extraButtons->addWidget(centreButton);
  extraButtons->addWidget(resetButton);

  QDialogButtonBox* buttons = AddHelpButton(MakeOkCancelButtons());
  QPushButton* apply = buttons->addButton(Q(draw::kApplyButtonText), QDialogButtonBox::ApplyRole);
  connect(apply, &QPushButton::clicked, this, [this] { StoreShown(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(margins);
  layout->addLayout(orientationRow);
  layout->addWidget(m_centreOnPage);
  layout->addLayout(extraButtons);
  layout->addWidget(buttons);
  setOptions(initial);
}

draw::PageSetupOptions CPageSetupDialog::options() const {
  draw::PageSetupOptions o;
  o.scale = m_scale->currentText().toStdString();
  o.fitScale = m_fitScale->isChecked();
  o.subSheets = m_subSheets->isChecked();
  o.marginLeft = m_left->value(), o.marginRight = m_right->value();
  o.marginTop = m_top->value(), o.marginBottom = m_bottom->value();
  o.landscape = m_landscape->isChecked();
  o.centreOnPage = m_centreOnPage->isChecked();
  return o;
}

void CPageSetupDialog::setOptions(const draw::PageSetupOptions& o) {
  m_scale->setEditText(QString::fromStdString(o.scale));
  m_fitScale->setChecked(o.fitScale);
  (o.subSheets ? m_subSheets : m_overview)->setChecked(true);
  m_left->setValue(o.marginLeft), m_right->setValue(o.marginRight);
  m_top->setValue(o.marginTop), m_bottom->setValue(o.marginBottom);
  (o.landscape ? m_landscape : m_portrait)->setChecked(true);
  m_centreOnPage->setChecked(o.centreOnPage);
}

QWidget* CPageSetupDialog::FieldWidget(draw::PageSetupField field) const {
  switch (field) {
    case draw::PageSetupField::Scale: return m_scale;
    case draw::PageSetupField::MarginLeft: return m_left;
    case draw::PageSetupField::MarginRight: return m_right;
    case draw::PageSetupField::MarginTop: return m_top;
    case draw::PageSetupField::MarginBottom: return m_bottom;
  }
  return m_scale;
}

void CPageSetupDialog::ShowFault(const base::FieldFault<draw::PageSetupField>& fault) {
  app().prompter.Message(fault.message, platform::Icon::Exclamation);
  QWidget* field = FieldWidget(fault.field);
  field->setFocus();
  if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit() != nullptr)
    combo->lineEdit()->selectAll();
}

bool CPageSetupDialog::StoreShown() {
  if (!m_store) return true;
  if (const auto fault = m_store(options())) {
    ShowFault(*fault);
    return false;
  }
  return true;
}

void CPageSetupDialog::accept() {
  if (StoreShown()) CDialogBase::accept();
}

}  // namespace hp::app
