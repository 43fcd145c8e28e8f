// The window of the survey protocol dialog.
#include "app/dialogs/ProtocolDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/PlanDoc.h"
#include "app/QtText.h"

namespace hp::app {
namespace {

template <size_t N>
QComboBox* Choices(QWidget* parent, const std::array<std::string_view, N>& texts) {
  auto* box = new QComboBox(parent);
  for (std::string_view text : texts) box->addItem(Q(text));
  return box;
}

}  // namespace

CProtocolDialog::CProtocolDialog(AppContext& app, const draw::ProtocolOptions& initial, QWidget* parent)
    : CDialogBase(app, parent, Q(draw::protocol_dialog_texts::kTitle)) {
  namespace t = draw::protocol_dialog_texts;
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < m_sections.size(); ++i) {
    m_sections[i] = new QCheckBox(Q(t::kSections[i]), this);
    grid->addWidget(m_sections[i], static_cast<int>(i), 0);
  }
  m_numbering = Choices(this, t::kNumbering);
  m_legInfo = Choices(this, t::kLegInfo);
  m_materialInfo = Choices(this, t::kMaterialInfo);
  m_measuresInfo = Choices(this, t::kMeasuresInfo);
  int row = 0;
  for (const auto& [label, box] :
       {std::pair{t::kNumberingLabel, m_numbering}, std::pair{t::kLegInfoLabel, m_legInfo},
        std::pair{t::kMaterialInfoLabel, m_materialInfo}, std::pair{t::kMeasuresInfoLabel, m_measuresInfo}}) {
    auto* text = new QLabel(Q(label), this);
    text->setBuddy(box);
    grid->addWidget(text, row++, 1);
    grid->addWidget(box, row++, 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  setOptions(initial);
}

draw::ProtocolOptions CProtocolDialog::options() const {
  draw::ProtocolOptions o;
  for (size_t i = 0; i < m_sections.size(); ++i) o.sections[i] = m_sections[i]->isChecked();
  o.numbering = m_numbering->currentIndex();
  o.legInfo = m_legInfo->currentIndex();
  o.materialInfo = m_materialInfo->currentIndex();
  o.measuresInfo = m_measuresInfo->currentIndex();
  return o;
}

void CProtocolDialog::setOptions(const draw::ProtocolOptions& o) {
  for (size_t i = 0; i < m_sections.size(); ++i) m_sections[i]->setChecked(o.sections[i]);
  m_numbering->setCurrentIndex(o.numbering);
  m_legInfo->setCurrentIndex(o.legInfo);
  m_materialInfo->setCurrentIndex(o.materialInfo);
  m_measuresInfo->setCurrentIndex(o.measuresInfo);
}

bool RunProtocolDialog(QWidget* parent, CPlanDoc& doc) {
  CProtocolDialog dialog(doc.app(), draw::ProtocolOptionsOf(doc.worksheet()), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (draw::ApplyProtocolOptions(doc.worksheet(), dialog.options())) {
    doc.setModified();
    doc.UpdateAllViews();
  }
  return true;
}

}  // namespace hp::app
