// A choice among radio buttons with one check box, and the data editor's
// two dialogs of that shape.
#include "app/dialogs/OptionChoiceDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string_view>

#include "app/QtText.h"
#include "edit/DataEditorTexts.h"

namespace hp::app {
namespace {

QStringList Texts(const auto& list) {
  QStringList texts;
  for (const std::string_view t : list) texts << Q(t);
  return texts;
}

}  // namespace

COptionChoiceDialog::COptionChoiceDialog(AppContext& app, QWidget* parent, const QString& caption,
                                         const QStringList& choices, int preset, const QString& checkText, bool checked)
    : CDialogBase(app, parent, caption), m_group(new QButtonGroup(this)), m_check(new QCheckBox(checkText, this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < choices.size(); ++i) {
    auto* radio = new QRadioButton(choices[i], this);
    m_group->addButton(radio, i);
    layout->addWidget(radio);
    if (i == preset) radio->setChecked(true);
  }
  if (m_group->checkedId() < 0 && !choices.isEmpty()) m_group->button(0)->setChecked(true);
  m_check->setChecked(checked);
  layout->addSpacing(6);
  layout->addWidget(m_check);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
}

int COptionChoiceDialog::choice() const { return m_group->checkedId(); }
bool COptionChoiceDialog::checked() const { return m_check->isChecked(); }

bool AskPlacement(AppContext& app, QWidget* parent, edit::EditorSettings& settings) {
  COptionChoiceDialog dialog(app, parent, Q(edit::texts::kNewCaption), Texts(edit::texts::kPlacements),
                             settings.placement, Q(edit::texts::kAutoNew), settings.autoNew);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.placement = dialog.choice();
  settings.autoNew = dialog.checked();
  return true;
}

bool AskSearchDirection(AppContext& app, QWidget* parent, edit::EditorSettings& settings) {
  COptionChoiceDialog dialog(app, parent, Q(edit::texts::kSearchCaption), Texts(edit::texts::kDirections),
                             settings.searchDirection, Q(edit::texts::kAutoSearch), settings.autoSearch);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.searchDirection = dialog.choice();
  settings.autoSearch = dialog.checked();
  return true;
}

}  // namespace hp::app
